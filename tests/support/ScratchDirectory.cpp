#include "tests/support/ScratchDirectory.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

namespace claverix::tests {

namespace {

// Read-only files, which some tests make, are removed too.
void RemoveTree(const std::string& path) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ignored);
}

}  // namespace

ScratchDirectory::ScratchDirectory(std::string_view purpose) {
    static std::atomic<int> count{0};
    char temp[MAX_PATH];
    DWORD length = ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp, length) + "claverix-" + std::string(purpose) + "-" +
            std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++count);
    RemoveTree(path_);
    std::filesystem::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
    RemoveTree(path_);
}

}  // namespace claverix::tests
