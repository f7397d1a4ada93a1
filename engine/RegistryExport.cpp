#include "engine/RegistryExport.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "engine/RegFileFormat.h"
#include "platform/Unicode.h"

namespace claverix::engine {

using namespace platform;

namespace {

constexpr char kUpperHex[] = "0123456789ABCDEF";
constexpr char kLowerHex[] = "0123456789abcdef";

void AppendHexByte(std::string& out, char byte) {
    auto value = static_cast<unsigned char>(byte);
    out += kUpperHex[value >> 4];
    out += kUpperHex[value & 0x0F];
}

void AppendHexBytes(std::string& out, std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 0) {
            out += ',';
        }
        AppendHexByte(out, bytes[i]);
    }
}

void AppendLowerHexNumber(std::string& out, std::uint32_t number) {
    char digits[8];
    int count = 0;
    do {
        digits[count++] = kLowerHex[number & 0x0F];
        number >>= 4;
    } while (number != 0);
    while (count > 0) {
        out += digits[--count];
    }
}

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

// UTF-16 bytes of ASCII characters only.
bool IsAsciiText(std::string_view utf16) {
    if (utf16.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < utf16.size(); i += 2) {
        if (static_cast<unsigned char>(utf16[i]) >= 0x80 || utf16[i + 1] != '\0') {
            return false;
        }
    }
    return true;
}

// ASCII is the same in every ANSI code page: no conversion for it.
std::optional<std::string> ExactAnsi(TextCodec& codec, std::u16string_view utf16) {
    if (IsAscii(utf16)) {
        return std::string(utf16.begin(), utf16.end());
    }
    return codec.Utf16ToAnsiExact(utf16);
}

std::optional<std::string> ExactAnsi(TextCodec& codec, std::string_view utf8) {
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    return codec.Utf16ToAnsiExact(Utf8ToUtf16(utf8));
}

// Names and paths as the form writes them; the ANSI form has been checked exact.
std::string InForm(std::string_view utf8, TextEncoding form, TextCodec& codec) {
    if (form == TextEncoding::Utf16) {
        return std::string(utf8);
    }
    return ExactAnsi(codec, utf8).value_or(codec.Utf8ToAnsi(utf8));
}

// String data (UTF-16 bytes) as the form's file carries it: ANSI bytes, which
// the importer converts back, or the UTF-16 bytes themselves.
std::string StringBytesInForm(std::string_view data, TextEncoding form, TextCodec& codec) {
    if (form == TextEncoding::Utf16) {
        return std::string(data);
    }
    return ExactAnsi(codec, Utf16FromBytes(data)).value_or(std::string{});
}

// The text of a plain string that the quoted form carries exactly, in the
// form's encoding: one terminating zero character, no other, no line break
// (which would end the line in the importer), nothing half a character.
std::optional<std::string> QuotableText(std::string_view data, TextEncoding form, TextCodec& codec) {
    if (data.size() % 2 != 0 || data.size() < 2) {
        return std::nullopt;
    }
    std::u16string text = Utf16FromBytes(data);
    if (text.back() != u'\0') {
        return std::nullopt;
    }
    text.pop_back();
    if (text.find_first_of(std::u16string_view(u"\0\r\n", 3)) != std::u16string::npos ||
        HasUnpairedSurrogate(text)) {
        return std::nullopt;
    }
    if (form == TextEncoding::Utf16) {
        return Utf16ToUtf8(text);
    }
    return ExactAnsi(codec, text);
}

}  // namespace

