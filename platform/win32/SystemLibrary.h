#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace claverix::platform::win32 {

// A function of a system DLL, looked up when first needed: the DLL is loaded
// from the system directory then, not when the program starts. The program
// needs the shell's, the common dialogs' and COM's DLLs for a few commands
// only, and starts without them: under Wine they take tens of milliseconds
// to load. Null when the DLL or the function is missing (a function of a
// newer Windows).
template <typename Function>
Function OptionalSystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = ::GetModuleHandleW(library);
    if (module == nullptr) {
        module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

// The same for a function every supported Windows has; throws std::runtime_error when it is missing.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    Function function = OptionalSystemFunction<Function>(library, name);
    if (function == nullptr) {
        throw std::runtime_error(std::string("the system lacks ") + name);
    }
    return function;
}

// COM on this thread, as the shell's functions and the common dialogs need
// it; initialised the first time, left as it is at the process's end.
void EnsureComInitialized();

}  // namespace claverix::platform::win32
