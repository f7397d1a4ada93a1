#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

// The program reads the 64-bit view and starts the system's own, 64-bit,
// registry editor: built for 32 bits, it would run under WOW64, its importer
// writing the 32-bit view of the keys that Windows redirects.
static_assert(sizeof(void*) == 8, "Claverix is a 64-bit program: build it for x64");

namespace {

REGSAM ReadAccess(RegistryView view) {
    return KEY_READ | (view == RegistryView::Bits32 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
}
constexpr DWORD kFirstNameCapacity = 256;
constexpr DWORD kFirstDataCapacity = 1024;

HKEY RootHandle(RootKey root) {
    switch (root) {
        case RootKey::ClassesRoot:
            return HKEY_CLASSES_ROOT;
        case RootKey::CurrentUser:
            return HKEY_CURRENT_USER;
        case RootKey::LocalMachine:
            return HKEY_LOCAL_MACHINE;
        case RootKey::Users:
            return HKEY_USERS;
        case RootKey::PerformanceData:
            return HKEY_PERFORMANCE_DATA;
        case RootKey::CurrentConfig:
            return HKEY_CURRENT_CONFIG;
        case RootKey::DynData:
            return HKEY_DYN_DATA;
        case RootKey::None:
            break;
    }
    return nullptr;
}

// A UTF-8 name or path for the wide functions, in `wide`; an ASCII one, as
// most are, without a conversion.
void WideName(std::string_view utf8, std::wstring& wide) {
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        wide.resize(utf8.size());
        std::copy(utf8.begin(), utf8.end(), wide.begin());
    } else {
        wide = Utf8ToWide(utf8);
    }
}

// Grows a buffer after ERROR_MORE_DATA: to what the call asked for when it
// said, at least twice the size otherwise.
template <typename Buffer>
void Grow(Buffer& buffer, DWORD wanted) {
    buffer.resize(std::max(buffer.size() * 2, static_cast<std::size_t>(wanted) + 1));
}

}  // namespace

struct RegistryBuffers {
    std::vector<wchar_t> name = std::vector<wchar_t>(kFirstNameCapacity);
    std::vector<BYTE> data = std::vector<BYTE>(kFirstDataCapacity);
    std::wstring wideName;
};

namespace {

class Win32Key final : public RegistryKey {
public:
    Win32Key(HKEY key, std::shared_ptr<RegistryBuffers> buffers)
        : key_(key),
          buffers_(std::move(buffers)),
          name_(buffers_->name),
          data_(buffers_->data),
          wideName_(buffers_->wideName) {}

    RegStatus ValueAt(std::uint32_t index, RegistryValue& out) override {
        for (;;) {
            DWORD nameLength = static_cast<DWORD>(name_.size());
            DWORD dataSize = static_cast<DWORD>(data_.size());
            DWORD type = 0;
            LSTATUS status = ::RegEnumValueW(key_.Get(), index, name_.data(), &nameLength, nullptr, &type,
                                             data_.data(), &dataSize);
            if (status == ERROR_MORE_DATA) {
                // Either the name or the data did not fit; the sizes handed back say little
                // for the name, so both grow.
                Grow(name_, nameLength);
                Grow(data_, dataSize);
                continue;
            }
            if (status == ERROR_SUCCESS) {
                out.name = WideToUtf8(std::wstring_view(name_.data(), nameLength));
                out.type = type;
                out.data.assign(reinterpret_cast<const char*>(data_.data()), dataSize);
            }
            return status;
        }
    }

    RegStatus SubKeyNameAt(std::uint32_t index, std::string& name) override {
        std::wstring_view wide;
        LSTATUS status = WideSubKeyNameAt(index, wide);
        if (status == ERROR_SUCCESS) {
            name = WideToUtf8(wide);
        }
        return status;
    }

