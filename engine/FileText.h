#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/TextCodec.h"

namespace claverix::engine {

// How a registry file's text is written, which is how the importer decodes
// it: in the ANSI code page, or in UTF-16LE after a byte-order mark.
enum class TextEncoding { Ansi, Utf16 };

inline constexpr std::string_view kUtf16ByteOrderMark = "\xFF\xFE";

// A file's text in the two forms the program reads it in.
struct FileText {
    TextEncoding encoding = TextEncoding::Ansi;
    // As its user sees it: an ANSI file's own bytes, a UTF-16 file's text in UTF-8.
    std::string shown;
    // A UTF-16 file's bytes after the byte-order mark.
    std::string utf16;
    // A UTF-16 file whose byte count is odd: its last byte is no character.
    bool oddByteCount = false;

    // The bytes the importer reads, byte-order mark left out (see ReadImport).
    std::string_view Read() const { return encoding == TextEncoding::Ansi ? shown : utf16; }
};

FileText DecodeFileText(std::string bytes);

// Text as a file of `encoding` holds it: `text` is ANSI bytes, kept as they
// are, or UTF-8, written as UTF-16LE (the byte-order mark is not added).
std::string EncodeFileText(std::string_view text, TextEncoding encoding);

// `text` (ANSI bytes, or UTF-8) in the form of another encoding; a character
// an ANSI text cannot hold becomes the code page's default character.
std::string ConvertText(std::string_view text, TextEncoding from, TextEncoding to,
                        platform::TextCodec& codec);

// UTF-8 text (a name, a signature) in the form of a file of `encoding`: its
// exact ANSI form, or the text itself for a UTF-16 file. Nullopt when the
// code page lacks one of its characters.
std::optional<std::string> ExactText(std::string_view utf8, TextEncoding encoding,
                                     platform::TextCodec& codec);

}  // namespace claverix::engine
