#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace claverix::tests {

// A directory of its own under the temporary directory, named after what it
// is for, the process and a count, gone with everything in it when this
// ends. Wine reuses process ids: what an interrupted run left under the same
// name goes first.
class ScratchDirectory {
public:
    explicit ScratchDirectory(std::string_view purpose);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // UTF-8, without trailing backslash.
    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

// A UTF-8 path as the standard library takes it: a plain string would be
// read in the ANSI code page.
std::filesystem::path FileSystemPath(std::string_view utf8);
std::string Utf8(const std::filesystem::path& path);

}  // namespace claverix::tests
