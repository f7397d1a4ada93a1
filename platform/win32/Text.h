#pragma once

#include <windows.h>

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

// The system's description of a Win32 error code, in UTF-8, without the line
// break that ends it.
std::string ErrorDescription(DWORD code);

}  // namespace claverix::platform::win32
