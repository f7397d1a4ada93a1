#pragma once

#include "platform/Registry.h"

namespace claverix::platform::win32 {

// The live registry through the wide functions, in the 64-bit view that the
// system's registry editor writes to.
class Win32Registry final : public Registry {
public:
    OpenedKey Open(RootKey root, std::string_view path) override;
};

}  // namespace claverix::platform::win32
