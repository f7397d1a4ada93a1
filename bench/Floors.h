#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace claverix::bench {

// The system calls that the measurements cannot do without, and nothing
// else: what the program cannot go below. Each returns how many calls it made
// (closing handles aside).

// Reads the file and its lines, then opens each key line's key and queries
// each value line's value in it, through the wide functions as the program
// does; the file's keys are under HKEY_CURRENT_USER, its lines are whole and
// its value names are ASCII without escapes.
std::size_t AnalysisFloor(const std::string& path);

// The keys of HKEY_CURRENT_USER and the names of their values that a
// measurement reads.
struct KeyReads {
    std::wstring path;
    std::vector<std::wstring> valueNames;
};

// Opens each key and queries each of its values, through the wide functions.
std::size_t ReadsFloor(const std::vector<KeyReads>& keys);

// Opens `path` under HKEY_CURRENT_USER and, depth first, every key below it,
// each from the root by its full path; enumerates each key's values with
// their data and its sub-keys' names.
std::size_t ExportFloor(const std::string& path);

// Lists the "*.reg" entries of `directory` with FindFirstFileA and
// FindNextFileA, reading nothing of them. Throws std::runtime_error when the
// directory cannot be listed.
std::size_t ListingFloor(const std::string& directory);

// Reads each of `names` in `directory` whole and scans it for `text`, as it
// is, until a file holds it. Throws std::runtime_error when a file cannot be
// read or none holds the text.
std::size_t SearchFloor(const std::string& directory, const std::vector<std::string>& names,
                        std::string_view text);

}  // namespace claverix::bench
