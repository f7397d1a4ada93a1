#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace claverix::platform {

// The predefined registry roots, by the handle values Windows gives them.
enum class RootKey : std::uint32_t {
    None = 0,
    ClassesRoot = 0x80000000,
    CurrentUser = 0x80000001,
    LocalMachine = 0x80000002,
    Users = 0x80000003,
    PerformanceData = 0x80000004,
    CurrentConfig = 0x80000005,
    DynData = 0x80000006,
};

// HKEY_CLASSES_ROOT's key `path` as the per-user classes and the machine's
// store it, below HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE: Windows shows the
// two as one, and writes to either.
inline std::string StoredClassesPath(std::string_view path) {
    std::string stored = "Software\\Classes";
    if (!path.empty()) {
        stored.append(1, '\\').append(path);
    }
    return stored;
}

// Registry results are Win32 error codes, whatever implements the registry.
using RegStatus = long;
inline constexpr RegStatus kRegSuccess = 0;
inline constexpr RegStatus kRegFileNotFound = 2;
inline constexpr RegStatus kRegAccessDenied = 5;
inline constexpr RegStatus kRegInvalidHandle = 6;
inline constexpr RegStatus kRegNoMoreItems = 259;
// An enumerated value or sub-key whose name has no UTF-8 form: it holds a
// UTF-16 surrogate without its pair. The entry exists, but cannot be named
// (ERROR_NO_UNICODE_TRANSLATION); the next index goes on.
inline constexpr RegStatus kRegNameHasNoUtf8 = 1113;

// Value types the export names specially; any other number is carried as is.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// One value as the registry holds it: its name in UTF-8 (empty: the default
// value) and its data byte for byte, which for the string types is UTF-16LE.
struct RegistryValue {
    std::string name;
    std::uint32_t type = kRegNone;
    std::string data;
};

// What a key may hold beyond its name, values and sub-keys: a registry file
// cannot set any of these back, as the importer creates a key from its name only.
struct KeyTraits {
    bool className = false;       // a class name, given when it was created
    bool isVolatile = false;      // kept in memory only, gone when the system restarts
    bool symbolicLink = false;    // a link to another key
    bool ownAccessRules = false;  // access rules of its own, not those a new key inherits
};

// An open key; closing it is the destructor's job. Names are UTF-8.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value at `index` in enumeration order, whole whatever its size.
    // kRegNoMoreItems past the last one, kRegNameHasNoUtf8 for a name without
    // a UTF-8 form; `out` keeps its buffers between calls.
    virtual RegStatus ValueAt(std::uint32_t index, RegistryValue& out) = 0;

    // The name of the sub-key at `index`; kRegNoMoreItems past the last one,
    // kRegNameHasNoUtf8 for a name without a UTF-8 form.
    virtual RegStatus SubKeyNameAt(std::uint32_t index, std::string& name) = 0;

    // The value called `name` (empty: the default value), whole.
    // kRegFileNotFound when the key has no such value.
    virtual RegStatus QueryValue(std::string_view name, RegistryValue& out) = 0;

    // The spelling under which the key holds the value, or the sub-key, that
    // `name` designates: names are compared without regard to letter case, and
    // what is deleted must come back under its own spelling. Nullopt when the
    // key holds none.
    virtual std::optional<std::string> StoredValueName(std::string_view name) = 0;
    virtual std::optional<std::string> StoredSubKeyName(std::string_view name) = 0;

    // What the key holds that a registry file cannot carry, as far as the
    // system tells; the key itself, not the one a symbolic link leads to.
    virtual KeyTraits Traits() = 0;
};

struct OpenedKey {
    RegStatus status = kRegFileNotFound;
    std::unique_ptr<RegistryKey> key;  // set only when status is kRegSuccess
};

// Which of Windows' two views of the registry: the 64-bit one, which the
// system's own registry editor writes, or the one 32-bit programs see, where
// Windows redirects some keys (Software, among others) to Wow6432Node.
enum class RegistryView { Bits64, Bits32 };

// Read access to the registry, in one view, the one the importer the
// program starts writes to, with every character of names and paths (UTF-8 here).
class Registry {
public:
    virtual ~Registry() = default;

    virtual RegistryView View() const = 0;

    // Opens `path` (no leading backslash; empty: the root itself) for reading.
    virtual OpenedKey Open(RootKey root, std::string_view path) = 0;
};

}  // namespace claverix::platform
