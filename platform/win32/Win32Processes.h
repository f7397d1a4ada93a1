#pragma once

#include "platform/Processes.h"

namespace claverix::platform::win32 {

class Win32ProcessLauncher final : public ProcessLauncher {
public:
    std::unique_ptr<StartedProcess> StartMinimized(const std::string& application,
                                                   const std::string& commandLine) override;
};

}  // namespace claverix::platform::win32
