#include "platform/win32/Win32Profile.h"

#include <windows.h>

#include <vector>

#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

std::string Win32Profile::Read(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view defaultValue, std::size_t capacity) {
    std::vector<char> buffer(capacity + 1, '\0');
    DWORD count = ::GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                             std::string(defaultValue).c_str(), buffer.data(),
                                             static_cast<DWORD>(capacity), file.c_str());
    return std::string(buffer.data(), count);
}

FileError Win32Profile::Write(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view value) {
    if (::WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(),
                                     std::string(value).c_str(), file.c_str())) {
        return {};
    }
    DWORD code = ::GetLastError();
    return {code, ErrorDescription(code)};
}

}  // namespace claverix::platform::win32
