#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ConsoleReport.h"
#include "engine/Merge.h"
#include "platform/Platform.h"

namespace claverix::app {

// The console command's exit codes beyond those of a merge (see ExitCode),
// none of those that deployment tools read as something else (1618, 1641,
// 1707, 3010).
inline constexpr int kExitChangesPending = 10;  // /whatif: the files would change the registry
inline constexpr int kExitNotApplied = 11;      // /verify: the registry does not hold all they set
inline constexpr int kExitBadCommandLine = 12;  // the command line is not understood

// The console command's arguments, understood.
struct ConsoleCommand {
    ConsoleAction action = ConsoleAction::Merge;
    std::vector<std::string> files;  // UTF-8, as given
    bool undoLast = false;           // /undo:last
    bool keepPartial = false;
    bool json = false;
    engine::PresetAnswers answers;  // /quiet and the flags that answer Yes
    std::optional<std::string> logPath;
    LogFormat logFormat = LogFormat::Plain;
    std::optional<std::string> archive;
    std::optional<platform::RegistryView> view;  // /reg:32, /reg:64
    std::vector<std::string> errors;             // what was not understood, in French
};

// Reads the arguments that follow the program's name, one by one as the
// system splits a command line. A switch starts with "/" or "-".
ConsoleCommand ParseConsoleCommand(const std::vector<std::string>& arguments);

// The registry view the run works on: the one asked for, else the one the
// restoration file to undo records, else the 64-bit view.
platform::RegistryView ViewOfRun(const ConsoleCommand& command, platform::FileSystem& files,
                                 std::string_view currentDirectory);

// Where the console command writes: stdout for what a script reads, stderr
// for what a person reads. UTF-8.
class ConsoleOutput {
public:
    virtual ~ConsoleOutput() = default;
    virtual void Out(std::string_view text) = 0;
    virtual void Err(std::string_view text) = 0;
};

// Runs the command with the platform's services (whose registry is of
// ViewOfRun's view), writes its outputs and its log, and returns its report,
// whose exitCode is the process's. Never shows the options dialog: without
// a stored signature every file is unsigned, and without settings the
// archive is /archive's, else the program's directory when it can be written.
RunReport RunConsoleCommand(platform::Platform& platform, const ConsoleCommand& command,
                            ConsoleOutput& output);

}  // namespace claverix::app
