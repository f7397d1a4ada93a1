#include "tests/e2e/support/RegFileText.h"

#include <windows.h>

#include <climits>

namespace claverix::e2e {

std::string SignedHead(std::string_view signature) {
    return "REGEDIT4\r\n# Sign:" + std::string(signature) + "\r\n\r\n";
}

std::string QuotedText(std::string_view ansiText) {
    std::string out = "\"";
    for (char c : ansiText) {
        switch (c) {
            case '\\':
            case '"':
                out += '\\';
                out += c;
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string WrittenName(std::string_view ansiName) {
    return ansiName.empty() ? "@" : QuotedText(ansiName);
}

std::string HexList(std::string_view bytes, std::size_t perLine, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) {
            out += ',';
            if (perLine != 0 && i % perLine == 0) {
                out += "\\\r\n  ";
            }
        }
        auto byte = static_cast<unsigned char>(bytes[i]);
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    return out;
}

std::optional<std::string> ToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return std::string{};
    }
    if (text.size() > INT_MAX) {
        return std::nullopt;
    }
    auto count = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), count, nullptr, 0, nullptr,
                                       &usedDefault);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), count, ansi.data(), length, nullptr,
                          &usedDefault);
    // Some code pages map a few characters one way only: the text must come back as it was.
    std::wstring back(text.size(), L'\0');
    int backLength = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, back.data(), count);
    if (usedDefault || length == 0 || back.substr(0, static_cast<std::size_t>(backLength)) != text) {
        return std::nullopt;
    }
    return ansi;
}

}  // namespace claverix::e2e
