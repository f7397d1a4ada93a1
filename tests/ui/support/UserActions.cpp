#include "tests/ui/support/UserActions.h"

#include <commctrl.h>

#include "ui/common/MessageLoop.h"

namespace claverix::tests {

namespace {

LPARAM CentreOf(const RECT& rect) {
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

RECT ItemRect(HWND list, int index) {
    ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item;
}

struct WindowQuery {
    std::wstring_view title;
    const wchar_t* className;
    DWORD processId;
    HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM query) {
    auto* wanted = reinterpret_cast<WindowQuery*>(query);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    wchar_t title[256] = {};
    wchar_t className[64] = {};
    // Read without a message: GetWindowText would wait for the window's thread,
    // which may be the test's, waiting for this helper.
    ::InternalGetWindowText(window, title, 256);
    ::GetClassNameW(window, className, 64);
    if (processId == wanted->processId && ::IsWindowVisible(window) && wanted->title == title &&
        (wanted->className == nullptr || ::lstrcmpW(wanted->className, className) == 0)) {
        wanted->found = window;
        return FALSE;
    }
    return TRUE;
}

// The second press of a double click, as the mouse gives it: posted with the
// pointer at `point`, which is then the message's position, and carried out.
void SecondPressAt(HWND control, LPARAM point) {
    POINT screen{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    ::ClientToScreen(control, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    ::PostMessageW(control, WM_LBUTTONUP, 0, point);
    ui::PumpWaitingMessages();
}

}  // namespace

void Click(HWND control) {
    ::SendMessageW(control, BM_CLICK, 0, 0);
}

void ClickListItem(HWND list, int index) {
    LPARAM point = CentreOf(ItemRect(list, index));
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(list, WM_LBUTTONUP, 0, point);
}

void DoubleClickListItem(HWND list, int index) {
    ClickListItem(list, index);
    SecondPressAt(list, CentreOf(ItemRect(list, index)));
}

void RightClickListItem(HWND list, int index) {
    LPARAM point = CentreOf(ItemRect(list, index));
    ::SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
    ::SendMessageW(list, WM_RBUTTONUP, 0, point);
}

void DoubleClick(HWND control) {
    RECT client{};
    ::GetClientRect(control, &client);
    LPARAM point = CentreOf(client);
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(control, WM_LBUTTONUP, 0, point);
    SecondPressAt(control, point);
}

void TypeText(HWND edit, std::wstring_view text) {
    ::SetFocus(edit);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    std::wstring replacement(text);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(replacement.c_str()));
}

void FocusOn(HWND control) {
    ::SetFocus(control);
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

int SelectedIndex(HWND list) {
    return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
}

bool IsChecked(HWND box) {
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PressKey(HWND control, WPARAM key) {
    ::PostMessageW(control, WM_KEYDOWN, key, 1);
    ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
    ui::PumpWaitingMessages();
}

HWND WaitForWindow(DWORD processId, std::wstring_view title, const wchar_t* className,
                   DWORD pollMilliseconds) {
    constexpr DWORD kPatience = 10000;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < kPatience; ::Sleep(pollMilliseconds)) {
        WindowQuery query{title, className, processId};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
        if (query.found != nullptr) {
            return query.found;
        }
    }
    return nullptr;
}

UserThread::UserThread(std::wstring title, std::function<void(HWND)> act, const wchar_t* className)
    : thread_([this, title = std::move(title), act = std::move(act), className] {
          if (HWND window = WaitForWindow(::GetCurrentProcessId(), title, className)) {
              found_ = true;
              act(window);
          }
      }) {}

UserThread::~UserThread() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

bool UserThread::Found() {
    if (thread_.joinable()) {
        thread_.join();
    }
    return found_;
}

void PostEnterOn(HWND window, int buttonId) {
    HWND button = ::GetDlgItem(window, buttonId);
    ::SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);
    ::PostMessageW(button, WM_KEYDOWN, VK_RETURN, 0);
}

void PostClick(HWND window, int buttonId) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, buttonId)));
}

}  // namespace claverix::tests