void AppendValueLine(std::string& out, const RegistryValue& value, TextEncoding form, TextCodec& codec) {
    AppendWrittenName(out, InForm(value.name, form, codec));
    out += '=';
    std::string_view data = value.data;
    std::optional<std::string> quoted;
    if (value.type == kRegSz && (quoted = QuotableText(data, form, codec))) {
        AppendQuotedString(out, *quoted);
    } else if (value.type == kRegDword && data.size() == 4) {
        out += "dword:";
        for (std::size_t i = 4; i-- > 0;) {
            AppendHexByte(out, data[i]);  // most significant first
        }
    } else {
        if (value.type == kRegBinary) {
            out += "hex:";
        } else {
            out += "hex(";
            AppendLowerHexNumber(out, value.type);
            out += "):";
        }
        AppendHexBytes(out,
                       IsStringType(value.type) ? StringBytesInForm(data, form, codec) : std::string(data));
    }
    out += kCrLf;
}

void Restoration::CheckAnsi(std::string_view utf8) {
    if (ansiExact_ && !ExactAnsi(codec_, utf8)) {
        ansiExact_ = false;
    }
}

void Restoration::AddKey(RootKey root, std::string_view path) {
    CheckAnsi(path);
    entries_.push_back({EntryKind::Key, root, {std::string(path), kRegNone, {}}});
}

void Restoration::AddKeyDeletion(RootKey root, std::string_view path) {
    CheckAnsi(path);
    entries_.push_back({EntryKind::KeyDeletion, root, {std::string(path), kRegNone, {}}});
}

void Restoration::AddValue(const RegistryValue& value) {
    CheckAnsi(value.name);
    if (ansiExact_ && IsStringType(value.type) && !IsAsciiText(value.data) &&
        (value.data.size() % 2 != 0 || !codec_.Utf16ToAnsiExact(Utf16FromBytes(value.data)))) {
        ansiExact_ = false;
    }
    entries_.push_back({EntryKind::Value, RootKey::None, value});
}

void Restoration::AddValueDeletion(std::string_view name) {
    CheckAnsi(name);
    entries_.push_back({EntryKind::ValueDeletion, RootKey::None, {std::string(name), kRegNone, {}}});
}

void Restoration::AppendEntry(std::string& out, const Entry& entry) const {
    TextEncoding form = Encoding();
    switch (entry.kind) {
        case EntryKind::Key:
        case EntryKind::KeyDeletion:
            out.append(kCrLf)
                .append(entry.kind == EntryKind::Key ? "[" : "[-")
                .append(RootKeyName(entry.root))
                .append(InForm(entry.value.name, form, codec_))
                .append("]")
                .append(kCrLf);
            break;
        case EntryKind::Value:
            AppendValueLine(out, entry.value, form, codec_);
            break;
        case EntryKind::ValueDeletion:
            AppendWrittenName(out, InForm(entry.value.name, form, codec_));
            out.append("=-").append(kCrLf);
            break;
    }
}

std::string Restoration::Text() const {
    std::string text;
    for (const Entry& entry : entries_) {
        AppendEntry(text, entry);
    }
    return text;
}

void ExportValue(RegistryKey& key, std::string_view name, RegistryValue& scratch, Restoration& out) {
    RegStatus status = key.QueryValue(name, scratch);
    if (status == kRegFileNotFound) {
        out.AddValueDeletion(name);
    } else if (status == kRegSuccess) {
        out.AddValue(scratch);
    }
}

void ExportKey(Registry& registry, RootKey root, std::string_view path, Restoration& out) {
    OpenedKey opened = registry.Open(root, path);
    if (opened.status != kRegSuccess) {
        return;
    }
    out.AddKey(root, path);

    RegistryValue value;
    for (std::uint32_t index = 0; opened.key->ValueAt(index, value) == kRegSuccess; ++index) {
        out.AddValue(value);
    }

    std::string subKeyPath(path);
    if (!subKeyPath.empty()) {
        subKeyPath += '\\';
    }
    const std::size_t parentLength = subKeyPath.size();
    std::string subKeyName;
    for (std::uint32_t index = 0; opened.key->SubKeyNameAt(index, subKeyName) == kRegSuccess; ++index) {
        subKeyPath.resize(parentLength);
        subKeyPath += subKeyName;
        ExportKey(registry, root, subKeyPath, out);
    }
}

}  // namespace claverix::engine
