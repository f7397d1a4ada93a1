#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>

#include "platform/win32/Handles.h"

namespace claverix::tests {

// A key of its own below HKEY_CURRENT_USER\<parent>, named after the process
// and a count, gone with everything in it when this ends, and its parent with
// the last of its keys. Wine reuses process ids: what an interrupted run left
// under the same name goes first. The parent exists meanwhile, the key not
// yet: a test may need it missing, and a file that creates it then creates
// no more than it. Names are ASCII.
class ScratchKey {
public:
    explicit ScratchKey(std::string_view parent) : parent_(parent) {
        static std::atomic<int> count{0};
        path_ = parent_ + "\\" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++count);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        HKEY created = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, parent_.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &created,
                          nullptr);
        platform::win32::UniqueHKey closed(created);
    }
    ~ScratchKey() {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        ::RegDeleteKeyA(HKEY_CURRENT_USER, parent_.c_str());  // fails while another key is left in it
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // Below HKEY_CURRENT_USER.
    const std::string& Path() const { return path_; }

private:
    std::string parent_;
    std::string path_;
};

}  // namespace claverix::tests
