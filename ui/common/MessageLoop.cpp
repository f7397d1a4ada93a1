#include "ui/common/MessageLoop.h"

#include <vector>

#include "ui/common/Window.h"

namespace claverix::ui {

namespace {

void Dispatch(MSG& message) {
    Window* window = Window::FromHandle(::GetAncestor(message.hwnd, GA_ROOT));
    if (window != nullptr && window->PreTranslateMessage(message)) {
        return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

// False on WM_QUIT, which is posted again for the loop that owns it.
bool DispatchNext() {
    MSG message;
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
        ::PostQuitMessage(static_cast<int>(message.wParam));
        return false;
    }
    Dispatch(message);
    return true;
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    }
    return TRUE;
}

}  // namespace

void PumpWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that owns it
            return;
        }
        Dispatch(message);
    }
}

int RunMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        Dispatch(message);
    }
    return static_cast<int>(message.wParam);
}

void RunModal(Window& dialog, HWND disabled) {
    if (disabled != nullptr && ::IsWindowEnabled(disabled)) {
        ::EnableWindow(disabled, FALSE);
        dialog.modalDisabled_ = disabled;
    }
    ::ShowWindow(dialog.hwnd(), SW_SHOW);
    ::SetForegroundWindow(dialog.hwnd());
    while (dialog.IsLoaded() && ::IsWindowVisible(dialog.hwnd()) && DispatchNext()) {
    }
    dialog.GiveInputBack();
    if (disabled != nullptr && ::IsWindow(disabled)) {
        ::SetActiveWindow(disabled);
    }
}

bool WaitPumpingMessages(HANDLE object) {
    std::vector<HWND> disabled;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) {
        ::EnableWindow(window, FALSE);
    }
    bool quitting = false;
    int exitCode = 0;
    DWORD result = WAIT_FAILED;
    for (;;) {
        // Once the program is quitting, the wait goes on without messages.
        result = quitting
                     ? ::WaitForSingleObject(object, INFINITE)
                     : ::MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (result != WAIT_OBJECT_0 + 1) {
            break;
        }
        MSG message;
        while (!quitting && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quitting = true;
                exitCode = static_cast<int>(message.wParam);
            } else {
                Dispatch(message);
            }
        }
    }
    for (HWND window : disabled) {
        if (::IsWindow(window)) {
            ::EnableWindow(window, TRUE);
        }
    }
    if (quitting) {
        ::PostQuitMessage(exitCode);
    }
    // A mutex whose owner ended without letting it go is the waiter's.
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0;
}

}  // namespace claverix::ui
