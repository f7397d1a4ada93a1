#pragma once

#include <cstdint>
#include <string_view>

#include "tests/e2e/support/RegFileText.h"
#include "tests/e2e/support/RegistryTree.h"

namespace claverix::e2e {

// A starting state below the key `key` of HKEY_CURRENT_USER and one signed
// file to merge on it, drawn from `seed`: the file in ANSI or in UTF-16,
// under either header, mixing every data form with what importers meet in
// files written by hand: escapes, odd and empty data, hex data continued
// over lines (with blank and comment lines between, a missing or doubled
// comma, stray blanks, a key line where data was due), comments ending in a
// backslash, key lines the importer refuses. `valueLines` counts its lines
// that set or delete a value.
struct ImportCase {
    RegistryTree start;
    RegFile file;
    int valueLines = 0;
};

ImportCase MakeImportCase(std::uint32_t seed, std::string_view key, std::string_view signature);

// What the importer will leave below `key`, from `start`, as the program's
// reader of registry files foresees it. The one byte the reader cannot
// foresee, the last of some odd-sized string data, is taken from `actual`.
RegistryTree ForeseenImport(const RegistryTree& start, const RegFile& file, std::string_view key,
                            const RegistryTree& actual);

}  // namespace claverix::e2e
