#pragma once

#include <cstddef>
#include <string>

namespace claverix::bench {

// The registry calls that the analysis and the export cannot do without, and
// nothing else: what the engine cannot go below. Each returns how many calls
// it made (closing keys aside).

// Reads the file and its lines as the analysis does for the registry, the way
// the importer reads them, then opens each key line's key and queries each
// value line's value in it; the file's keys are under HKEY_CURRENT_USER and
// its value names hold no escapes.
std::size_t AnalysisFloor(const std::string& path);

// Opens `path` under HKEY_CURRENT_USER and, depth first, every key below it,
// each from the root by its full path; enumerates each key's values with
// their data and its sub-keys' names.
std::size_t ExportFloor(const std::string& path);

}  // namespace claverix::bench
