#include "bench/Floors.h"

#include <windows.h>

#include <stdexcept>
#include <string_view>
#include <vector>

#include "bench/RegFiles.h"
#include "engine/RegFileFormat.h"
#include "platform/win32/Handles.h"

namespace claverix::bench {

using platform::win32::UniqueFindHandle;
using platform::win32::UniqueHKey;

namespace {

constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;
constexpr std::string_view kKeyLineStart = "[HKEY_CURRENT_USER\\";
// Large enough for every name and value of the benchmark's tree: no call is repeated.
constexpr DWORD kNameCapacity = 16384;
constexpr DWORD kDataCapacity = 1 << 16;

// The benchmark's names are ASCII.
std::wstring Widened(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

UniqueHKey OpenForReading(const std::wstring& path) {
    HKEY key = nullptr;
    ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, kReadAccess, &key);
    return UniqueHKey(key);
}

void CheckWhole(LSTATUS status) {
    if (status == ERROR_MORE_DATA) {
        throw std::logic_error("a floor's buffer is too small for the benchmark's tree");
    }
}

class TreeWalk {
public:
    std::size_t Run(std::wstring path) {
        Walk(path);
        return calls_;
    }

private:
    void Walk(std::wstring& path) {
        ++calls_;
        UniqueHKey key = OpenForReading(path);
        if (!key) {
            return;
        }
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = kNameCapacity;
            DWORD dataSize = kDataCapacity;
            DWORD type = 0;
            ++calls_;
            LSTATUS status = ::RegEnumValueW(key.Get(), index, name_.data(), &nameLength, nullptr, &type,
                                             data_.data(), &dataSize);
            CheckWhole(status);
            if (status != ERROR_SUCCESS) {
                break;
            }
        }
        const std::size_t parentLength = path.size();
        for (DWORD index = 0;; ++index) {
            DWORD nameLength = kNameCapacity;
            ++calls_;
            LSTATUS status = ::RegEnumKeyExW(key.Get(), index, name_.data(), &nameLength, nullptr, nullptr,
                                             nullptr, nullptr);
            CheckWhole(status);
            if (status != ERROR_SUCCESS) {
                break;
            }
            path.append(L"\\").append(name_.data(), nameLength);
            Walk(path);
            path.resize(parentLength);
        }
    }

    std::vector<wchar_t> name_ = std::vector<wchar_t>(kNameCapacity);
    std::vector<BYTE> data_ = std::vector<BYTE>(kDataCapacity);
    std::size_t calls_ = 0;
};

}  // namespace

std::size_t AnalysisFloor(const std::string& path) {
    std::string text = ReadBytes(path);
    std::vector<BYTE> data(kDataCapacity);
    std::wstring name;
    UniqueHKey key;
    std::size_t calls = 0;
    engine::LineReader reader(text);
    for (std::string_view line; reader.Next(line);) {
        if (line.starts_with('[')) {
            name = Widened(line.substr(kKeyLineStart.size(), line.size() - kKeyLineStart.size() - 1));
            key = OpenForReading(name);
            ++calls;
        } else if (key && (line.starts_with('"') || line.starts_with('@'))) {
            name =
                Widened(line.starts_with('@') ? std::string_view{} : line.substr(1, line.find('"', 1) - 1));
            DWORD dataSize = kDataCapacity;
            DWORD type = 0;
            CheckWhole(::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &dataSize));
            ++calls;
        }
    }
    return calls;
}

std::size_t ReadsFloor(const std::vector<KeyReads>& keys) {
    std::vector<BYTE> data(kDataCapacity);
    std::size_t calls = 0;
    for (const KeyReads& read : keys) {
        UniqueHKey key = OpenForReading(read.path);
        ++calls;
        for (const std::wstring& name : read.valueNames) {
            DWORD dataSize = kDataCapacity;
            DWORD type = 0;
            if (key) {
                CheckWhole(
                    ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &dataSize));
                ++calls;
            }
        }
    }
    return calls;
}

std::size_t ExportFloor(const std::string& path) {
    return TreeWalk().Run(Widened(path));
}

std::size_t ListingFloor(const std::string& directory) {
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(::FindFirstFileA((directory + "\\*.reg").c_str(), &entry));
    if (!search) {
        throw std::runtime_error("cannot list " + directory);
    }
    std::size_t calls = 1;
    while (::FindNextFileA(search.Get(), &entry)) {
        ++calls;
    }
    return calls + 1;  // the last call, which found nothing more
}

std::size_t SearchFloor(const std::string& directory, const std::vector<std::string>& names,
                        std::string_view text) {
    std::size_t calls = 0;
    std::string bytes;
    for (const std::string& name : names) {
        platform::win32::UniqueFileHandle file(::CreateFileA((directory + "\\" + name).c_str(), GENERIC_READ,
                                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        DWORD read = 0;
        if (!file || !::GetFileSizeEx(file.Get(), &size)) {
            throw std::runtime_error("cannot read " + name);
        }
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
            throw std::runtime_error("cannot read " + name);
        }
        calls += 3;
        if (std::string_view(bytes).substr(0, read).find(text) != std::string_view::npos) {
            return calls;
        }
    }
    throw std::runtime_error("no file holds " + std::string(text));
}

}  // namespace claverix::bench
