#pragma once

#include "platform/Profile.h"

namespace claverix::platform::win32 {

// INI files through GetPrivateProfileStringA and WritePrivateProfileStringA.
class Win32Profile final : public Profile {
public:
    std::string Read(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view defaultValue, std::size_t capacity) override;
    FileError Write(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value) override;
};

}  // namespace claverix::platform::win32
