#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/Engine.h"

namespace claverix::engine {

// "yyyymmdd-hhmmss-" and the merged file's name, with " (n)" before the
// extension for the n-th restoration file of that name within one second.
std::string RestorationFileName(const platform::LocalTime& time, std::string_view mergedFileName,
                                int sequence);

// What came of a merge.
enum class MergeOutcome {
    Declined,    // the user answered No before anything was written
    Blocked,     // not imported: the file cannot be imported safely, or its restoration file not written
    NotStarted,  // the importer could not be started
    ElevationRefused,  // the importer asked for elevation, and the user declined it
    AllTook,           // the registry holds what the file sets and deletes
    PartlyTook,        // some of it
    NothingTook,       // none of the values it sets or deletes (of its keys, when it names no value)
};

// Shows what the merge would do, while its question waits for an answer.
using ShowPreview = std::function<void()>;

// Imports `directory`\`fileName` with the system's registry editor after
// saving, in the archive, the restoration file that the latest analysis
// prepared, with a record of what the file sets. Asks first when the file is
// not signed (with a third button for `preview`, when given), when the
// restoration cannot cover a key, and when the registry has changed since
// the merge that wrote a restoration file being merged. Waits for the
// importer, then reads back what the file sets and deletes: what did not
// take is said, with the offer to merge the new restoration file at once. A
// merged restoration file goes once all of it took. Reports its own failures.
MergeOutcome MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                          const ShowPreview& preview = {});

// The same, saving `restoration` rather than the latest analysis's.
MergeOutcome MergeRegFile(Engine& engine, const std::string& directory, const std::string& fileName,
                          const RestorationText& restoration, const ShowPreview& preview = {});

}  // namespace claverix::engine
