#pragma once

#include "platform/TextCodec.h"

namespace claverix::platform::win32 {

// Conversions through the system's ANSI code page (CP_ACP).
class Win32TextCodec final : public TextCodec {
public:
    std::string AnsiToUtf8(std::string_view ansi) override;
    std::string Utf8ToAnsi(std::string_view utf8) override;
    std::optional<std::string> Utf16ToAnsi(std::string_view utf16le) override;
    std::string ToUpper(std::string_view ansi) override;
    std::optional<std::array<char, 256>> UpperCaseTable() override;
    std::string SortKey(std::string_view ansiName) override;
};

}  // namespace claverix::platform::win32
