#pragma once

#include <map>
#include <string>

#include "platform/Profile.h"

namespace claverix::platform {

// INI files in memory; file, section and key names ignore letter case.
class MemoryProfile final : public Profile {
public:
    std::string Read(const std::string& file, std::string_view section, std::string_view key,
                     std::string_view defaultValue, std::size_t capacity) override;
    void Write(const std::string& file, std::string_view section, std::string_view key,
               std::string_view value) override;

private:
    std::map<std::string, std::string> values_;  // folded "file|section|key" -> value
};

}  // namespace claverix::platform
