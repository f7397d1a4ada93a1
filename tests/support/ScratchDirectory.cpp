#include "tests/support/ScratchDirectory.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

namespace claverix::tests {

namespace {

// Read-only files, which some tests make, are removed too.
void RemoveTree(const std::filesystem::path& path) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path, ignored);
}

}  // namespace

ScratchDirectory::ScratchDirectory(std::string_view purpose) {
    static std::atomic<int> count{0};
    wchar_t temp[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    path_ = Utf8(std::filesystem::path(std::wstring_view(temp, length))) + "claverix-" +
            std::string(purpose) + "-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++count);
    RemoveTree(FileSystemPath(path_));
    std::filesystem::create_directories(FileSystemPath(path_));
}

ScratchDirectory::~ScratchDirectory() {
    RemoveTree(FileSystemPath(path_));
}

std::filesystem::path FileSystemPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8(const std::filesystem::path& path) {
    std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

}  // namespace claverix::tests
