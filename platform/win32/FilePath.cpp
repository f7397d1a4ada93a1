#include "platform/win32/FilePath.h"

#include <windows.h>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

// CreateDirectory leaves room for an 8.3 name in the directory it makes.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12 - 1;

constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kLongSharePrefix = L"\\\\?\\UNC\\";

std::wstring FullPath(const std::wstring& path) {
    DWORD room = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(room, L'\0');
    DWORD length = room == 0 ? 0 : ::GetFullPathNameW(path.c_str(), room, full.data(), nullptr);
    full.resize(length < room ? length : 0);
    return full;
}

}  // namespace

std::wstring FilePathForSystem(std::string_view utf8Path) {
    return FilePathForSystem(Utf8ToWide(utf8Path));
}

std::wstring FilePathForSystem(std::wstring path) {
    if (path.size() <= kLongestPlainPath || path.starts_with(kLongPrefix) ||
        path.starts_with(kDevicePrefix)) {
        return path;
    }
    std::wstring full = FullPath(path);
    if (full.empty()) {
        return path;  // the call that takes it says why it cannot be used
    }
    if (full.starts_with(L"\\\\")) {
        return std::wstring(kLongSharePrefix) + full.substr(2);
    }
    return std::wstring(kLongPrefix) + full;
}

}  // namespace claverix::platform::win32
