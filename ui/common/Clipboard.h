#pragma once

#include <windows.h>

#include <string>

namespace claverix::ui {

// Puts `text` on the clipboard as Unicode text; false when the clipboard is
// held by another program.
bool CopyToClipboard(HWND owner, const std::wstring& text);

}  // namespace claverix::ui
