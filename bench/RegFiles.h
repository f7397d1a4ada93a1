#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchTree.h"

namespace claverix::bench {

inline constexpr std::string_view kSignature = "Claverix bench";

struct RegFile {
    std::string name;
    std::size_t lines = 0;
    std::size_t bytes = 0;
};

// The bytes of the file at `path`. Throws std::runtime_error when it cannot be read.
std::string ReadBytes(const std::string& path);

// Writes into `directory` a REGEDIT4 file of exactly `lines` CR LF lines,
// signed with kSignature, that sets values all over `tree`: blocks of a key line and value lines, mostly
// for values that exist, some for values that do not yet, and now and then
// under a key that does not exist. Throws std::runtime_error when it cannot.
RegFile WriteRegFile(const BenchTree& tree, const std::string& directory, std::size_t lines);

// Writes beside `file` a copy that also deletes the tree's Unicode key, so
// that its restoration is a version 5 file; returns the copy.
RegFile WriteVersion5Variant(const RegFile& file, const std::string& directory);

// Writes into `directory` `count` small files named as a collection of tweaks
// is ("Explorateur 17.reg"), created in no particular order. Throws
// std::runtime_error when it cannot.
void WriteRegFiles(const std::string& directory, std::size_t count);

// Writes into `directory` `count` files of about `bytes` bytes each, lines of
// value data, the last one alone holding `needle`; returns their names in
// list order. Throws std::runtime_error when it cannot.
std::vector<std::string> WriteSearchedFiles(const std::string& directory, std::size_t count,
                                            std::size_t bytes, std::string_view needle);

}  // namespace claverix::bench
