#pragma once

#include <windows.h>

namespace claverix::ui {

// Tells the user about an error nothing expected (`what` is UTF-8) at the
// edge of a window procedure, where it must stop.
void ReportUnexpected(HWND window, const char* what);

}  // namespace claverix::ui
