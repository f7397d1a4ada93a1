#include "platform/win32/Win32Registry.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/Unicode.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
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
constexpr DWORD kFirstSecurityCapacity = 256;

// NtQueryKey's KeyFlagsInformation (winternl.h leaves it out): what Windows
// says of a key itself. Wine 8 does not answer it.
constexpr int kKeyFlagsInformation = 5;
constexpr ULONG kKeyFlagVolatile = 0x1;
constexpr ULONG kKeyFlagLink = 0x2;
struct KeyFlags {
    ULONG wow64Flags;
    ULONG keyFlags;
    ULONG controlFlags;
};
using NtQueryKeyFunction = LONG(NTAPI*)(HANDLE key, int informationClass, void* information, ULONG length,
                                        ULONG* resultLength);

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

// A name the registry holds, in UTF-8; false when it has no UTF-8 form.
bool Utf8Name(std::wstring_view wide, std::string& utf8) {
    if (HasUnpairedSurrogate(
            std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()))) {
        return false;
    }
    utf8 = WideToUtf8(wide);
    return true;
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
    std::vector<BYTE> security = std::vector<BYTE>(kFirstSecurityCapacity);
    // The access rules of each root read so far: the rules Wine gives every key (see OwnAccessRules).
    std::map<HKEY, std::string> rootRules;
};

namespace {

// The security descriptor of `key`, its DACL only, in `buffer`; false when
// it cannot be read.
bool ReadDacl(HKEY key, std::vector<BYTE>& buffer) {
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        LSTATUS status = ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, buffer.data(), &size);
        if (status == ERROR_INSUFFICIENT_BUFFER && size > buffer.size()) {
            buffer.resize(size);
            continue;
        }
        return status == ERROR_SUCCESS;
    }
}

// The rules of a DACL, its access control entries, as bytes.
std::string_view RuleBytes(const ACL& dacl) {
    const auto* first = reinterpret_cast<const char*>(&dacl) + sizeof(ACL);
    const char* end = first;
    for (WORD index = 0; index < dacl.AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(const_cast<ACL*>(&dacl), index, &ace)) {
            break;
        }
        end = static_cast<const char*>(ace) + static_cast<const ACE_HEADER*>(ace)->AceSize;
    }
    return {first, static_cast<std::size_t>(end - first)};
}

bool AllRulesInherited(const ACL& dacl) {
    for (WORD index = 0; index < dacl.AceCount; ++index) {
        void* ace = nullptr;
        if (!::GetAce(const_cast<ACL*>(&dacl), index, &ace) ||
            !(static_cast<const ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE)) {
            return false;
        }
    }
    return true;
}

// The rules of a root, read once: those Wine gives every key.
const std::string& RootRules(HKEY root, RegistryBuffers& buffers) {
    auto known = buffers.rootRules.find(root);
    if (known == buffers.rootRules.end()) {
        std::vector<BYTE> descriptor(kFirstSecurityCapacity);
        BOOL present = FALSE;
        BOOL defaulted = FALSE;
        ACL* dacl = nullptr;
        bool read = ReadDacl(root, descriptor) &&
                    ::GetSecurityDescriptorDacl(descriptor.data(), &present, &dacl, &defaulted) && present &&
                    dacl != nullptr;
        known = buffers.rootRules.emplace(root, read ? std::string(RuleBytes(*dacl)) : std::string()).first;
    }
    return known->second;
}

// Whether `key` (under `root`) has access rules of its own, which a key the
// importer creates again would not get: its DACL is missing or protected
// from what its parent passes on, or holds a rule not inherited. Windows
// marks inherited rules. Wine does not: every key created without a
// descriptor reports the one the server gives all keys, the roots included,
// none of its rules marked inherited; so rules not inherited that are
// exactly the root's are no key's own.
bool OwnAccessRules(HKEY key, HKEY root, RegistryBuffers& buffers) {
    if (!ReadDacl(key, buffers.security)) {
        return false;  // nothing is said of what cannot be read
    }
    PSECURITY_DESCRIPTOR descriptor = buffers.security.data();
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    ACL* dacl = nullptr;
    if (!::GetSecurityDescriptorControl(descriptor, &control, &revision) ||
        !::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) {
        return false;
    }
    if (!present || dacl == nullptr || (control & SE_DACL_PROTECTED)) {
        return true;
    }
    return !AllRulesInherited(*dacl) && RuleBytes(*dacl) != RootRules(root, buffers);
}

