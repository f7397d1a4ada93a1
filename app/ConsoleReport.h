#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Preview.h"
#include "platform/Environment.h"

namespace claverix::app {

// What the console command was asked to do.
enum class ConsoleAction { Merge, WhatIf, Verify, Undo, Help };

// The version of the JSON document's shape: raised when a key changes meaning or goes.
inline constexpr int kJsonSchemaVersion = 1;

// A line of a file that the importer passes over.
struct SkippedLineReport {
    std::size_t line = 0;
    std::string reason;  // French
};

// What became of one file of a console run.
struct FileReport {
    std::string path;  // as named on the command line, made whole (UTF-8)
    // One word a script tests, in English: "all-took", "partly-took",
    // "nothing-took", "not-started", "elevation-refused", "declined",
    // "blocked", "file-changed" (merges and undos); "no-change",
    // "changes-pending", "refused" (/whatif); "applied", "not-applied"
    // (/verify); "undone" (a merge undone because another file of the run
    // did not take), "undo-failed".
    std::string outcome;
    int exitCode = 0;
    // The preview's rows: for /whatif, and for a merge what it was about to
    // change, read after its last question.
    std::vector<PreviewRow> rows;
    std::vector<SkippedLineReport> skipped;
    std::string restorationPath;  // the restoration file written, empty when none
    // The question whose No ended the merge ("unsigned-file", "uncovered-keys",
    // "created-since", "changed-since", "system-hive", "utf8-file"), and the flag that answers it Yes.
    std::optional<std::string> declinedQuestion;
    std::optional<std::string> answeringFlag;
    // Run context worth saying: "system-hive" (HKEY_CURRENT_USER is the local
    // system's own), "policy-keys" (a key under ...\Policies\... that the next
    // policy refresh may put back), "utf8-file" (saved as UTF-8, read in the
    // code page by the importer).
    std::vector<std::string> warnings;
    // The check after the import, or /verify's reading.
    std::size_t keysChecked = 0;
    std::size_t valuesChecked = 0;
    std::size_t keysMissed = 0;
    std::size_t valuesMissed = 0;
    std::vector<std::string> firstMissed;  // French, as the window's report lists them
    std::vector<std::string> messages;     // what the program said of this file, French
};

// A whole console run.
struct RunReport {
    ConsoleAction action = ConsoleAction::Merge;
    platform::LocalTime started;
    std::string computer;
    std::string user;
    bool runsAsSystem = false;
    int registryView = 64;  // 64 or 32
    std::string archive;    // where restoration files go in this run
    std::vector<FileReport> files;
    int exitCode = 0;
    // What ended the run before any file: a command line not understood, no
    // archive that can be written... French.
    std::vector<std::string> errors;
    // The thread that writes the log, as CMTrace shows it (GetCurrentThreadId).
    std::uint32_t threadId = 0;
};

enum class LogFormat { Plain, CmTrace };

// The run as one JSON document (UTF-8, English keys, `kJsonSchemaVersion`),
// valid whatever the run's outcome.
std::string ReportJson(const RunReport& report);

// The run for a person, in French: what the program did with each file, and
// for /whatif the rows as a table (see RowsAsText).
std::string ReportText(const RunReport& report);

// One line per event (a file merged, verified, previewed or undone; an error
// that ended the run), each ended by CR LF: the time in ISO 8601 with its
// offset, the computer, the user, the action, the file, its restoration
// file, the outcome and the counts. An error's line names no file, has
// "error" for outcome and its text for counts. CmTrace: the format
// Configuration Manager's log viewer reads, the same facts in its message.
std::string LogLines(const RunReport& report, LogFormat format);

// The command's help, in French: every form, flag and exit code.
std::string HelpText();

}  // namespace claverix::app