    RegStatus QueryValue(std::string_view name, RegistryValue& out) override {
        WideName(name, wideName_);
        for (;;) {
            DWORD dataSize = static_cast<DWORD>(data_.size());
            DWORD type = 0;
            LSTATUS status =
                ::RegQueryValueExW(key_.Get(), wideName_.c_str(), nullptr, &type, data_.data(), &dataSize);
            if (status == ERROR_MORE_DATA) {
                Grow(data_, dataSize);
                continue;
            }
            if (status == ERROR_SUCCESS) {
                out.name.assign(name);
                out.type = type;
                out.data.assign(reinterpret_cast<const char*>(data_.data()), dataSize);
            }
            return status;
        }
    }

    std::optional<std::string> StoredValueName(std::string_view name) override {
        return FindStoredName(name, [this](std::uint32_t index, std::wstring_view& found) {
            DWORD nameLength = static_cast<DWORD>(name_.size());
            LSTATUS status = ::RegEnumValueW(key_.Get(), index, name_.data(), &nameLength, nullptr, nullptr,
                                             nullptr, nullptr);
            if (status == ERROR_MORE_DATA) {
                Grow(name_, nameLength);
            } else if (status == ERROR_SUCCESS) {
                found = std::wstring_view(name_.data(), nameLength);
            }
            return status;
        });
    }

    std::optional<std::string> StoredSubKeyName(std::string_view name) override {
        return FindStoredName(name, [this](std::uint32_t index, std::wstring_view& found) {
            return WideSubKeyNameAt(index, found);
        });
    }

private:
    // The name stays valid until the next call.
    LSTATUS WideSubKeyNameAt(std::uint32_t index, std::wstring_view& name) {
        for (;;) {
            DWORD nameLength = static_cast<DWORD>(name_.size());
            LSTATUS status = ::RegEnumKeyExW(key_.Get(), index, name_.data(), &nameLength, nullptr, nullptr,
                                             nullptr, nullptr);
            if (status == ERROR_MORE_DATA) {
                Grow(name_, nameLength);
                continue;
            }
            if (status == ERROR_SUCCESS) {
                name = std::wstring_view(name_.data(), nameLength);
            }
            return status;
        }
    }

    // Enumerates names with `nameAt` (which may ask for the same index again
    // with ERROR_MORE_DATA) until one equals `name` as the registry compares
    // names: ordinally, without regard to letter case, in Unicode.
    template <typename NameAt>
    static std::optional<std::string> FindStoredName(std::string_view name, NameAt nameAt) {
        std::wstring wanted = Utf8ToWide(name);
        std::wstring_view candidate;
        for (std::uint32_t index = 0;;) {
            LSTATUS status = nameAt(index, candidate);
            if (status == ERROR_MORE_DATA) {
                continue;
            }
            if (status != ERROR_SUCCESS) {
                return std::nullopt;
            }
            if (::CompareStringOrdinal(candidate.data(), static_cast<int>(candidate.size()), wanted.data(),
                                       static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
                return WideToUtf8(candidate);
            }
            ++index;
        }
    }

    UniqueHKey key_;
    std::shared_ptr<RegistryBuffers> buffers_;
    std::vector<wchar_t>& name_;
    std::vector<BYTE>& data_;
    std::wstring& wideName_;
};

}  // namespace

Win32Registry::Win32Registry(RegistryView view)
    : view_(view), buffers_(std::make_shared<RegistryBuffers>()) {}

Win32Registry::~Win32Registry() = default;

OpenedKey Win32Registry::Open(RootKey root, std::string_view path) {
    HKEY rootHandle = RootHandle(root);
    if (rootHandle == nullptr) {
        return {ERROR_INVALID_HANDLE, nullptr};
    }
    HKEY key = nullptr;
    WideName(path, path_);
    LSTATUS status = ::RegOpenKeyExW(rootHandle, path_.c_str(), 0, ReadAccess(view_), &key);
    if (status != ERROR_SUCCESS) {
        return {status, nullptr};
    }
    return {ERROR_SUCCESS, std::make_unique<Win32Key>(key, buffers_)};
}

}  // namespace claverix::platform::win32
