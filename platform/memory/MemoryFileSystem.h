#pragma once

#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace claverix::platform {

// Files in memory under Windows-style paths that ignore letter case. Files
// can only be created in directories that exist; any path can be made to fail.
class MemoryFileSystem final : public FileSystem {
public:
    FileError Read(const std::string& path, std::string& bytes) override;
    FileError Replace(const std::string& path, std::span<const std::string_view> pieces) override;
    FileError CreateNew(const std::string& path, std::span<const std::string_view> pieces) override;
    FileError Rename(const std::string& from, const std::string& to) override;
    FileError Append(const std::string& path, std::string_view bytes) override;
    FileError Remove(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::optional<std::uint64_t> LastWritten(const std::string& path) override;
    std::string CurrentDirectory() override { return currentDirectory_; }
    FileError MakeDirectory(const std::string& path) override;
    std::optional<std::vector<std::string>> ListFiles(const std::string& directory,
                                                      std::string_view ending) override;
    bool IsDirectory(const std::string& path) override;
    FileError ChangeCurrentDirectory(const std::string& path) override;

    void AddDirectory(const std::string& path);
    // Every later read, write, rename or removal of `path` fails with `code`.
    void FailOn(const std::string& path, std::uint32_t code);

    // The file's bytes, empty when it does not exist; for checks.
    std::string Contents(const std::string& path) const;
    // The names, as given, of the files in `directory`.
    std::set<std::string> FileNamesIn(const std::string& directory) const;

private:
    struct File {
        std::string path;  // as given, for listing
        std::string bytes;
        std::uint64_t written = 0;  // the write's rank among all writes
    };

    FileError Check(const std::string& path) const;
    FileError CheckDirectoryOf(const std::string& path) const;

    std::map<std::string, File> files_;  // by folded path
    std::set<std::string> directories_;  // folded
    std::map<std::string, std::uint32_t> failures_;
    std::uint64_t writes_ = 0;
    std::string currentDirectory_ = "C:\\";
};

}  // namespace claverix::platform
