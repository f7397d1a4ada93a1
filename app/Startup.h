#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/Engine.h"
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
// of the file named by `arguments` or the main window. Returns the
// engine the main window works with, or null when the program ends now.
std::unique_ptr<engine::Engine> Main(platform::Platform& platform, StartupWindows& windows,
                                     std::string_view arguments);

}  // namespace claverix::app
