#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

namespace claverix::tests {

// The DPI a "--dpi=N" run asked for, or 0 in a plain run.
inline UINT RequestedDpi() {
    const char* requested = std::getenv("CLAVERIX_TEST_DPI");
    return requested != nullptr ? static_cast<UINT>(std::stoul(requested)) : 0;
}

}  // namespace claverix::tests
