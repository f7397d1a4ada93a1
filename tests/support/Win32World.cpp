#include <windows.h>

#include <atomic>

#include "platform/win32/FilePath.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/support/TestWorld.h"

namespace claverix::tests {

namespace {

constexpr REGSAM kWriteAccess = KEY_WRITE | KEY_WOW64_64KEY;

// Each world gets a key and a directory of its own, gone when it ends.
std::string UniqueSuffix() {
    static std::atomic<int> counter{0};
    return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

struct Win32Services {
    ScratchDirectory scratch{"tests"};
    platform::win32::Win32Registry win32Registry;
    platform::win32::Win32Profile win32Profile;
    platform::win32::Win32FileSystem win32Files;
    platform::win32::Win32TextCodec win32Codec;
};

// The real registry under a scratch key of HKEY_CURRENT_USER, real files in
// a scratch directory, real INI files and the system's code page.
class Win32World final : private Win32Services, public TestWorld {
public:
    Win32World()
        : TestWorld(win32Registry, win32Profile, win32Files, win32Codec,
                    "Software\\ClaverixTests\\" + UniqueSuffix(), scratch.Path()) {
        CreateKey(key());
    }

    ~Win32World() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, key().c_str());
        ::RegDeleteKeyExA(HKEY_CURRENT_USER, key().c_str(), KEY_WOW64_64KEY, 0);
    }

    // Wine's RegSetValueExW takes a zero character that follows string data
    // in memory for a forgotten terminator and stores it too; a non-zero guard
    // after the data keeps the stored bytes exactly those given.
    void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                  std::string_view data) override {
        HKEY key = Create(path);
        std::string guarded = std::string(data) + "\xFF\xFF";
        LSTATUS status =
            ::RegSetValueExW(key, platform::win32::Utf8ToWide(name).c_str(), 0, type,
                             reinterpret_cast<const BYTE*>(guarded.data()), static_cast<DWORD>(data.size()));
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("RegSetValueExW failed: " + std::to_string(status));
        }
    }

    void CreateKey(std::string_view path) override { ::RegCloseKey(Create(path)); }

    void DeleteValue(std::string_view path, std::string_view name) override {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, platform::win32::Utf8ToWide(path).c_str(),
                             platform::win32::Utf8ToWide(name).c_str());
    }

    void DeleteKey(std::string_view path) override {
        std::wstring wide = platform::win32::Utf8ToWide(path);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, wide.c_str());
        ::RegDeleteKeyExW(HKEY_CURRENT_USER, wide.c_str(), KEY_WOW64_64KEY, 0);
    }

    void MakeDirectory(const std::string& path) override {
        ::CreateDirectoryW(platform::win32::FilePathForSystem(path).c_str(), nullptr);
    }

    std::set<std::string> FilesIn(const std::string& directory) override {
        std::set<std::string> names;
        WIN32_FIND_DATAW entry;
        HANDLE search =
            ::FindFirstFileW(platform::win32::FilePathForSystem(directory + "\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                names.insert(platform::win32::WideToUtf8(entry.cFileName));
            }
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
        return names;
    }

private:
    static HKEY Create(std::string_view path) {
        HKEY key = nullptr;
        LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::Utf8ToWide(path).c_str(), 0,
                                           nullptr, 0, kWriteAccess, nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("RegCreateKeyExW failed: " + std::to_string(status));
        }
        return key;
    }
};

}  // namespace

std::unique_ptr<TestWorld> MakeWin32World() {
    return std::make_unique<Win32World>();
}

}  // namespace claverix::tests
