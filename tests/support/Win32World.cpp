#include <windows.h>
// sddl.h needs windows.h first.
#include <sddl.h>

#include <vector>

#include "platform/win32/FilePath.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/support/ScratchKey.h"
#include "tests/support/TestWorld.h"

namespace claverix::tests {

namespace {

constexpr REGSAM kWriteAccess = KEY_WRITE | KEY_WOW64_64KEY;
constexpr int kKeyNameInformation = 3;
using NtQueryKeyFunction = LONG(NTAPI*)(HANDLE key, int informationClass, void* information, ULONG length,
                                        ULONG* resultLength);

// Each world gets a key and a directory of its own, gone when it ends.
struct Win32Services {
    ScratchKey scratchKey{"Software\\ClaverixTests"};
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
        : TestWorld(win32Registry, win32Profile, win32Files, win32Codec, scratchKey.Path(), scratch.Path()) {
        CreateKey(key());
    }

    // A link goes first, opened as itself, before the scratch key takes the
    // rest: deleting a tree through it would delete where it leads instead,
    // and Wine's RegDeleteTree stops there.
    ~Win32World() override {
        for (const std::wstring& link : links_) {
            HKEY key = nullptr;
            if (::RegOpenKeyExW(HKEY_CURRENT_USER, link.c_str(), REG_OPTION_OPEN_LINK,
                                DELETE | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
                ::RegDeleteKeyW(key, L"");  // the key itself
                ::RegCloseKey(key);
            }
        }
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

    void CreateKeyWithTraits(std::string_view path, const platform::KeyTraits& traits,
                             std::string_view linkTarget) override {
        wchar_t className[] = L"Claverix";
        DWORD options = (traits.isVolatile ? REG_OPTION_VOLATILE : 0) |
                        (traits.symbolicLink ? REG_OPTION_CREATE_LINK : 0);
        std::wstring wide = platform::win32::Utf8ToWide(path);
        HKEY key = nullptr;
        LSTATUS status = ::RegCreateKeyExW(
            HKEY_CURRENT_USER, wide.c_str(), 0, traits.className ? className : nullptr, options,
            KEY_ALL_ACCESS | KEY_CREATE_LINK | KEY_WOW64_64KEY, nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("RegCreateKeyExW failed: " + std::to_string(status));
        }
        if (traits.symbolicLink) {
            links_.push_back(wide);
            std::wstring target = FullName(linkTarget);
            status = ::RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                                      reinterpret_cast<const BYTE*>(target.data()),
                                      static_cast<DWORD>(target.size() * sizeof(wchar_t)));
        }
        if (traits.ownAccessRules && status == ERROR_SUCCESS) {
            status = SetRulesOfItsOwn(key);
        }
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("a key's traits could not be set: " + std::to_string(status));
        }
    }

    bool TellsVolatileKeys() const override {
        return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;
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
    // "\\REGISTRY\\USER\\...", the name a link's target is given by.
    static std::wstring FullName(std::string_view path) {
        HKEY key = Create(path);
        struct {
            ULONG bytes;
            wchar_t name[1024];
        } information{};
        ULONG length = 0;
        auto queryKey = reinterpret_cast<NtQueryKeyFunction>(
            reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
        LONG status = queryKey(key, kKeyNameInformation, &information, sizeof information, &length);
        ::RegCloseKey(key);
        if (status < 0) {
            throw std::runtime_error("NtQueryKey failed: " + std::to_string(status));
        }
        return std::wstring(information.name, information.bytes / sizeof(wchar_t));
    }

    // Everyone may do anything, a rule the key does not inherit.
    static LSTATUS SetRulesOfItsOwn(HKEY key) {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;KA;;;WD)", SDDL_REVISION_1,
                                                                    &descriptor, nullptr)) {
            return static_cast<LSTATUS>(::GetLastError());
        }
        LSTATUS status = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        ::LocalFree(descriptor);
        return status;
    }

    static HKEY Create(std::string_view path) {
        HKEY key = nullptr;
        LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::Utf8ToWide(path).c_str(), 0,
                                           nullptr, 0, kWriteAccess, nullptr, &key, nullptr);
        if (status != ERROR_SUCCESS) {
            throw std::runtime_error("RegCreateKeyExW failed: " + std::to_string(status));
        }
        return key;
    }

    std::vector<std::wstring> links_;
};

}  // namespace

std::unique_ptr<TestWorld> MakeWin32World() {
    return std::make_unique<Win32World>();
}

}  // namespace claverix::tests
