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

// What came of a start: the process, or why there is none.
struct ProcessStart {
    enum class Status {
        Started,
        Failed,            // the system could not start it
        ElevationRefused,  // it asks for elevation, and the consent prompt was declined
    };

    Status status = Status::Failed;
    std::unique_ptr<StartedProcess> process;  // set only when started
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;

    // Starts `application` (a full path, never looked up on the search path)
    // with `commandLine`, both UTF-8, its window minimized with the focus.
    virtual ProcessStart StartMinimized(const std::string& application, const std::string& commandLine) = 0;
};

}  // namespace claverix::platform
