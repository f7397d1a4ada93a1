#pragma once

#include "platform/Environment.h"

namespace claverix::platform::win32 {

class Win32Environment final : public Environment {
public:
    std::string ExecutablePath() override;
    std::string WindowsDirectory() override;
    LocalTime Now() override;
    std::string ExpandVariables(const std::string& text) override;
    std::string ComputerName() override;
    std::string UserName() override;
    bool RunsAsSystem() override;
};

}  // namespace claverix::platform::win32
