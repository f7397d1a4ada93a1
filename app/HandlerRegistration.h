#pragma once

#include <string_view>

#include "platform/Platform.h"

namespace claverix::app {

// Writes, in the "reg" directory beside the program, the registry file that
// makes the program the shell's "open" command for registry files once it is
// merged, signed with `signature`. When it cannot be written the user is
// told, nothing else changes, and the result is false.
bool WriteHandlerRegistrationFile(platform::Platform& platform, std::string_view signature);

}  // namespace claverix::app
