#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace claverix::platform {

// Conversions between the system's ANSI code page, in which files and the
// registry are read, and the encodings of the user interface.
class TextCodec {
public:
    virtual ~TextCodec() = default;

    virtual std::string AnsiToUtf8(std::string_view ansi) = 0;

    // For the program's own texts: a character without an ANSI form becomes
    // the code page's default character.
    virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;

    // UTF-16 little-endian bytes (no byte-order mark) to ANSI; nullopt when a
    // character has no form in the ANSI code page.
    virtual std::optional<std::string> Utf16ToAnsi(std::string_view utf16le) = 0;
};

}  // namespace claverix::platform
