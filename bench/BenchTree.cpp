#include "bench/BenchTree.h"

#include <windows.h>

#include <array>
#include <stdexcept>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::bench {

using platform::RegistryValue;

namespace {

constexpr std::size_t kVendors = 20;
constexpr std::size_t kProductsPerVendor = 40;
constexpr std::size_t kComponentsPerProduct = 24;

constexpr std::array<std::string_view, BenchTree::kValuesPerKey> kSlotNames{
    "Description", "DisplayName", "InstallPath", "Version", "Flags",
    "LastUpdate",  "Options",     "SearchPaths", "Blob",    "Counter"};

constexpr std::array<std::string_view, 16> kWords{
    "Program Files", "Contoso",    "Fabrikam", "%USERPROFILE%", "Settings", "Update", "cache",   "v2.1",
    "en-US",         "\"quoted\"", "layout",   "Window",        "data",     "bin",    "Toolbar", "recent"};

// SplitMix64: cheap, and good enough to vary types and sizes.
std::uint64_t Mix(std::uint64_t seed) {
    seed += 0x9E3779B97F4A7C15ull;
    seed = (seed ^ (seed >> 30)) * 0xBF58476D1CE4E5B9ull;
    seed = (seed ^ (seed >> 27)) * 0x94D049BB133111EBull;
    return seed ^ (seed >> 31);
}

class Draws {
public:
    explicit Draws(std::uint64_t seed) : state_(seed) {}
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>((state_ = Mix(state_)) % bound); }

private:
    std::uint64_t state_;
};

// ASCII text as the registry holds a string: UTF-16LE.
std::string StringBytes(std::string_view ascii) {
    std::string bytes;
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// Words joined by backslashes or blanks, without the terminating zero.
std::string Text(Draws& draws, std::size_t minimumLength) {
    std::string text;
    do {
        if (!text.empty()) {
            text += draws.Below(2) == 0 ? '\\' : ' ';
        }
        text += kWords[draws.Below(kWords.size())];
    } while (text.size() < minimumLength || draws.Below(3) != 0);
    return text;
}

std::string Bytes(Draws& draws, std::size_t count) {
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(draws.Below(256));
    }
    return bytes;
}

std::string Number(std::uint64_t number, std::size_t size) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(number & 0xFF);
        number >>= 8;
    }
    return bytes;
}

void FillLargeValue(Draws& draws, RegistryValue& value) {
    if (draws.Below(2) == 0) {
        value.type = platform::kRegBinary;
        value.data = Bytes(draws, 1100 + draws.Below(3000));
    } else {
        value.type = platform::kRegSz;
        value.data = StringBytes(Text(draws, 1100 + draws.Below(2000)) + '\0');
    }
}

void FillSmallValue(Draws& draws, RegistryValue& value) {
    std::size_t pick = draws.Below(100);
    if (pick < 34) {
        value.type = platform::kRegSz;
        value.data = StringBytes(Text(draws, 4) + '\0');
    } else if (pick < 54) {
        value.type = platform::kRegDword;
        value.data = Number(draws.Below(1u << 20), 4);
    } else if (pick < 66) {
        value.type = platform::kRegBinary;
        value.data = Bytes(draws, 1 + draws.Below(48));
    } else if (pick < 76) {
        value.type = platform::kRegExpandSz;
        value.data = StringBytes("%SystemRoot%\\system32\\" + Text(draws, 1) + ".dll" + '\0');
    } else if (pick < 84) {
        value.type = platform::kRegMultiSz;
        for (std::size_t count = 1 + draws.Below(4); count > 0; --count) {
            value.data += StringBytes(Text(draws, 1) + '\0');
        }
        value.data += StringBytes(std::string(1, '\0'));
    } else if (pick < 94) {
        value.type = platform::kRegQword;
        value.data = Number(Mix(draws.Below(1u << 30)), 8);
    } else {
        value.type = platform::kRegNone;
        value.data = Bytes(draws, draws.Below(5));
    }
}

void Check(LSTATUS status, std::string_view call, std::string_view path) {
    if (status != ERROR_SUCCESS) {
        throw std::runtime_error(std::string(call) + " failed with " + std::to_string(status) + " for " +
                                 std::string(path));
    }
}

}  // namespace

RegistryValue RandomValue(std::uint64_t seed, std::string name) {
    Draws draws(seed);
    RegistryValue value;
    value.name = std::move(name);
    if (draws.Below(400) == 0) {
        FillLargeValue(draws, value);
    } else {
        FillSmallValue(draws, value);
    }
    return value;
}

BenchTree::BenchTree() {
    keyPaths_.emplace_back(kTreePath);
    for (std::size_t vendor = 0; vendor < kVendors; ++vendor) {
        std::string vendorPath = keyPaths_.front() + "\\Vendor" + std::to_string(vendor);
        keyPaths_.push_back(vendorPath);
        for (std::size_t product = 0; product < kProductsPerVendor; ++product) {
            std::string productPath = vendorPath + "\\Product" + std::to_string(product);
            keyPaths_.push_back(productPath);
            for (std::size_t component = 0; component < kComponentsPerProduct; ++component) {
                keyPaths_.push_back(productPath + "\\Component" + std::to_string(component));
            }
        }
    }
}

std::string BenchTree::ValueName(std::size_t key, std::size_t slot) const {
    // One key in four has a default value in place of its first named one.
    return slot == 0 && key % 4 == 0 ? std::string{} : std::string(kSlotNames[slot]);
}

RegistryValue BenchTree::Value(std::size_t key, std::size_t slot) const {
    return RandomValue(key * kValuesPerKey + slot, ValueName(key, slot));
}

void CreateTree(const BenchTree& tree) {
    DeleteTree();
    HKEY unicode = nullptr;
    std::wstring unicodePath =
        platform::win32::Utf8ToWide(kUnicodeKeyPath) + L"\\\u03A9\u03BC\u03AD\u03C1\u03B1";
    Check(::RegCreateKeyExW(HKEY_CURRENT_USER, unicodePath.c_str(), 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &unicode, nullptr),
          "RegCreateKeyExW", kUnicodeKeyPath);
    ::RegCloseKey(unicode);
    for (std::size_t key = 0; key < tree.KeyCount(); ++key) {
        const std::string& path = tree.KeyPath(key);
        HKEY created = nullptr;
        Check(::RegCreateKeyExW(HKEY_CURRENT_USER, platform::win32::Utf8ToWide(path).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &created, nullptr),
              "RegCreateKeyExW", path);
        platform::win32::UniqueHKey handle(created);
        for (std::size_t slot = 0; slot < BenchTree::kValuesPerKey; ++slot) {
            RegistryValue value = tree.Value(key, slot);
            Check(::RegSetValueExW(handle.Get(), platform::win32::Utf8ToWide(value.name).c_str(), 0,
                                   value.type, reinterpret_cast<const BYTE*>(value.data.data()),
                                   static_cast<DWORD>(value.data.size())),
                  "RegSetValueExW", path);
        }
    }
}

void DeleteTree() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, platform::win32::Utf8ToWide(kTreePath).c_str());
}

}  // namespace claverix::bench
