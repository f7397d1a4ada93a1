#pragma once

#include "platform/TextCodec.h"

namespace claverix::platform::win32 {

// Conversions through the system's ANSI code page (CP_ACP).
class Win32TextCodec final : public TextCodec {
public:
    std::string AnsiToUtf8(std::string_view ansi) override;
    std::string Utf8ToAnsi(std::string_view utf8) override;
    std::u16string AnsiToUtf16(std::string_view ansi) override;
    std::optional<std::string> Utf16ToAnsiExact(std::u16string_view utf16) override;
    std::string ToUpper(std::string_view ansi) override;
    std::optional<std::array<char, 256>> UpperCaseTable() override;
    std::string SortKey(std::string_view name) override;
    void ToUpper(std::u16string& utf16) override;
};

}  // namespace claverix::platform::win32
