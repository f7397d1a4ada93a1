#pragma once

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "engine/Analysis.h"
#include "engine/Engine.h"
#include "engine/ImportCheck.h"

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

// The questions a merge may ask, which a script answers before it runs.
enum class MergeQuestion {
    UnsignedFile,   // the file does not carry the user's signature
    Utf8File,       // saved as UTF-8, which the importer reads in the code page: save it as UTF-16 first?
    SystemHive,     // run as the local system account, the file writes its HKEY_CURRENT_USER
    ChangedSince,   // an undo would overwrite values changed since its merge
    CreatedSince,   // an undo would delete keys and values created since its merge
    UncoveredKeys,  // the restoration cannot cover keys it could not read
    UndoNow,        // the merge did not wholly take: undo it at once?
};

// Answers given before the merge, for a run nobody watches.
struct PresetAnswers {
    std::set<MergeQuestion> yes;
    // No window: a question not answered Yes above is answered No.
    bool quiet = false;
};

// What is merged, and what the road it comes by allows.
struct MergeRequest {
    MergeRequest(std::string inDirectory, std::string name)
        : directory(std::move(inDirectory)), fileName(std::move(name)) {}

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
    const PresetAnswers* answers = nullptr;
    // Called once every question is answered, before the restoration is
    // read: what is about to be imported, against the registry as it is.
    std::function<void(const Analysis&)> beforeImport;
};

// What came of a merge, for a caller that reports it.
struct MergeResult {
    MergeOutcome outcome = MergeOutcome::Blocked;
    std::string restorationPath;            // the restoration file written and kept
    std::optional<MergeQuestion> declined;  // the question whose No ended the merge
    std::optional<ImportCheck> check;       // once the importer has ended
    bool writesSystemHive = false;          // HKEY_CURRENT_USER of the local system account
};

// The safe merge of one file, as one transaction on one snapshot of its
// bytes. Under a lock that every merge of the program honours, it reads the
// file once and derives everything from those bytes; asks its questions;
// then reads the registry's present state of everything the file changes,
// writes it as a restoration file in the archive, and hands the importer a
// private copy of exactly the bytes it asked about; waits; reads back what
// took and records it in the restoration file; lets the lock go and says
// what did not take. Reports its own failures.
MergeResult MergeRegFile(Engine& engine, const MergeRequest& request);

// The system's registry editor that writes `view`: the 32-bit one, under
// SysWOW64, for the 32-bit view.
std::string ImporterPath(platform::Environment& environment, platform::RegistryView view);

}  // namespace claverix::engine
