#pragma once

#include "platform/Environment.h"

namespace claverix::platform::win32 {

class Win32Environment final : public Environment {
public:
    std::string ExecutablePath() override;
    std::string WindowsDirectory() override;
    LocalTime Now() override;
};

}  // namespace claverix::platform::win32
