#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace claverix::tests {

// The messages a user's actions give a control, sent from the test's thread,
// which owns the windows: each returns once the window has acted on them.
void Click(HWND control);
void ClickListItem(HWND list, int index);
void DoubleClickListItem(HWND list, int index);
// Ends with the shortcut menu that the list asks its window for: a menu the
// window shows is modal, so somebody must be there to close it.
void RightClickListItem(HWND list, int index);
void DoubleClick(HWND control);
// Replaces the box's text as typing would: the box knows it was modified.
void TypeText(HWND edit, std::wstring_view text);
// Moves the keyboard focus as Tab or a click would.
void FocusOn(HWND control);

std::wstring TextOf(HWND window);
int SelectedIndex(HWND list);
bool IsChecked(HWND box);
// A key pressed while `control` has the focus.
void PressKey(HWND control, WPARAM key);

// The visible top-level window of process `processId` with this title (and,
// when given, this class), once it shows, looked for every `pollMilliseconds`;
// null after ten seconds.
HWND WaitForWindow(DWORD processId, std::wstring_view title, const wchar_t* className = nullptr,
                   DWORD pollMilliseconds = 10);

// Acts as the user on a window of this process that a modal loop of the
// test's thread will show: waits until a visible top-level window with this
// title (and, when given, this class) appears, then runs `act` on it from
// this helper thread, unless it never shows.
class UserThread {
public:
    UserThread(std::wstring title, std::function<void(HWND)> act, const wchar_t* className = nullptr);
    ~UserThread();
    UserThread(const UserThread&) = delete;
    UserThread& operator=(const UserThread&) = delete;

    // Waits for the helper thread; true when it found the window.
    bool Found();

private:
    bool found_ = false;
    std::thread thread_;
};

// Clicks a button of another thread's window: posted, since that thread may
// be the one waiting for this click.
void PostClick(HWND window, int buttonId);

// Moves the focus to a button of another thread's window, as Tab would, and
// presses Enter there.
void PostEnterOn(HWND window, int buttonId);

}  // namespace claverix::tests
