#include "ui/MainWindow/FileList.h"

#include <windowsx.h>

#include <algorithm>

#include "app/Archive.h"
#include "platform/win32/Text.h"
#include "ui/common/Window.h"

namespace claverix::ui {

void FileList::Create(Window& parent, int id, const TwipsRect& placement) {
    Control::Create(
        parent, {WC_LISTBOXW, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP | WS_VISIBLE,
                 WS_EX_CLIENTEDGE, id, placement});
}

void FileList::SetDirectory(std::string directory) {
    directory_ = std::move(directory);
    names_ = app::ListRegFiles(platform_, directory_).value_or(std::vector<std::string>{});
    Send(WM_SETREDRAW, FALSE);
    Send(LB_RESETCONTENT);
    Send(LB_INITSTORAGE, names_.size(), static_cast<LPARAM>(names_.size() * 32 * sizeof(wchar_t)));
    for (const std::string& name : names_) {
        Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(platform::win32::Utf8ToWide(name).c_str()));
    }
    Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// The list tells of a double click anywhere in it, below its last entry too.
// The message's position says where it was; a filter on the list's messages
// would know it too, but would slow every message the list gets.
bool FileList::DoubleClickedAnEntry() const {
    DWORD position = ::GetMessagePos();
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ::ScreenToClient(hwnd(), &point);
    // The nearest entry, which the point may be below.
    auto nearest = static_cast<WPARAM>(LOWORD(Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y))));
    RECT entry{};
    return Send(LB_GETITEMRECT, nearest, reinterpret_cast<LPARAM>(&entry)) != LB_ERR &&
           ::PtInRect(&entry, point);
}

void FileList::Refresh() {
    int selected = SelectedIndex();
    std::string selectedName = selected >= 0 ? names_[static_cast<std::size_t>(selected)] : std::string{};
    SetDirectory(directory_);
    Select(selected >= 0 ? IndexOf(selectedName) : -1);
}

int FileList::SelectedIndex() const {
    auto index = static_cast<int>(Send(LB_GETCURSEL));
    return index >= 0 && index < Count() ? index : -1;
}

void FileList::Select(int index) {
    Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

int FileList::IndexAt(POINT screen) const {
    ::ScreenToClient(hwnd(), &screen);
    LRESULT hit = Send(LB_ITEMFROMPOINT, 0, MAKELPARAM(screen.x, screen.y));
    // The high word is 1 for a point outside the entries; the low word then names the nearest.
    return HIWORD(hit) == 0 && LOWORD(hit) < Count() ? LOWORD(hit) : -1;
}

void FileList::Click(int index) {
    Focus();
    Select(index);
    ::SendMessageW(::GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(id(), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(hwnd()));
}

POINT FileList::BelowEntry(int index) const {
    RECT entry{};
    Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&entry));
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    POINT corner{entry.left, std::clamp(entry.bottom, client.top, client.bottom)};
    ::ClientToScreen(hwnd(), &corner);
    return corner;
}

int FileList::IndexOf(const std::string& name) const {
    auto found = std::find(names_.begin(), names_.end(), name);
    return found == names_.end() ? -1 : static_cast<int>(found - names_.begin());
}

}  // namespace claverix::ui
