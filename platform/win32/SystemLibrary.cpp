#include "platform/win32/SystemLibrary.h"

#include <objbase.h>

namespace claverix::platform::win32 {

void EnsureComInitialized() {
    thread_local bool initialized = false;
    if (!initialized) {
        initialized = true;
        static const auto initialize =
            SystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
        initialize(nullptr, COINIT_APARTMENTTHREADED);
    }
}

}  // namespace claverix::platform::win32
