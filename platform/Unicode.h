#pragma once

#include <string>
#include <string_view>

namespace claverix::platform {

// Conversions between the two Unicode forms the program handles: UTF-8 for
// names, paths and messages, UTF-16 for what the registry and the importer
// work in. A surrogate without its pair has no UTF-8 form and becomes
// U+FFFD; so does a byte that is no part of a UTF-8 sequence.
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same into `utf8`, whose room it keeps.
void Utf16ToUtf8(std::u16string_view utf16, std::string& utf8);
std::u16string Utf8ToUtf16(std::string_view utf8);

bool HasUnpairedSurrogate(std::u16string_view utf16);

// UTF-16 little-endian bytes, as files and the registry store them; an odd
// last byte is left out.
std::u16string Utf16FromBytes(std::string_view bytes);
void AppendUtf16Bytes(std::string& out, std::u16string_view utf16);

inline std::string Utf16Bytes(std::u16string_view utf16) {
    std::string bytes;
    AppendUtf16Bytes(bytes, utf16);
    return bytes;
}

}  // namespace claverix::platform
