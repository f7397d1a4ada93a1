#pragma once

#include <windows.h>

namespace claverix::ui {

class Window;

// Every loop of the program hands its messages over the same way: a window
// of the program sees its controls' keys first (Window::PreTranslateMessage).

// Runs the thread's messages until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Handles every message waiting in the thread's queue, and returns.
void PumpWaitingMessages();

// Shows `dialog` and runs the messages until it is closed or hidden, while
// `disabled` (a window, or null) takes no input.
void RunModal(Window& dialog, HWND disabled);

// Waits for `object` to be signalled while the thread's windows keep
// painting and answering; they take no input meanwhile, as under a modal
// window. False when the wait failed. A mutex is owned once it returns true.
bool WaitPumpingMessages(HANDLE object);

}  // namespace claverix::ui
