#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace claverix::e2e {

// A registry file to merge: its name and its bytes.
struct RegFile {
    std::string name;
    std::string text;
};

// Pieces of REGEDIT4 text, in ANSI bytes, written the way the importer reads
// them; the test writes its files itself rather than with the program's code,
// so that a mistake there cannot hide the same mistake in the program.

// The header line, the signature that spares the question, and an empty line.
std::string SignedHead(std::string_view signature);

// Between double quotes, with backslashes and quotes escaped and CR and LF
// written as \r and \n.
std::string QuotedText(std::string_view ansiText);

// A value's name in a value line: "@" for the default value, quoted otherwise.
std::string WrittenName(std::string_view ansiName);

// Comma-separated hex bytes; with a non-zero `perLine`, a backslash continues
// the list on a new, indented line after every `perLine` bytes.
std::string HexList(std::string_view bytes, std::size_t perLine, bool upperCase);

// `text` in the system's ANSI code page; nullopt when a character has no
// exact form there.
std::optional<std::string> ToAnsi(std::wstring_view text);

}  // namespace claverix::e2e
