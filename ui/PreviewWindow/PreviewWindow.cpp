#include "ui/PreviewWindow/PreviewWindow.h"

#include <algorithm>
#include <array>
#include <cwchar>
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
// Between a cell's edges and its text, as the list leaves it.
constexpr double kCellMargin = 75;
constexpr int kKeyColumn = static_cast<int>(app::PreviewColumn::Key);
// One line; DT_NOPREFIX since a key's name may hold "&".
constexpr UINT kPathFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS;

}  // namespace

PreviewWindow::PreviewWindow(std::wstring fileName, std::vector<app::PreviewRow> rows, std::wstring note)
    : fileName_(std::move(fileName)), rows_(std::move(rows)), note_(std::move(note)), order_(rows_.size()) {
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
                            Utf8ToWide(app::PreviewSummary(rows_)) + (note_.empty() ? L"" : L"\r\n" + note_),
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
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
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

std::wstring PreviewWindow::CellShown(int item, int column) const {
    if (item < 0 || static_cast<std::size_t>(item) >= order_.size()) {
        return {};
    }
    const app::PreviewRow& row = rows_[order_[static_cast<std::size_t>(item)]];
    return Utf8ToWide(app::CellText(row, static_cast<app::PreviewColumn>(column)));
}

RECT PreviewWindow::CellRect(int item, int column) const {
    RECT cell{LVIR_LABEL, column, 0, 0};  // what is asked for, in the rectangle's place
    list_.Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    return cell;
}

// Where a cell's text goes: a margin off each side, and off the bottom the
// grid line that the list draws over the cell's last row of pixels.
RECT PreviewWindow::TextRoom(RECT cell) const {
    int margin = TwipsToPixels(kCellMargin, Dpi());
    return {cell.left + margin, cell.top, cell.right - margin, cell.bottom - 1};
}

bool PreviewWindow::IsCutShort(int item, int column, const std::wstring& text) const {
    RECT room = TextRoom(CellRect(item, column));
    auto needed =
        static_cast<int>(list_.Send(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
    return needed > room.right - room.left;
}

// The tip under the mouse: a cell's whole text when it is cut short, none otherwise.
void PreviewWindow::GiveWholeCell(NMLVGETINFOTIPW& tip) const {
    if (tip.pszText == nullptr || tip.cchTextMax <= 0) {
        return;
    }
    std::wstring text = CellShown(tip.iItem, tip.iSubItem);
    if (!IsCutShort(tip.iItem, tip.iSubItem, text)) {
        text.clear();
    }
    ::lstrcpynW(tip.pszText, text.c_str(), tip.cchTextMax);
}

// The list draws every cell but the key's, which it would cut at its end.
// It asks only for the rows in view.
LRESULT PreviewWindow::OnCustomDraw(const NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (draw.iSubItem == kKeyColumn) {
                DrawKeyCell(draw);
                return CDRF_SKIPDEFAULT;
            }
            break;
    }
    return CDRF_DODEFAULT;
}

// In the colours the list gives its other cells: a selected row keeps its
// highlight, greyed while the list has not the focus.
void PreviewWindow::DrawKeyCell(const NMLVCUSTOMDRAW& draw) const {
    auto item = static_cast<int>(draw.nmcd.dwItemSpec);
    RECT cell = CellRect(item, kKeyColumn);
    bool selected = list_.Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) != 0;
    bool focused = ::GetFocus() == list_.hwnd();
    int background = !selected ? COLOR_WINDOW : focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    int foreground = !selected ? COLOR_WINDOWTEXT : focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    HDC context = draw.nmcd.hdc;
    int saved = ::SaveDC(context);
    ::FillRect(context, &cell, ::GetSysColorBrush(background));
    ::SetBkMode(context, TRANSPARENT);
    ::SetTextColor(context, ::GetSysColor(foreground));
    DrawPath(context, CellShown(item, kKeyColumn), TextRoom(cell));
    ::RestoreDC(context, saved);
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
    double summaryHeight = note_.empty() ? kSummaryHeight : 2 * kSummaryHeight;
    summary_.rect = {kMargin, kMargin, client.width - 2 * kMargin, summaryHeight};
    double listTop = kMargin + summaryHeight + kMargin;
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
            if ((item.mask & LVIF_TEXT) != 0) {
                shownCell_ = CellShown(item.iItem, item.iSubItem);
                item.pszText = shownCell_.data();
            }
            return 0;
        }
        case LVN_GETINFOTIPW:
            GiveWholeCell(reinterpret_cast<NMLVGETINFOTIPW&>(header));
            return 0;
        case NM_CUSTOMDRAW:
            return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
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

std::wstring DrawPath(HDC context, const std::wstring& path, RECT room) {
    // DT_MODIFYSTRING writes the text drawn over its copy, which needs room
    // for an ellipsis longer than what it replaces.
    std::wstring drawn = path + std::wstring(4, L'\0');
    ::DrawTextW(context, drawn.data(), static_cast<int>(path.size()), &room, kPathFormat | DT_MODIFYSTRING);
    drawn.resize(std::wcslen(drawn.c_str()));
    return drawn;
}

}  // namespace claverix::ui
