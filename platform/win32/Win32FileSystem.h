#pragma once

#include "platform/FileSystem.h"

namespace claverix::platform::win32 {

class Win32FileSystem final : public FileSystem {
public:
    FileError Read(const std::string& path, std::string& bytes) override;
    FileError Replace(const std::string& path, std::span<const std::string_view> pieces) override;
    FileError CreateNew(const std::string& path, std::span<const std::string_view> pieces) override;
    FileError Rename(const std::string& from, const std::string& to) override;
    FileError Append(const std::string& path, std::string_view bytes) override;
    FileError Remove(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::optional<std::uint64_t> LastWritten(const std::string& path) override;
    std::string CurrentDirectory() override;
    FileError MakeDirectory(const std::string& path) override;
    std::optional<std::vector<std::string>> ListFiles(const std::string& directory,
                                                      std::string_view ending) override;
    bool IsDirectory(const std::string& path) override;
    FileError ChangeCurrentDirectory(const std::string& path) override;
};

}  // namespace claverix::platform::win32
