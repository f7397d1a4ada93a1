#include "platform/Unicode.h"

#include <algorithm>

namespace claverix::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point starting at `utf8[i]`, advancing `i` past it.
char32_t NextCodePoint(std::string_view utf8, std::size_t& i) {
    auto lead = static_cast<unsigned char>(utf8[i++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (length < 0 || lead > 0xF4) {
        return kReplacement;
    }
    char32_t c = lead & (0x3F >> length);
    for (int k = 0; k < length; ++k) {
        if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (static_cast<unsigned char>(utf8[i++]) & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) {
        return kReplacement;
    }
    return c;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string utf8;
    Utf16ToUtf8(utf16, utf8);
    return utf8;
}

void Utf16ToUtf8(std::u16string_view utf16, std::string& utf8) {
    utf8.clear();
    if (std::all_of(utf16.begin(), utf16.end(), [](char16_t c) { return c < 0x80; })) {
        utf8.resize(utf16.size());
        std::transform(utf16.begin(), utf16.end(), utf8.begin(),
                       [](char16_t c) { return static_cast<char>(c); });
        return;
    }
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (IsHighSurrogate(c) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            c = kReplacement;
        }
        AppendUtf8(utf8, c);
    }
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string utf16;
    utf16.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = NextCodePoint(utf8, i);
        if (c >= 0x10000) {
            utf16 += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            utf16 += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            utf16 += static_cast<char16_t>(c);
        }
    }
    return utf16;
}

bool HasUnpairedSurrogate(std::u16string_view utf16) {
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        if (IsHighSurrogate(utf16[i]) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
            ++i;
        } else if (IsHighSurrogate(utf16[i]) || IsLowSurrogate(utf16[i])) {
            return true;
        }
    }
    return false;
}

std::u16string Utf16FromBytes(std::string_view bytes) {
    std::u16string utf16(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        utf16[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return utf16;
}

void AppendUtf16Bytes(std::string& out, std::u16string_view utf16) {
    std::size_t at = out.size();
    out.resize(at + 2 * utf16.size());
    for (char16_t c : utf16) {
        out[at++] = static_cast<char>(c & 0xFF);
        out[at++] = static_cast<char>(c >> 8);
    }
}

}  // namespace claverix::platform
