#pragma once

#include <memory>
#include <string>

namespace claverix::platform {

// A process started by the program.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;

    // Blocks until the process has ended; false when that cannot be known.
    virtual bool WaitForExit() = 0;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts `application` (a full path, never looked up on the search path)
    // with `commandLine`, its window minimized with the focus. Null on failure.
    virtual std::unique_ptr<StartedProcess> StartMinimized(const std::string& application,
                                                           const std::string& commandLine) = 0;
};

}  // namespace claverix::platform
