#include "platform/win32/Win32Environment.h"

#include <windows.h>

#include "platform/win32/Handles.h"
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
    TIME_ZONE_INFORMATION zone{};
    DWORD daylight = ::GetTimeZoneInformation(&zone);
    // The bias is what UTC is ahead of local time, in minutes.
    LONG bias = zone.Bias + (daylight == TIME_ZONE_ID_DAYLIGHT   ? zone.DaylightBias
                             : daylight == TIME_ZONE_ID_STANDARD ? zone.StandardBias
                                                                 : 0);
    return {time.wYear,   time.wMonth,  time.wDay,          time.wHour,
            time.wMinute, time.wSecond, time.wMilliseconds, static_cast<int>(-bias)};
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

std::string Win32Environment::ComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return ::GetComputerNameW(name, &size) ? WideToUtf8(std::wstring_view(name, size)) : std::string{};
}

std::string Win32Environment::UserName() {
    wchar_t name[257] = {};  // UNLEN + 1
    DWORD size = 257;
    return ::GetUserNameW(name, &size) ? WideToUtf8(name) : std::string{};
}

bool Win32Environment::RunsAsSystem() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return false;
    }
    UniqueKernelHandle owned(token);
    alignas(TOKEN_USER) unsigned char buffer[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size)) {
        return false;
    }
    return ::IsWellKnownSid(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid) != FALSE;
}

}  // namespace claverix::platform::win32
