#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace claverix::app {

// One registry value as text, its key opened for reading only: a string as it
// is, an expandable string with its environment variables expanded, a double
// word as "&h" and its eight hexadecimal digits. A value of another type
// leaves `text` as it was. False, `text` emptied, when the key or the value
// cannot be read or the value holds no byte.
bool GetKeyValue(platform::Platform& platform, platform::RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::string& text);

// The system-information tool: the file that the registry names, by either
// of its two entries, or else the one in the system directory, where today's
// Windows keeps it without naming it. Nullopt when no such file exists.
std::optional<std::string> FindSysInfo(platform::Platform& platform);

}  // namespace claverix::app
