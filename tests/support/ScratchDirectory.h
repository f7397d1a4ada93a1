#pragma once

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

    // Without trailing backslash.
    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

}  // namespace claverix::tests
