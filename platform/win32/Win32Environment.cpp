#include "platform/win32/Win32Environment.h"

#include <windows.h>

namespace claverix::platform::win32 {

std::string Win32Environment::ExecutablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: try again with more room
    }
}

std::string Win32Environment::WindowsDirectory() {
    // The system's directory, not a per-user one that a terminal server may give.
    char directory[MAX_PATH];
    UINT length = ::GetSystemWindowsDirectoryA(directory, MAX_PATH);
    return std::string(directory, length < MAX_PATH ? length : 0);
}

LocalTime Win32Environment::Now() {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::string Win32Environment::ExpandVariables(const std::string& text) {
    DWORD size = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    std::string expanded(size, '\0');
    if (size == 0 || ::ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size) == 0) {
        return text;
    }
    expanded.resize(expanded.find('\0'));
    return expanded;
}

}  // namespace claverix::platform::win32
