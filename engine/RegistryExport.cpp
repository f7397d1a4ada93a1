#include "engine/RegistryExport.h"

#include <cstdint>

#include "engine/RegFileFormat.h"

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

// Text that the quoted form carries exactly: one terminating zero, no other
// zero, and no line break, which would end the line in the importer.
bool IsQuotableString(std::string_view data) {
    return !data.empty() && data.back() == '\0' &&
           data.substr(0, data.size() - 1).find_first_of(std::string_view("\0\r\n", 3)) ==
               std::string_view::npos;
}

}  // namespace

void AppendValueLine(std::string& out, const RegistryValue& value) {
    AppendWrittenName(out, value.name);
    out += '=';
    std::string_view data = value.data;
    if (value.type == kRegSz && IsQuotableString(data)) {
        AppendQuotedString(out, data.substr(0, data.size() - 1));
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
        AppendHexBytes(out, data);
    }
    out += kCrLf;
}

void ExportValue(RegistryKey& key, std::string_view name, RegistryValue& scratch, std::string& out) {
    RegStatus status = key.QueryValue(name, scratch);
    if (status == kRegFileNotFound) {
        AppendWrittenName(out, name);
        out += "=-";
        out += kCrLf;
    } else if (status == kRegSuccess) {
        scratch.name.assign(name);
        AppendValueLine(out, scratch);
    }
}

void ExportKey(Registry& registry, RootKey root, std::string_view path, std::string& out) {
    OpenedKey opened = registry.Open(root, path);
    if (opened.status != kRegSuccess) {
        return;
    }
    out += kCrLf;
    out += '[';
    out += RootKeyName(root);
    out += path;
    out += ']';
    out += kCrLf;

    RegistryValue value;
    for (std::uint32_t index = 0; opened.key->ValueAt(index, value) == kRegSuccess; ++index) {
        AppendValueLine(out, value);
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
