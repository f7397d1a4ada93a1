#include "ui/PreviewWindow/PreviewWindow.h"

#include <gtest/gtest.h>

#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "ui/common/WindowClassName.h"

namespace claverix::ui {
namespace {

std::wstring Cell(HWND list, int item, int column) {
    wchar_t text[256] = {};
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = text;
    cell.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return text;
}

std::wstring Clipboard() {
    std::wstring text;
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    return text;
}

// The tip over a cell, asked of the window as the list asks it, the buffer
// holding the list's own text.
std::wstring InfoTip(HWND window, app::PreviewColumn column) {
    wchar_t text[INFOTIPSIZE] = L"HKEY_CURRENT_USER\\Soft...";
    NMLVGETINFOTIPW tip{};
    tip.hdr = {::GetDlgItem(window, IDC_PREVIEW_LIST), IDC_PREVIEW_LIST, LVN_GETINFOTIPW};
    tip.pszText = text;
    tip.cchTextMax = INFOTIPSIZE;
    tip.iSubItem = static_cast<int>(column);
    ::SendMessageW(window, WM_NOTIFY, IDC_PREVIEW_LIST, reinterpret_cast<LPARAM>(&tip));
    return text;
}

TEST(PreviewWindowAtEveryDpiTest, ALongKeyKeepsItsLastComponentInViewAndShowsWholeInItsTip) {
    const std::wstring key =
        L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\Advanced";
    std::wstring keyTip;
    std::wstring typeTip;
    std::wstring drawn;
    tests::UserThread user(
        L"Aperçu de la fusion de a.reg",
        [&](HWND window) {
            keyTip = InfoTip(window, app::PreviewColumn::Key);
            typeTip = InfoTip(window, app::PreviewColumn::Type);
            HWND list = ::GetDlgItem(window, IDC_PREVIEW_LIST);
            RECT cell{LVIR_LABEL, static_cast<int>(app::PreviewColumn::Key), 0, 0};
            ::SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
            HDC context = ::CreateCompatibleDC(nullptr);
            ::SelectObject(context, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
            drawn = DrawPath(context, key, cell);
            ::DeleteDC(context);
            tests::PostClick(window, IDCANCEL);
        },
        kWindowClassName);
    PreviewWindow preview(L"a.reg", {{platform::win32::WideToUtf8(key), "HideFileExt", "REG_DWORD", "",
                                      "0x00000000 (0)", app::Change::Added, ""}});
    EXPECT_TRUE(preview.ShowModal(nullptr));
    ASSERT_TRUE(user.Found());
    EXPECT_EQ(keyTip, key);
    EXPECT_EQ(typeTip, L"") << "a cell shown whole has no tip";
    EXPECT_TRUE(drawn.starts_with(L"HKEY_CURRENT_USER\\") && drawn.ends_with(L"...\\Advanced"))
        << platform::win32::WideToUtf8(drawn);
}

TEST(PreviewWindowAtEveryDpiTest, ShowsEveryRowAtOnceSortsOnAHeadingAndCopiesTheSelection) {
    std::vector<app::PreviewRow> rows;
    for (int i = 0; i < 100000; ++i) {
        rows.push_back({"HKEY_CURRENT_USER\\Cl\u00E9" + std::to_string(i), "v", "REG_DWORD", "",
                        std::to_string(i), i % 2 == 0 ? app::Change::Added : app::Change::Unchanged, ""});
    }
    int count = 0;
    std::wstring firstKey;
    std::wstring sortedKey;
    std::vector<std::string> cut{"not measured"};
    bool copied = false;
    tests::UserThread user(
        L"Aperçu de la fusion de a.reg",
        [&](HWND window) {
            HWND list = ::GetDlgItem(window, IDC_PREVIEW_LIST);
            count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
            firstKey = Cell(list, 0, 0);
            cut = tests::TextsCutShort(window);
            // Two clicks on the "Clé" heading: sorted on it, then the other way.
            NMLISTVIEW click{};
            click.hdr = {list, IDC_PREVIEW_LIST, LVN_COLUMNCLICK};
            click.iSubItem = static_cast<int>(app::PreviewColumn::Key);
            ::SendMessageW(window, WM_NOTIFY, IDC_PREVIEW_LIST, reinterpret_cast<LPARAM>(&click));
            ::SendMessageW(window, WM_NOTIFY, IDC_PREVIEW_LIST, reinterpret_cast<LPARAM>(&click));
            sortedKey = Cell(list, 0, 0);
            LVITEMW selected{};
            selected.stateMask = LVIS_SELECTED;
            selected.state = LVIS_SELECTED;
            ::SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
            ::SendMessageW(window, WM_COMMAND, IDM_PREVIEW_COPY, 0);
            copied = true;
            tests::PostClick(window, IDCANCEL);
        },
        kWindowClassName);
    PreviewWindow preview(L"a.reg", std::move(rows));
    EXPECT_TRUE(preview.ShowModal(nullptr));
    ASSERT_TRUE(user.Found());
    EXPECT_EQ(count, 100000);
    EXPECT_EQ(firstKey, L"HKEY_CURRENT_USER\\Clé0");
    EXPECT_EQ(cut, std::vector<std::string>{});
    EXPECT_EQ(sortedKey, L"HKEY_CURRENT_USER\\Clé99999") << "a second click sorts the other way";
    ASSERT_TRUE(copied);
    EXPECT_EQ(Clipboard(),
              L"Clé\tValeur\tType\tActuellement\tAprès la fusion\tChangement\r\n"
              L"HKEY_CURRENT_USER\\Clé99999\tv\tREG_DWORD\t\t99999\tInchangée\r\n");
}

}  // namespace
}  // namespace claverix::ui
