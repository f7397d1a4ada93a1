#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace claverix::e2e {

// Starts `commandLine` (the program's path first) in `directory` (the caller's
// own when empty), both UTF-8, trying again when Wine's start fails, as it does about once
// in several thousand starts. The failure names the last error code.
::testing::AssertionResult StartProcess(const std::string& commandLine, const std::string& directory,
                                        PROCESS_INFORMATION& started);

// Runs `commandLine` (the program's path first) and waits for it to end with
// exit code 0. A process that shows a window, or is still running after
// `timeout`, is ended and reported with the texts of its windows.
::testing::AssertionResult RunToEnd(const std::string& commandLine, std::chrono::milliseconds timeout);

// Waits until no process of that executable name ("regedit.exe") is running.
::testing::AssertionResult WaitUntilNoneRuns(std::string_view executableName,
                                             std::chrono::milliseconds timeout);

}  // namespace claverix::e2e
