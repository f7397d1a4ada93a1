#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace claverix::e2e {

// One registry value as stored: its type and its bytes, exactly.
struct RawValue {
    std::uint32_t type = REG_NONE;
    std::string bytes;

    bool operator==(const RawValue&) const = default;
};

// The values of one key by name; the empty name is the default value.
using ValueMap = std::map<std::wstring, RawValue>;

// A registry subtree: every key by its path below the subtree's top ("" for
// the top itself, "A\\B" further down) with its values. Names keep their
// letter case, and the maps give every dump one canonical order.
using RegistryTree = std::map<std::wstring, ValueMap>;

// Value builders. The string ones hold UTF-16 text followed by one zero
// character; a REG_MULTI_SZ is given its inner zeros, e.g. L"a\0b\0"sv.
RawValue Sz(std::wstring_view text);
RawValue ExpandSz(std::wstring_view text);
RawValue MultiSz(std::wstring_view strings);
RawValue Dword(std::uint32_t number);
RawValue Qword(std::uint64_t number);
RawValue Binary(std::string_view bytes);
RawValue Typed(std::uint32_t type, std::string_view bytes);

// Reads the key `path` of `root` and everything below it through the wide
// functions; empty when the key does not exist.
RegistryTree ReadTree(const std::wstring& path, HKEY root = HKEY_CURRENT_USER);

// Replaces the key `path` of `root` and everything below it with `tree`,
// byte for byte.
void WriteTree(const std::wstring& path, const RegistryTree& tree, HKEY root = HKEY_CURRENT_USER);

void DeleteTree(const std::wstring& path, HKEY root = HKEY_CURRENT_USER);

// One line per key and per value, in the tree's order, with names escaped and
// data as hex bytes: two trees are equal exactly when their texts are, and a
// difference reads as a diff of lines.
std::string TreeText(const RegistryTree& tree);

}  // namespace claverix::e2e
