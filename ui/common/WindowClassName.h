#pragma once

namespace claverix::ui {

// The class every window of the program is made of; tests and tools find the
// program's windows by it.
inline constexpr wchar_t kWindowClassName[] = L"ClaverixWindow";

}  // namespace claverix::ui
