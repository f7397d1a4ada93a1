#include "ui/common/FileTextBoxes.h"

#include "platform/win32/Text.h"

namespace claverix::ui {

using platform::win32::AnsiToWide;
using platform::win32::Utf8ToWide;
using platform::win32::WideToAnsiExact;
using platform::win32::WideToUtf8;

std::wstring ShownText(const std::string& text, engine::TextEncoding encoding) {
    return encoding == engine::TextEncoding::Utf16 ? Utf8ToWide(text) : AnsiToWide(text);
}

std::optional<std::string> StoredText(const std::wstring& shown, engine::TextEncoding encoding) {
    if (encoding == engine::TextEncoding::Utf16) {
        return WideToUtf8(shown);
    }
    return WideToAnsiExact(shown);
}

bool ShowsFaithfully(const std::string& text, const std::wstring& shown, engine::TextEncoding encoding) {
    return text.find('\0') == std::string::npos && StoredText(shown, encoding) == text;
}

}  // namespace claverix::ui
