#pragma once

#include <windows.h>

#include <string_view>

namespace claverix::ui {

// The one way the program tells the user something or asks a question: a
// message box with `style` (MB_OK, MB_YESNO, an icon...), brought to the
// foreground over `owner`. Texts are UTF-8. Returns the button pressed.
int ShowMessageBox(HWND owner, std::string_view text, std::string_view title, UINT style);

}  // namespace claverix::ui
