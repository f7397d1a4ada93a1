#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace claverix::e2e {

// Starts `commandLine` (the program's path first) in `directory` (the caller's
// own when empty), both UTF-8, trying again when Wine's start fails, as it does about once
// in several thousand starts. The failure names the last error code.
::testing::AssertionResult StartProcess(const std::string& commandLine, const std::string& directory,
                                        PROCESS_INFORMATION& started);

// How a user answers the window a program shows: the id of the button to
// press, given the window's title and texts ("[title] | text | ..."); 0
// when the window is not one to answer; kLeaveShown for a window that goes
// by itself, such as the notice of a merge waiting its turn.
using Answering = std::function<int(const std::string& shown)>;
constexpr int kLeaveShown = -1;

// How a run ended, and the windows answered on the way.
struct RunResult {
    DWORD exitCode = 0;
    std::vector<std::string> answered;
};

// Runs `commandLine` (the program's path first) until it ends, answering
// each window it shows as `answer` says; a window left shown is not
// recorded. A window `answer` does not answer (or any, without one), or a
// process still running after `timeout`, ends the process, reported with the
// texts of its windows.
::testing::AssertionResult RunAnswering(const std::string& commandLine, std::chrono::milliseconds timeout,
                                        const Answering& answer, RunResult& run);

// The same, for a run that must show no window and end with exit code 0.
::testing::AssertionResult RunToEnd(const std::string& commandLine, std::chrono::milliseconds timeout);

// How a command line run by cmd ended, and what it wrote on its standard
// output and error (bytes, as written).
struct CommandRun {
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// Runs `line` with `cmd /c` in `directory` (UTF-8), without a console window
// and with no input. A window shown by cmd or by a program it starts, or a
// run longer than `timeout`, ends them all and fails.
::testing::AssertionResult RunCmd(const std::string& line, const std::string& directory,
                                  std::chrono::milliseconds timeout, CommandRun& run);

// Waits until no process of that executable name ("regedit.exe") is running.
::testing::AssertionResult WaitUntilNoneRuns(std::string_view executableName,
                                             std::chrono::milliseconds timeout);

}  // namespace claverix::e2e
