#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace claverix::platform {

// Conversions through the system's ANSI code page, in which ANSI files are
// written, and the system's upper case.
class TextCodec {
public:
    virtual ~TextCodec() = default;

    virtual std::string AnsiToUtf8(std::string_view ansi) = 0;

    // For the program's own texts: a character without an ANSI form becomes
    // the code page's default character.
    virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;

    // ANSI text as the importer decodes it, every byte included.
    virtual std::u16string AnsiToUtf16(std::string_view ansi) = 0;

    // UTF-16 text in the ANSI code page; nullopt unless decoding the result
    // gives back exactly the same text.
    virtual std::optional<std::string> Utf16ToAnsiExact(std::u16string_view utf16) = 0;

    // ANSI text in upper case as the system's locale converts letters; as
    // many bytes as `ansi`, line breaks where they were.
    virtual std::string ToUpper(std::string_view ansi) = 0;

    // The upper case of every byte, as ToUpper converts it, where the code
    // page has one byte a character; nullopt where a character may take two.
    virtual std::optional<std::array<char, 256>> UpperCaseTable() = 0;

    // The bytes by which file names (UTF-8) sort as the system's file views
    // list them: the locale's order, ignoring case, digits compared as
    // numbers ("a2" before "a10").
    virtual std::string SortKey(std::string_view name) = 0;
    // UTF-16 text in upper case, in place, one unit for one unit.
    virtual void ToUpper(std::u16string& utf16) = 0;
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

}  // namespace claverix::platform
