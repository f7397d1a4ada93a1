#include "tests/e2e/support/RegistryTree.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "platform/win32/Handles.h"

namespace claverix::e2e {

using platform::win32::UniqueHKey;

namespace {

// The view the system's importer writes to.
constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;
constexpr REGSAM kWriteAccess = KEY_WRITE | KEY_WOW64_64KEY;

void Check(LSTATUS status, const char* call) {
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error(std::string(call) + " failed with error " + std::to_string(status));
    }
}

RawValue TextValue(std::uint32_t type, std::wstring_view text) {
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    bytes.append(sizeof(wchar_t), '\0');
    return {type, std::move(bytes)};
}

template <typename Number>
RawValue NumberValue(std::uint32_t type, Number number) {
    return {type, std::string(reinterpret_cast<const char*>(&number), sizeof number)};
}

std::wstring SubPath(const std::wstring& parent, std::wstring_view name) {
    return parent.empty() ? std::wstring(name) : parent + L"\\" + std::wstring(name);
}

// The key, or none when it does not exist.
UniqueHKey OpenForReading(HKEY parent, const std::wstring& path) {
    HKEY key = nullptr;
    LSTATUS status = ::RegOpenKeyExW(parent, path.c_str(), 0, kReadAccess, &key);
    if (status != ERROR_FILE_NOT_FOUND) {
        Check(status, "RegOpenKeyExW");
    }
    return UniqueHKey(key);
}

void ReadKey(HKEY key, const std::wstring& relative, RegistryTree& tree) {
    DWORD subKeyCount = 0, longestSubKey = 0, valueCount = 0, longestName = 0, largestData = 0;
    Check(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeyCount, &longestSubKey, nullptr,
                             &valueCount, &longestName, &largestData, nullptr, nullptr),
          "RegQueryInfoKeyW");
    ValueMap& values = tree[relative];
    std::vector<wchar_t> name(longestName + 1);
    std::string data(largestData, '\0');
    for (DWORD index = 0; index < valueCount; ++index) {
        auto nameLength = static_cast<DWORD>(name.size());
        auto dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        Check(::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &dataSize),
              "RegEnumValueW");
        values[std::wstring(name.data(), nameLength)] = {type, data.substr(0, dataSize)};
    }
    std::vector<wchar_t> subKeyName(longestSubKey + 1);
    for (DWORD index = 0; index < subKeyCount; ++index) {
        auto length = static_cast<DWORD>(subKeyName.size());
        Check(::RegEnumKeyExW(key, index, subKeyName.data(), &length, nullptr, nullptr, nullptr, nullptr),
              "RegEnumKeyExW");
        std::wstring childName(subKeyName.data(), length);
        UniqueHKey child = OpenForReading(key, childName);
        ReadKey(child.Get(), SubPath(relative, childName), tree);
    }
}

// Wine's RegSetValueExW takes a zero character that follows string data in
// memory for a forgotten terminator and stores it too; a non-zero guard after
// the data keeps the stored bytes exactly those given.
void SetValue(HKEY key, const std::wstring& name, const RawValue& value) {
    std::string guarded = value.bytes + "\xFF\xFF";
    Check(::RegSetValueExW(key, name.c_str(), 0, value.type, reinterpret_cast<const BYTE*>(guarded.data()),
                           static_cast<DWORD>(value.bytes.size())),
          "RegSetValueExW");
}

// Printable ASCII as it is, anything else as \uXXXX; quotes and, where they
// are not separators, backslashes escaped, so that different names never
// read the same.
std::string Escaped(std::wstring_view text, bool escapeBackslash) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'"' || (escapeBackslash && c == L'\\')) {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return out;
}

std::string TypeName(std::uint32_t type) {
    switch (type) {
        case REG_NONE:
            return "REG_NONE";
        case REG_SZ:
            return "REG_SZ";
        case REG_EXPAND_SZ:
            return "REG_EXPAND_SZ";
        case REG_BINARY:
            return "REG_BINARY";
        case REG_DWORD:
            return "REG_DWORD";
        case REG_MULTI_SZ:
            return "REG_MULTI_SZ";
        case REG_QWORD:
            return "REG_QWORD";
        default:
            char number[24];
            std::snprintf(number, sizeof number, "type 0x%X", static_cast<unsigned>(type));
            return number;
    }
}

std::string HexBytes(std::string_view bytes) {
    std::string out;
    for (char byte : bytes) {
        char digits[4];
        std::snprintf(digits, sizeof digits, " %02X", static_cast<unsigned char>(byte));
        out += digits;
    }
    return out;
}

}  // namespace

RawValue Sz(std::wstring_view text) {
    return TextValue(REG_SZ, text);
}
RawValue ExpandSz(std::wstring_view text) {
    return TextValue(REG_EXPAND_SZ, text);
}
RawValue MultiSz(std::wstring_view strings) {
    return TextValue(REG_MULTI_SZ, strings);
}
RawValue Dword(std::uint32_t number) {
    return NumberValue(REG_DWORD, number);
}
RawValue Qword(std::uint64_t number) {
    return NumberValue(REG_QWORD, number);
}
RawValue Binary(std::string_view bytes) {
    return {REG_BINARY, std::string(bytes)};
}
RawValue Typed(std::uint32_t type, std::string_view bytes) {
    return {type, std::string(bytes)};
}

RegistryTree ReadTree(const std::wstring& path, HKEY root) {
    RegistryTree tree;
    if (UniqueHKey top = OpenForReading(root, path)) {
        ReadKey(top.Get(), L"", tree);
    }
    return tree;
}

void WriteTree(const std::wstring& path, const RegistryTree& tree, HKEY root) {
    DeleteTree(path, root);
    for (const auto& [relative, values] : tree) {
        HKEY key = nullptr;
        Check(::RegCreateKeyExW(root, SubPath(path, relative).c_str(), 0, nullptr, 0, kWriteAccess, nullptr,
                                &key, nullptr),
              "RegCreateKeyExW");
        UniqueHKey owned(key);
        for (const auto& [name, value] : values) {
            SetValue(owned.Get(), name, value);
        }
    }
}

void DeleteTree(const std::wstring& path, HKEY root) {
    LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
    if (status != ERROR_FILE_NOT_FOUND) {
        Check(status, "RegDeleteTreeW");
    }
}

std::string TreeText(const RegistryTree& tree) {
    std::string text;
    for (const auto& [path, values] : tree) {
        text += "[" + Escaped(path, false) + "]\n";
        for (const auto& [name, value] : values) {
            text += "  " + (name.empty() ? std::string("@") : "\"" + Escaped(name, true) + "\"");
            text += " " + TypeName(value.type) + ", " + std::to_string(value.bytes.size()) + " bytes";
            text += HexBytes(value.bytes) + "\n";
        }
    }
    return text;
}

}  // namespace claverix::e2e
