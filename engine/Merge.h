#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Analysis.h"
#include "engine/Engine.h"

namespace claverix::engine {

// "yyyymmdd-hhmmss-" and the merged file's name, with " (n)" before the
// extension for the n-th restoration file of that name within one second.
std::string RestorationFileName(const platform::LocalTime& time, std::string_view mergedFileName,
                                int sequence);

// What came of a merge.
enum class MergeOutcome {
    Declined,     // the user answered No before anything was written
    Blocked,      // not imported: the file cannot be imported safely, or its restoration file not written
    FileChanged,  // not imported: the file no longer holds what the caller showed of it
    NotStarted,   // the importer could not be started
    ElevationRefused,  // the importer asked for elevation, and the user declined it
    AllTook,           // the registry holds what the file sets and deletes
    PartlyTook,        // some of it
    NothingTook,       // none of the values it sets or deletes (of its keys, when it names no value)
};

// Shows what merging the analysed file would do, while the merge's question waits.
using ShowPreview = std::function<void(const Analysis&)>;

// What is merged, and what the road it comes by allows.
struct MergeRequest {
    std::string directory;  // without trailing backslash
    std::string fileName;
    // The bytes the caller shows the user: a file that no longer holds them
    // is not merged (FileChanged), so that nobody merges what they did not see.
    std::optional<std::string> shownBytes;
    // "# NoUndo" spares a signed file its restoration only when merged where
    // the mark shows and can be unticked, in the main window. A file opened
    // from the shell, or by a script, always gets its restoration.
    bool honoursNoUndo = false;
    // The name recorded in the file is offered back first: the main window
    // offers it when the file is selected.
    bool offersRecordedName = false;
    ShowPreview preview;  // offered beside the merge's question when set
};

// The safe merge of one file, as one transaction on one snapshot of its
// bytes. Under a lock that every merge of the program honours, it reads the
// file once and derives everything from those bytes; asks its questions;
// then reads the registry's present state of everything the file changes,
// writes it as a restoration file in the archive, and hands the importer a
// private copy of exactly the bytes it asked about; waits; reads back what
// took and records it in the restoration file; lets the lock go and says
// what did not take. Reports its own failures.
MergeOutcome MergeRegFile(Engine& engine, const MergeRequest& request);

}  // namespace claverix::engine