// Where a link keeps its target, on Windows and under Wine alike.
constexpr std::wstring_view kLinkValueName = L"SymbolicLinkValue";

bool HoldsLinkTarget(HKEY key) {
    DWORD type = REG_NONE;
    LSTATUS status = ::RegQueryValueExW(key, kLinkValueName.data(), nullptr, &type, nullptr, nullptr);
    return status == ERROR_SUCCESS && type == REG_LINK;
}

// What one call tells of a key: whether it has a class name, and whether it
// may hold a link's target, which a key whose value names are all shorter
// cannot: most keys are known no link without asking for the value.
struct KeyInfo {
    bool className;
    bool mayHoldLinkTarget;
};

KeyInfo QueryKeyInfo(HKEY key) {
    wchar_t className[2];
    DWORD classLength = 2;
    DWORD longestValueName = 0;
    LSTATUS status = ::RegQueryInfoKeyW(key, className, &classLength, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, &longestValueName, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
        return {classLength > 0, longestValueName >= kLinkValueName.size()};
    }
    // A class name too long for the buffer: Windows says ERROR_MORE_DATA,
    // Wine ERROR_INSUFFICIENT_BUFFER; the value names are left unknown.
    return {status == ERROR_MORE_DATA || status == ERROR_INSUFFICIENT_BUFFER, true};
}

class Win32Key final : public RegistryKey {
public:
    Win32Key(HKEY key, HKEY root, std::wstring_view path, REGSAM access,
             std::shared_ptr<RegistryBuffers> buffers)
        : key_(key),
          root_(root),
          path_(path),
          access_(access),
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
                if (!Utf8Name(std::wstring_view(name_.data(), nameLength), out.name)) {
                    return kRegNameHasNoUtf8;
                }
                out.type = type;
                out.data.assign(reinterpret_cast<const char*>(data_.data()), dataSize);
            }
            return status;
        }
    }

    RegStatus SubKeyNameAt(std::uint32_t index, std::string& name) override {
        std::wstring_view wide;
        LSTATUS status = WideSubKeyNameAt(index, wide);
        if (status == ERROR_SUCCESS && !Utf8Name(wide, name)) {
            return kRegNameHasNoUtf8;
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

    // Read from the key opened again as itself: the key opened to read
    // values is the one a link leads to.
    KeyTraits Traits() override {
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(root_, path_.c_str(), REG_OPTION_OPEN_LINK, access_, &opened) != ERROR_SUCCESS) {
            return {};
        }
        UniqueHKey key(opened);
        KeyTraits traits;
        KeyInfo info = QueryKeyInfo(key.Get());
        traits.className = info.className;
        static const auto queryKey = OptionalSystemFunction<NtQueryKeyFunction>(L"ntdll.dll", "NtQueryKey");
        KeyFlags flags{};
        ULONG length = 0;
        bool answered = queryKey != nullptr &&
                        queryKey(key.Get(), kKeyFlagsInformation, &flags, sizeof flags, &length) >= 0;
        traits.isVolatile = answered && (flags.keyFlags & kKeyFlagVolatile) != 0;
        traits.symbolicLink = (answered && (flags.keyFlags & kKeyFlagLink) != 0) ||
                              (info.mayHoldLinkTarget && HoldsLinkTarget(key.Get()));
        traits.ownAccessRules = OwnAccessRules(key.Get(), root_, *buffers_);
        return traits;
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
    HKEY root_;
    std::wstring path_;
    REGSAM access_;  // in the view the key was opened in
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
    return {ERROR_SUCCESS, std::make_unique<Win32Key>(key, rootHandle, path_, ReadAccess(view_), buffers_)};
}

}  // namespace claverix::platform::win32
