#pragma once

#include <cstddef>
#include <string>

namespace claverix::bench {

// The system calls that the measurements cannot do without, and nothing
// else: what the program cannot go below. Each returns how many calls it made
// (closing handles aside).

// Reads the file and its lines as the analysis does for the registry, the way
// the importer reads them, then opens each key line's key and queries each
// value line's value in it; the file's keys are under HKEY_CURRENT_USER and
// its value names hold no escapes.
std::size_t AnalysisFloor(const std::string& path);

// Opens `path` under HKEY_CURRENT_USER and, depth first, every key below it,
// each from the root by its full path; enumerates each key's values with
// their data and its sub-keys' names.
std::size_t ExportFloor(const std::string& path);

// Lists the "*.reg" entries of `directory` with FindFirstFileA and
// FindNextFileA, reading nothing of them. Throws std::runtime_error when the
// directory cannot be listed.
std::size_t ListingFloor(const std::string& directory);

}  // namespace claverix::bench
