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
    FileError Write(const std::string& file, std::string_view section, std::string_view key,
                    std::string_view value) override;

    // Every later write to `file` fails with `code` (0: succeeds again).
    void FailWritesTo(const std::string& file, std::uint32_t code);

private:
    std::map<std::string, std::uint32_t> failures_;  // folded file -> code
    std::map<std::string, std::string> values_;      // folded "file|section|key" -> value
};

}  // namespace claverix::platform
