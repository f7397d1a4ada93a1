#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Preview.h"
#include "engine/Engine.h"
#include "engine/Merge.h"
#include "platform/Platform.h"

namespace claverix::app {

// The windows start-up may open.
class StartupWindows {
public:
    virtual ~StartupWindows() = default;

    // The options dialog, modal. False when it cannot be shown: the program
    // ends. What its Apply stores, `engine` uses from then on: the main
    // window, which Apply may load, with it.
    virtual bool ShowOptionsDialog(engine::Engine& engine) = 0;

    // The main window, modeless. False when it cannot be shown: the program ends.
    virtual bool ShowMainWindow(engine::Engine& engine) = 0;

    // What a merge of the file named `fileName` (UTF-8) would do, modal,
    // over the question that offers it.
    virtual void ShowPreview(const std::string& fileName, std::vector<PreviewRow> rows,
                             const std::string& note) = 0;
};

// The program's exit codes, for scripts that merge a file from the command line.
enum class ExitCode : int {
    AllTook = 0,           // the registry holds what the file sets and deletes; also the main window's end
    Unexpected = 1,        // an error the program did not foresee, or no window could be shown
    PartlyTook = 2,        // some of it did not take
    NothingTook = 3,       // none of it took
    NotStarted = 4,        // the importer could not be started
    ElevationRefused = 5,  // the importer asked for elevation, and it was refused
    Declined = 6,          // the user answered No, or closed the options without a signature
    Blocked = 7,           // not imported: the file cannot be imported safely, or its restoration not saved
};

ExitCode ExitCodeOf(engine::MergeOutcome outcome);

// What start-up leaves: the engine of the main window when it is open, or
// the exit code of a program that ends now.
struct Started {
    std::unique_ptr<engine::Engine> engine;
    ExitCode exitCode = ExitCode::AllTook;
};

// What follows the program's name on a Windows command line, after the one
// blank that separates them.
std::string_view ArgumentsOf(std::string_view commandLine);

struct FileArgument {
    std::string directory;  // without trailing backslash
    std::string fileName;
};

// Splits the command-line argument into a directory and a file name: blanks
// around it and a double quote at either end go; a name without any directory
// is taken in `currentDirectory`.
FileArgument SplitFileArgument(std::string_view arguments, std::string_view currentDirectory);

// The program's start: settings, and the options dialog when no signature is
// stored (closed without one, it ends the program), then either the merge
// of the file named by `arguments`, whose question offers its preview, or
// the main window.
Started Main(platform::Platform& platform, StartupWindows& windows, std::string_view arguments);

}  // namespace claverix::app
