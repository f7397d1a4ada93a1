#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace claverix::bench {

// The bare programs beside the benchmark, without and with the program's
// manifest and common controls, and their window's title and class.
inline constexpr char kBareWindowProgram[] = "claverix_bare_window.exe";
inline constexpr char kThemedBareWindowProgram[] = "claverix_themed_bare_window.exe";
inline constexpr wchar_t kBareWindowTitle[] = L"Bare";
inline constexpr wchar_t kBareWindowClass[] = L"BareWindow";

// Milliseconds from the creation of the process of `executable`, started in
// its own directory, until its window with this title and class is shown and
// answers a message; then closes that window and waits for the program's
// end. Throws std::runtime_error when it cannot.
double StartUntilAnswering(const std::string& executable, const wchar_t* title, const wchar_t* windowClass);

// Milliseconds from the call until the window titled `title` that `show`
// opens modal is shown and answers a message; a helper thread closes it then.
// Throws std::runtime_error when the window does not show.
double ShowUntilAnswering(const std::function<void()>& show, const wchar_t* title);

}  // namespace claverix::bench
