#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/e2e/support/RegFileText.h"
#include "tests/e2e/support/RegistryTree.h"

namespace claverix::e2e {

// A starting state below the key `key` of HKEY_CURRENT_USER and one or two
// signed files to merge on it, all drawn from `seed`: keys a few levels deep,
// values of every type with awkward names and text, empty and large ones, and
// files that set, change and delete values, create keys under existing and
// missing parents and delete whole trees, in the forms the importer reads.
struct RandomCase {
    RegistryTree start;
    std::vector<RegFile> files;
};

RandomCase MakeRandomCase(std::uint32_t seed, std::string_view key, std::string_view signature);

}  // namespace claverix::e2e
