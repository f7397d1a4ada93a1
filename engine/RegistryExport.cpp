#include "engine/RegistryExport.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

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

// "AB,CD,...", written in room made at once.
void AppendHexBytes(std::string& out, std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    std::size_t at = out.size();
    out.resize(at + 3 * bytes.size() - 1, ',');
    for (char byte : bytes) {
        auto value = static_cast<unsigned char>(byte);
        out[at] = kUpperHex[value >> 4];
        out[at + 1] = kUpperHex[value & 0x0F];
        at += 3;
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

// A plain string the quoted form carries exactly: one terminating zero
// character, no other, no line break (which would end the line in the
// importer), no half character.
bool IsQuotable(std::string_view utf16) {
    std::size_t size = utf16.size();
    if (size % 2 != 0 || size < 2 || utf16[size - 2] != '\0' || utf16[size - 1] != '\0') {
        return false;
    }
    bool highSurrogate = false;
    for (std::size_t i = 0; i + 2 < size; i += 2) {
        auto unit = static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                          static_cast<unsigned char>(utf16[i + 1]) << 8);
        bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (unit == u'\0' || unit == u'\r' || unit == u'\n' || low != highSurrogate) {
            return false;
        }
        highSurrogate = unit >= 0xD800 && unit <= 0xDBFF;
    }
    return !highSurrogate;
}

// What a registry file cannot set back of string data, or nothing. The
// importer ends string data with a zero character when its last whole
// character is not one, laid over an odd last byte (see ReadImport); data
// of less than one whole character it cannot write at all. Data that ends in
// a zero character comes back as it is, an odd byte after it included.
std::string_view UncarriedString(const RegistryValue& value) {
    std::string_view data = value.data;
    if (!IsStringType(value.type) || data.empty()) {
        return {};
    }
    std::size_t whole = data.size() / 2;
    if (whole == 0 || data[2 * whole - 2] != '\0' || data[2 * whole - 1] != '\0') {
        return data.size() % 2 != 0 ? "chaîne de taille impaire" : "chaîne sans zéro final";
    }
    return {};
}

// Enumerates entries with `entryAt`, which reads and adds the one at an
// index, up to the last one. False when one could not be read: a name
// without a UTF-8 form is passed over, any other error ends the enumeration.
template <typename EntryAt>
bool EnumeratedWhole(EntryAt entryAt) {
    bool whole = true;
    for (std::uint32_t index = 0;; ++index) {
        RegStatus status = entryAt(index);
        if (status == kRegNoMoreItems) {
            return whole;
        }
        if (status == kRegNameHasNoUtf8) {
            whole = false;
        } else if (status != kRegSuccess) {
            return false;
        }
    }
}

// Names, paths and string data in the text of a form, converted in a buffer
// kept from one line to the next. ASCII, the same in every code page, is
// never converted; the ANSI form has been checked exact for the rest.
class FormText {
public:
    FormText(TextEncoding form, TextCodec& codec, std::string& buffer)
        : form_(form), codec_(codec), buffer_(buffer) {}

    TextEncoding Form() const { return form_; }

    // A UTF-8 name or path.
    std::string_view Name(std::string_view utf8) {
        if (form_ == TextEncoding::Utf16 || IsAscii(utf8)) {
            return utf8;
        }
        buffer_ = codec_.Utf16ToAnsiExact(Utf8ToUtf16(utf8)).value_or(codec_.Utf8ToAnsi(utf8));
        return buffer_;
    }

    // The characters of string data (UTF-16 bytes).
    std::string_view Characters(std::string_view utf16) {
        if (IsAsciiText(utf16)) {
            buffer_.resize(utf16.size() / 2);
            for (std::size_t i = 0; i < buffer_.size(); ++i) {
                buffer_[i] = utf16[2 * i];
            }
        } else if (form_ == TextEncoding::Utf16) {
            Utf16ToUtf8(Utf16FromBytes(utf16), buffer_);
        } else {
            buffer_ = codec_.Utf16ToAnsiExact(Utf16FromBytes(utf16)).value_or(std::string{});
        }
        return buffer_;
    }

private:
    TextEncoding form_;
    TextCodec& codec_;
    std::string& buffer_;
};

// A plain string of ASCII characters, most of them, quoted straight from
// its UTF-16 bytes in one pass. False, `out` as it was, for any other.
bool AppendAsciiQuoted(std::string& out, std::string_view utf16) {
    std::size_t size = utf16.size();
    if (size % 2 != 0 || size < 2 || utf16[size - 2] != '\0' || utf16[size - 1] != '\0') {
        return false;
    }
    const std::size_t start = out.size();
    out += '"';
    for (std::size_t i = 0; i + 2 < size; i += 2) {
        char c = utf16[i];
        if (utf16[i + 1] != '\0' || static_cast<unsigned char>(c) >= 0x80 || c == '\0' || c == '\r' ||
            c == '\n') {
            out.resize(start);
            return false;
        }
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
    return true;
}

// A plain string in quotes, when the quoted form carries it exactly.
bool AppendQuotedData(std::string& out, std::string_view data, FormText& text) {
    if (AppendAsciiQuoted(out, data)) {
        return true;
    }
    if (!IsQuotable(data)) {
        return false;
    }
    AppendQuotedString(out, text.Characters(data.substr(0, data.size() - 2)));
    return true;
}

// Appends the value's line; true when it holds string data in hex, which
// the two forms write differently beyond converting it.
bool AppendLine(std::string& out, const RegistryValue& value, FormText text) {
    AppendWrittenName(out, text.Name(value.name));
    out += '=';
    std::string_view data = value.data;
    if (value.type == kRegSz && AppendQuotedData(out, data, text)) {
        out += kCrLf;
        return false;
    }
    if (value.type == kRegDword && data.size() == 4) {
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
        // The ANSI importer converts the bytes of string data back through the code page.
        bool converted = IsStringType(value.type) && text.Form() == TextEncoding::Ansi;
        AppendHexBytes(out, converted ? text.Characters(data) : data);
    }
    out += kCrLf;
    return IsStringType(value.type);
}

}  // namespace

void AppendValueLine(std::string& out, const RegistryValue& value, TextEncoding form, TextCodec& codec) {
    std::string buffer;
    AppendLine(out, value, FormText(form, codec, buffer));
}

void Restoration::NeedForm(std::string_view utf8) {
    if (form_ == TextEncoding::Ansi && !IsAscii(utf8) && !codec_.Utf16ToAnsiExact(Utf8ToUtf16(utf8))) {
        TurnToVersion5();
    }
}

// What was written so far has an exact ANSI form: converted, it reads the
// same, but for string data in hex, which version 5 writes as UTF-16.
void Restoration::TurnToVersion5() {
    std::string utf8;
    std::size_t done = 0;
    for (const HexString& line : hexStrings_) {
        utf8 += codec_.AnsiToUtf8(std::string_view(text_).substr(done, line.offset - done));
        AppendLine(utf8, line.value, FormText(TextEncoding::Utf16, codec_, buffer_));
        done = line.offset + line.length;
    }
    utf8 += codec_.AnsiToUtf8(std::string_view(text_).substr(done));
    text_ = std::move(utf8);
    hexStrings_.clear();
    form_ = TextEncoding::Utf16;
}

void Restoration::AppendKeyLine(std::string_view opening, RootKey root, std::string_view path) {
    keyRoot_ = root;
    keyPath_.assign(path);
    NeedForm(path);
    text_.append(kCrLf)
        .append(opening)
        .append(RootKeyName(root))
        .append(FormText(form_, codec_, buffer_).Name(path))
        .append("]")
        .append(kCrLf);
}

void Restoration::AddKey(RootKey root, std::string_view path) {
    AppendKeyLine("[", root, path);
}

void Restoration::AddKeyDeletion(RootKey root, std::string_view path) {
    AppendKeyLine("[-", root, path);
}

std::string Restoration::KeyName() const {
    return std::string(RootKeyName(keyRoot_)).append(keyPath_);
}

std::string Restoration::ValueName(std::string_view name) const {
    std::string text = KeyName();
    text += '\\';
    AppendWrittenName(text, name);
    return text;
}

void Restoration::AddUncoveredKey(RootKey root, std::string_view path) {
    uncoveredKeys_.emplace_back(RootKeyName(root)).append(path);
}

void Restoration::AddUncoveredValue(std::string_view name) {
    uncoveredKeys_.push_back(ValueName(name));
}

void Restoration::AddKeyTraits(const KeyTraits& traits) {
    const std::pair<bool, std::string_view> gaps[] = {
        {traits.className, "classe de clé"},
        {traits.isVolatile, "clé volatile"},
        {traits.symbolicLink, "lien symbolique"},
        {traits.ownAccessRules, "droits d'accès propres"},
    };
    for (const auto& [held, what] : gaps) {
        if (held) {
            notCarried_.push_back(KeyName().append(" : ").append(what));
        }
    }
}

void Restoration::AddValue(const RegistryValue& value) {
    if (std::string_view what = UncarriedString(value); !what.empty()) {
        notCarried_.push_back(ValueName(value.name).append(" : ").append(what));
    }
    NeedForm(value.name);
    if (form_ == TextEncoding::Ansi && IsStringType(value.type) && !IsAsciiText(value.data) &&
        (value.data.size() % 2 != 0 || !codec_.Utf16ToAnsiExact(Utf16FromBytes(value.data)))) {
        TurnToVersion5();
    }
    std::size_t start = text_.size();
    bool hexString = AppendLine(text_, value, FormText(form_, codec_, buffer_));
    if (form_ == TextEncoding::Ansi && hexString) {
        hexStrings_.push_back({start, text_.size() - start, value});
    }
}

void Restoration::AddValueDeletion(std::string_view name) {
    NeedForm(name);
    AppendWrittenName(text_, FormText(form_, codec_, buffer_).Name(name));
    text_.append("=-").append(kCrLf);
}

void ExportValue(RegistryKey& key, std::string_view name, RegistryValue& scratch, Restoration& out) {
    RegStatus status = key.QueryValue(name, scratch);
    if (status == kRegFileNotFound) {
        out.AddValueDeletion(name);
    } else if (status == kRegSuccess) {
        out.AddValue(scratch);
    } else {
        out.AddUncoveredValue(name);
    }
}

void ExportKey(Registry& registry, RootKey root, std::string_view path, Restoration& out) {
    OpenedKey opened = registry.Open(root, path);
    if (opened.status != kRegSuccess) {
        if (opened.status != kRegFileNotFound) {
            out.AddUncoveredKey(root, path);
        }
        return;
    }
    out.AddKey(root, path);
    out.AddKeyTraits(opened.key->Traits());

    RegistryValue value;
    bool valuesWhole = EnumeratedWhole([&](std::uint32_t index) {
        RegStatus status = opened.key->ValueAt(index, value);
        if (status == kRegSuccess) {
            out.AddValue(value);
        }
        return status;
    });

    std::string subKeyPath(path);
    if (!subKeyPath.empty()) {
        subKeyPath += '\\';
    }
    const std::size_t parentLength = subKeyPath.size();
    std::string subKeyName;
    bool subKeysWhole = EnumeratedWhole([&](std::uint32_t index) {
        RegStatus status = opened.key->SubKeyNameAt(index, subKeyName);
        if (status == kRegSuccess) {
            subKeyPath.resize(parentLength);
            subKeyPath += subKeyName;
            ExportKey(registry, root, subKeyPath, out);
        }
        return status;
    });
    if (!valuesWhole || !subKeysWhole) {
        out.AddUncoveredKey(root, path);
    }
}

}  // namespace claverix::engine
