#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace claverix::platform::win32 {

std::wstring ToWide(std::string_view text, UINT codePage);
std::string FromWide(std::wstring_view text, UINT codePage);

inline std::wstring Utf8ToWide(std::string_view utf8) {
    return ToWide(utf8, CP_UTF8);
}
inline std::string WideToUtf8(std::wstring_view wide) {
    return FromWide(wide, CP_UTF8);
}

// Text of the files and the registry, in the system's ANSI code page.
inline std::wstring AnsiToWide(std::string_view ansi) {
    return ToWide(ansi, CP_ACP);
}
// Nullopt when a character has no exact form in the ANSI code page: one
// the code page lacks, or one that would not come back the same.
std::optional<std::string> WideToAnsiExact(std::wstring_view wide);

// The system's description of a Win32 error code, in UTF-8, without the line
// break that ends it.
std::string ErrorDescription(DWORD code);

}  // namespace claverix::platform::win32
