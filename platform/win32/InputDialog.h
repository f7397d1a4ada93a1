#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace claverix::platform::win32 {

// Control ids of the input dialog, for tests that drive it with messages.
inline constexpr int kInputDialogPromptId = 100;
inline constexpr int kInputDialogEntryId = 101;

// A modal dialog with a prompt, a one-line entry holding `initialValue`, and
// OK and Cancel; the entry's text on OK, nullopt on Cancel or Esc.
std::optional<std::wstring> RunInputDialog(HWND owner, const std::wstring& prompt, const std::wstring& title,
                                           const std::wstring& initialValue);

}  // namespace claverix::platform::win32
