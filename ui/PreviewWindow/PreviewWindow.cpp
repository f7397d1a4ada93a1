#include "ui/PreviewWindow/PreviewWindow.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "platform/win32/Text.h"
#include "ui/common/Clipboard.h"

namespace claverix::ui {

using platform::win32::Utf8ToWide;

namespace {

constexpr int kColumnCount = static_cast<int>(app::PreviewColumn::Count);
// Each column's width, in twips.
constexpr std::array<double, kColumnCount> kColumnWidths{3600, 1500, 1300, 2100, 2100, 1500};
constexpr double kMargin = 120;
constexpr double kButtonWidth = 1095;
constexpr double kButtonHeight = 375;
constexpr double kSummaryHeight = 255;

}  // namespace

PreviewWindow::PreviewWindow(std::wstring fileName, std::vector<app::PreviewRow> rows)
    : fileName_(std::move(fileName)), rows_(std::move(rows)), order_(rows_.size()) {
    std::iota(order_.begin(), order_.end(), std::size_t{0});
}

bool PreviewWindow::Load(HWND owner) {
    WindowSetup setup;
    setup.caption = L"Aperçu de la fusion de " + fileName_;
    setup.style = WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX;
    setup.owner = owner;
    setup.clientWidth = 12600;
    setup.clientHeight = 6000;
    if (!Create(setup)) {
        return false;
    }
    CreateControls();
    CentreOnScreen();
    list_.Focus();
    return true;
}

void PreviewWindow::CreateControls() {
    summary_.Create(*this, {WC_STATICW,
                            Utf8ToWide(app::PreviewSummary(rows_)),
                            WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                            0,
                            IDC_PREVIEW_SUMMARY,
                            {}});
    list_.Create(*this, {WC_LISTVIEWW,
                         L"",
                         WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
                         WS_EX_CLIENTEDGE,
                         IDC_PREVIEW_LIST,
                         {}});
    list_.Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    AddColumns();
    list_.Send(LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL);
    closeButton_.Create(*this,
                        {WC_BUTTONW, L"Fermer", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL, {}});
    OnSize(SIZE_RESTORED);
}

void PreviewWindow::AddColumns() {
    for (int column = 0; column < kColumnCount; ++column) {
        std::wstring heading = Utf8ToWide(app::ColumnHeading(static_cast<app::PreviewColumn>(column)));
        LVCOLUMNW entry{};
        entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        entry.pszText = heading.data();
        entry.cx = TwipsToPixels(kColumnWidths[static_cast<std::size_t>(column)], Dpi());
        entry.iSubItem = column;
        list_.Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&entry));
    }
}

void PreviewWindow::SortOn(int column) {
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    order_ = app::SortedOrder(rows_, std::move(order_), static_cast<app::PreviewColumn>(column), ascending_);
    HWND header = reinterpret_cast<HWND>(list_.Send(LVM_GETHEADER));
    for (int i = 0; i < kColumnCount; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (i == column) {
            item.fmt |= ascending_ ? HDF_SORTUP : HDF_SORTDOWN;
        }
        ::SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    ::InvalidateRect(list_.hwnd(), nullptr, FALSE);
}

void PreviewWindow::CopySelection() {
    std::vector<std::size_t> selected;
    for (auto item = static_cast<int>(list_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
         item >= 0;
         item = static_cast<int>(list_.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED))) {
        selected.push_back(order_[static_cast<std::size_t>(item)]);
    }
    if (!selected.empty()) {
        CopyToClipboard(hwnd(), Utf8ToWide(app::RowsAsText(rows_, selected)));
    }
}

void PreviewWindow::OnCommand(int id, int) {
    switch (id) {
        case IDCANCEL:
            Close();
            break;
        case IDM_PREVIEW_COPY:
            CopySelection();
            break;
    }
}

void PreviewWindow::OnSize(UINT kind) {
    if (kind == SIZE_MINIMIZED) {
        return;
    }
    TwipsRect client = ClientRect();
    double bottom = client.height - kMargin;
    summary_.rect = {kMargin, kMargin, client.width - 2 * kMargin, kSummaryHeight};
    double listTop = kMargin + kSummaryHeight + kMargin;
    list_.rect = {kMargin, listTop, client.width - 2 * kMargin, bottom - kButtonHeight - kMargin - listTop};
    closeButton_.rect = {client.width - kMargin - kButtonWidth, bottom - kButtonHeight, kButtonWidth,
                         kButtonHeight};
    PlaceControls();
}

std::optional<LRESULT> PreviewWindow::OnNotify(NMHDR& header) {
    if (header.idFrom != IDC_PREVIEW_LIST) {
        return std::nullopt;
    }
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 &&
                static_cast<std::size_t>(item.iItem) < order_.size()) {
                const app::PreviewRow& row = rows_[order_[static_cast<std::size_t>(item.iItem)]];
                shownCell_ = Utf8ToWide(app::CellText(row, static_cast<app::PreviewColumn>(item.iSubItem)));
                item.pszText = shownCell_.data();
            }
            return 0;
        }
        case LVN_COLUMNCLICK:
            SortOn(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
            return 0;
    }
    return std::nullopt;
}

void PreviewWindow::OnContextMenu(HWND control, std::optional<POINT> screen) {
    if (control != list_.hwnd()) {
        return;
    }
    POINT at = screen.value_or(POINT{});
    if (!screen) {
        RECT rect{};
        ::GetWindowRect(list_.hwnd(), &rect);
        at = {rect.left, rect.top};
    }
    HMENU menu = ::CreatePopupMenu();
    ::AppendMenuW(menu, MF_STRING, IDM_PREVIEW_COPY, L"&Copier\tCtrl+C");
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    ::DestroyMenu(menu);
}

KeyHandling PreviewWindow::OnControlKey(KeyEvent event, WPARAM key) {
    bool control = ::GetKeyState(VK_CONTROL) < 0;
    if (event != KeyEvent::Down || !control || (key != 'C' && key != 'A')) {
        return KeyHandling::AsInADialog;
    }
    if (key == 'C') {
        CopySelection();
    } else {
        LVITEMW every{};
        every.stateMask = LVIS_SELECTED;
        every.state = LVIS_SELECTED;
        list_.Send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&every));
    }
    return KeyHandling::Handled;
}

void PreviewWindow::OnDpiChanged() {
    for (int column = 0; column < kColumnCount; ++column) {
        list_.Send(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                   TwipsToPixels(kColumnWidths[static_cast<std::size_t>(column)], Dpi()));
    }
}

}  // namespace claverix::ui
