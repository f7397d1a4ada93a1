#pragma once

#include <windows.h>

#include <functional>

#include "platform/Processes.h"

namespace claverix::platform::win32 {

// How the program waits for a process handle to be signalled; true once it is.
using ProcessWait = std::function<bool(HANDLE)>;

class Win32ProcessLauncher final : public ProcessLauncher {
public:
    // By default a wait blocks the thread; a program with windows passes a
    // wait that keeps them answering.
    explicit Win32ProcessLauncher(ProcessWait wait = BlockingWait) : wait_(std::move(wait)) {}

    ProcessStart StartMinimized(const std::string& application, const std::string& commandLine) override;

    static bool BlockingWait(HANDLE process) {
        return ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0;
    }

private:
    ProcessWait wait_;
};

}  // namespace claverix::platform::win32
