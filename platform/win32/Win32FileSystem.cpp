#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <climits>
#include <cstdio>

#include "platform/Paths.h"
#include "platform/win32/FilePath.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

FileError LastError() {
    DWORD code = ::GetLastError();
    return {code, ErrorDescription(code)};
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

// Writes every piece and flushes them to the disk.
FileError WriteAll(HANDLE file, std::span<const std::string_view> pieces) {
    for (std::string_view piece : pieces) {
        while (!piece.empty()) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size(), INT_MAX));
            DWORD written = 0;
            if (!::WriteFile(file, piece.data(), chunk, &written, nullptr)) {
                return LastError();
            }
            piece.remove_prefix(written);
        }
    }
    if (!::FlushFileBuffers(file)) {
        return LastError();
    }
    return {};
}

// Writes a file that CreateFile has just made, closes it and, on failure,
// removes it again so that no partial file stays behind.
FileError FillNewFile(UniqueFileHandle file, const std::wstring& path,
                      std::span<const std::string_view> pieces) {
    FileError error = WriteAll(file.Get(), pieces);
    file.Reset(INVALID_HANDLE_VALUE);
    if (error.Failed()) {
        ::DeleteFileW(path.c_str());
    }
    return error;
}

// A new file beside `path`, "clx" and four hexadecimal digits, as
// GetTempFileName names them; made here because GetTempFileName takes no
// directory longer than MAX_PATH - 14. Its path goes to `temporary`.
UniqueFileHandle CreateTemporaryBeside(const std::string& path, std::wstring& temporary) {
    constexpr unsigned kNames = 0x10000;
    static unsigned next = ::GetTickCount();
    // `path` without its name, ending in its backslash.
    std::string_view directory = std::string_view(path).substr(0, path.size() - NameOf(path).size());
    for (unsigned tried = 0; tried < kNames; ++tried) {
        char name[16];
        std::snprintf(name, sizeof name, "clx%04X.tmp", ++next % kNames);
        temporary = FilePathForSystem(std::string(directory) + name);
        UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return UniqueFileHandle();  // every name is taken: the last error says so
}

FileError Move(const std::wstring& from, const std::wstring& to) {
    if (!::MoveFileW(from.c_str(), to.c_str())) {
        FileError error = LastError();
        // MoveFile says ERROR_ALREADY_EXISTS where CreateFile says ERROR_FILE_EXISTS.
        return error.code == ERROR_ALREADY_EXISTS ? FileError{kFileExists, ErrorDescription(kFileExists)}
                                                  : error;
    }
    return {};
}

DWORD AttributesOf(const std::string& path) {
    return ::GetFileAttributesW(FilePathForSystem(path).c_str());
}

}  // namespace

FileError Win32FileSystem::Read(const std::string& path, std::string& bytes) {
    UniqueFileHandle file(::CreateFileW(FilePathForSystem(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return LastError();
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        return LastError();
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - filled, INT_MAX));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), bytes.data() + filled, chunk, &read, nullptr)) {
            return LastError();
        }
        if (read == 0) {
            break;  // the file shrank while being read
        }
        filled += read;
    }
    bytes.resize(filled);
    return {};
}

FileError Win32FileSystem::Replace(const std::string& path, std::span<const std::string_view> pieces) {
    std::wstring temporary;
    UniqueFileHandle file = CreateTemporaryBeside(path, temporary);
    if (!file) {
        return LastError();
    }
    if (FileError error = FillNewFile(std::move(file), temporary, pieces); error.Failed()) {
        return error;
    }
    if (!::MoveFileExW(temporary.c_str(), FilePathForSystem(path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileError error = LastError();
        ::DeleteFileW(temporary.c_str());
        return error;
    }
    return {};
}

FileError Win32FileSystem::CreateNew(const std::string& path, std::span<const std::string_view> pieces) {
    std::wstring systemPath = FilePathForSystem(path);
    UniqueFileHandle file(::CreateFileW(systemPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return LastError();
    }
    return FillNewFile(std::move(file), systemPath, pieces);
}

FileError Win32FileSystem::Append(const std::string& path, std::string_view bytes) {
    // FILE_APPEND_DATA alone: every write goes to the end of the file as it is then.
    UniqueFileHandle file(::CreateFileW(FilePathForSystem(path).c_str(), FILE_APPEND_DATA,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return LastError();
    }
    const std::string_view pieces[] = {bytes};
    return WriteAll(file.Get(), pieces);
}

FileError Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    std::wstring source = FilePathForSystem(from);
    std::wstring target = FilePathForSystem(to);
    FileError error = Move(source, target);
    if (error.Failed() || !SameNameIgnoringCase(source, target)) {
        return error;
    }
    // A change of letter case only: some file systems (Wine's over a Unix one)
    // take it for a move onto itself and keep the old name, so it goes through
    // a temporary name.
    std::wstring temporary = FilePathForSystem(to + ".clx-rename");
    if (FileError first = Move(source, temporary); first.Failed()) {
        return first;
    }
    if (FileError second = Move(temporary, target); second.Failed()) {
        // Back under its old name if it can be: the error said is the move's.
        static_cast<void>(Move(temporary, source));
        return second;
    }
    return {};
}

FileError Win32FileSystem::Remove(const std::string& path) {
    if (!::DeleteFileW(FilePathForSystem(path).c_str())) {
        return LastError();
    }
    return {};
}

bool Win32FileSystem::Exists(const std::string& path) {
    return AttributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::uint64_t> Win32FileSystem::LastWritten(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(FilePathForSystem(path).c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::string Win32FileSystem::CurrentDirectory() {
    DWORD room = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(room, L'\0');
    DWORD length = ::GetCurrentDirectoryW(room, directory.data());
    directory.resize(length < room ? length : 0);
    if (directory.ends_with(L'\\')) {
        directory.pop_back();  // a drive's root: the name is joined with a backslash
    }
    return WideToUtf8(directory);
}

FileError Win32FileSystem::MakeDirectory(const std::string& path) {
    if (!::CreateDirectoryW(FilePathForSystem(path).c_str(), nullptr)) {
        return LastError();
    }
    return {};
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// SetCurrentDirectory takes no "\\?\" path: a directory past MAX_PATH cannot be current.
FileError Win32FileSystem::ChangeCurrentDirectory(const std::string& path) {
    if (!::SetCurrentDirectoryW(Utf8ToWide(path).c_str())) {
        return LastError();
    }
    return {};
}

std::optional<std::vector<std::string>> Win32FileSystem::ListFiles(const std::string& directory,
                                                                   std::string_view ending) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW entry;
    // The basic information and large fetches list a large directory in far fewer calls.
    UniqueFindHandle search(::FindFirstFileExW(
        FilePathForSystem(directory + "\\*" + std::string(ending)).c_str(), FindExInfoBasic, &entry,
        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return std::nullopt;
        }
        return names;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(WideToUtf8(entry.cFileName));
        }
    } while (::FindNextFileW(search.Get(), &entry));
    return names;
}

}  // namespace claverix::platform::win32
