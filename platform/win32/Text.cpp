#include "platform/win32/Text.h"

#include <climits>

namespace claverix::platform::win32 {

std::wstring ToWide(std::string_view text, UINT codePage) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

std::string FromWide(std::wstring_view text, UINT codePage) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length,
                          nullptr, nullptr);
    return narrow;
}

std::optional<std::string> WideToAnsiExact(std::wstring_view wide) {
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
    // Some code pages map a few characters one way only: the text must come back as it was.
    if (usedDefault || length == 0 || AnsiToWide(ansi) != wide) {
        return std::nullopt;
    }
    return ansi;
}

std::string ErrorDescription(DWORD code) {
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring description(buffer != nullptr ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!description.empty() && (description.back() == L'\r' || description.back() == L'\n')) {
        description.pop_back();
    }
    if (description.empty()) {
        return std::to_string(code);
    }
    return WideToUtf8(description);
}

}  // namespace claverix::platform::win32
