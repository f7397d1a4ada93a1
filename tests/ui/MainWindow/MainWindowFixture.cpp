#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <filesystem>

namespace claverix::ui {

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(directory, missing)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::optional<std::string> RegistryString(const std::string& key, const char* name) {
    char value[256] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

}  // namespace claverix::ui
