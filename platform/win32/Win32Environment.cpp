#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

std::string Win32Environment::ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return WideToUtf8(path);
        }
        path.resize(path.size() * 2);  // cut: try again with more room
    }
}

std::string Win32Environment::WindowsDirectory() {
    // The system's directory, not a per-user one that a terminal server may give.
    UINT room = ::GetSystemWindowsDirectoryW(nullptr, 0);
    std::wstring directory(room, L'\0');
    UINT length = room == 0 ? 0 : ::GetSystemWindowsDirectoryW(directory.data(), room);
    directory.resize(length < room ? length : 0);
    return WideToUtf8(directory);
}

LocalTime Win32Environment::Now() {
    SYSTEMTIME time{};
    ::GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::string Win32Environment::ExpandVariables(const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    DWORD size = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    std::wstring expanded(size, L'\0');
    if (size == 0 || ::ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size) == 0) {
        return text;
    }
    expanded.resize(expanded.find(L'\0'));
    return WideToUtf8(expanded);
}

}  // namespace claverix::platform::win32
