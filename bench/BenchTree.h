#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace claverix::bench {

// The benchmark's own tree, under HKEY_CURRENT_USER.
inline constexpr std::string_view kTreePath = "Software\\ClaverixBench";
// A key of the tree that holds a sub-key named outside the code page: a file
// that deletes it gets a version 5 restoration.
inline constexpr std::string_view kUnicodeKeyPath = "Software\\ClaverixBench\\Unicode";

// A value of a realistic type and size, the same for the same seed: mostly
// short strings and numbers, some binary data and, rarely, more than 1 KB.
platform::RegistryValue RandomValue(std::uint64_t seed, std::string name);

// Groups of sections of items, every key with the same value slots. Names and
// data derive from key and slot numbers, so the .reg files name existing
// values without reading the registry back.
class BenchTree {
public:
    static constexpr std::size_t kValuesPerKey = 10;

    BenchTree();

    std::size_t KeyCount() const { return keyPaths_.size(); }
    std::size_t ValueCount() const { return KeyCount() * kValuesPerKey; }
    // Under HKEY_CURRENT_USER; every parent comes before its children.
    const std::string& KeyPath(std::size_t key) const { return keyPaths_[key]; }
    std::string ValueName(std::size_t key, std::size_t slot) const;
    platform::RegistryValue Value(std::size_t key, std::size_t slot) const;

private:
    std::vector<std::string> keyPaths_;
};

// Creates the whole tree, replacing any left over from an interrupted run.
// Throws std::runtime_error when the registry refuses a key or a value.
void CreateTree(const BenchTree& tree);

void DeleteTree();

}  // namespace claverix::bench
