#pragma once

#include <array>
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

    // ANSI text in upper case as the system's locale converts letters; as
    // many bytes as `ansi`, line breaks where they were.
    virtual std::string ToUpper(std::string_view ansi) = 0;

    // The upper case of every byte, as ToUpper converts it, where the code
    // page has one byte a character; nullopt where a character may take two.
    virtual std::optional<std::array<char, 256>> UpperCaseTable() = 0;

    // The bytes by which file names sort as the system's file views list
    // them: the locale's order, ignoring case, digits compared as numbers
    // ("a2" before "a10").
    virtual std::string SortKey(std::string_view ansiName) = 0;
};

// A table for UpperCaseTable that leaves every byte as it is.
inline std::array<char, 256> IdentityByteTable() {
    std::array<char, 256> table;
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<char>(i);
    }
    return table;
}

// `text` with every byte converted through `table`.
inline std::string ConvertedBytes(std::string_view text, const std::array<char, 256>& table) {
    std::string converted(text);
    for (char& c : converted) {
        c = table[static_cast<unsigned char>(c)];
    }
    return converted;
}

// A text file's bytes as ANSI text: as they are, or decoded when they start
// with the UTF-16 little-endian byte-order mark, as today's registry editor
// writes files (an odd last byte is dropped). Nullopt when a character has
// no form in the ANSI code page.
inline std::optional<std::string> FileTextAsAnsi(TextCodec& codec, std::string bytes) {
    constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";
    if (!std::string_view(bytes).starts_with(kUtf16ByteOrderMark)) {
        return bytes;
    }
    std::string_view utf16 = std::string_view(bytes).substr(kUtf16ByteOrderMark.size());
    return codec.Utf16ToAnsi(utf16.substr(0, utf16.size() & ~std::size_t{1}));
}

}  // namespace claverix::platform
