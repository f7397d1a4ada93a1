#include "platform/win32/Win32TextCodec.h"

#include <windows.h>

#include <climits>
#include <cstring>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
    return WideToUtf8(ToWide(ansi, CP_ACP));
}

std::optional<std::string> Win32TextCodec::Utf16ToAnsi(std::string_view utf16le) {
    std::wstring wide(utf16le.size() / 2, L'\0');
    std::memcpy(wide.data(), utf16le.data(), wide.size() * sizeof(wchar_t));
    if (wide.empty()) {
        return std::string{};
    }
    if (wide.size() > INT_MAX) {
        return std::nullopt;
    }
    // No best-fit: a character without an exact form must be seen, not guessed.
    BOOL usedDefault = FALSE;
    int count = static_cast<int>(wide.size());
    int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), count, nullptr, 0, nullptr,
                                       &usedDefault);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), count, ansi.data(), length, nullptr,
                          &usedDefault);
    if (usedDefault || length == 0) {
        return std::nullopt;
    }
    return ansi;
}

}  // namespace claverix::platform::win32
