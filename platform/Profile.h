#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace claverix::platform {

// One key of an INI (private profile) file per call; nothing is cached. The
// file's path, the sections, keys and values are UTF-8, and a value comes
// back exactly as it was written.
class Profile {
public:
    virtual ~Profile() = default;

    // The stored value, or `defaultValue` when the file, the section or the key
    // is missing. A key stored with an empty value reads as the empty string.
    // At most `capacity` - 1 characters (UTF-16 units) come back, as with a C
    // buffer of that size.
    virtual std::string Read(const std::string& file, std::string_view section, std::string_view key,
                             std::string_view defaultValue, std::size_t capacity) = 0;

    // Creates the file, section and key as needed and leaves every other key as
    // it was. On failure the previous value stays in effect.
    virtual FileError Write(const std::string& file, std::string_view section, std::string_view key,
                            std::string_view value) = 0;
};

}  // namespace claverix::platform
