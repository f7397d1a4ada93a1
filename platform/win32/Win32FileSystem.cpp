#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <climits>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

FileError LastError() {
    DWORD code = ::GetLastError();
    return {code, ErrorDescription(code)};
}

std::string DirectoryOf(const std::string& path) {
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
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
FileError FillNewFile(UniqueFileHandle file, const std::string& path,
                      std::span<const std::string_view> pieces) {
    FileError error = WriteAll(file.Get(), pieces);
    file.Reset(INVALID_HANDLE_VALUE);
    if (error) {
        ::DeleteFileA(path.c_str());
    }
    return error;
}

FileError Move(const std::string& from, const std::string& to) {
    if (!::MoveFileA(from.c_str(), to.c_str())) {
        FileError error = LastError();
        // MoveFile says ERROR_ALREADY_EXISTS where CreateFile says ERROR_FILE_EXISTS.
        return error.code == ERROR_ALREADY_EXISTS ? FileError{kFileExists, ErrorDescription(kFileExists)}
                                                  : error;
    }
    return {};
}

}  // namespace

FileError Win32FileSystem::Read(const std::string& path, std::string& bytes) {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
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
    char temporary[MAX_PATH];
    if (::GetTempFileNameA(DirectoryOf(path).c_str(), "clx", 0, temporary) == 0) {
        return LastError();
    }
    UniqueFileHandle file(
        ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        FileError error = LastError();
        ::DeleteFileA(temporary);
        return error;
    }
    if (FileError error = FillNewFile(std::move(file), temporary, pieces)) {
        return error;
    }
    if (!::MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FileError error = LastError();
        ::DeleteFileA(temporary);
        return error;
    }
    return {};
}

FileError Win32FileSystem::CreateNew(const std::string& path, std::span<const std::string_view> pieces) {
    UniqueFileHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return LastError();
    }
    return FillNewFile(std::move(file), path, pieces);
}

FileError Win32FileSystem::Rename(const std::string& from, const std::string& to) {
    FileError error = Move(from, to);
    if (error || ::lstrcmpiA(from.c_str(), to.c_str()) != 0) {
        return error;
    }
    // A change of letter case only: some file systems (Wine's over a Unix one)
    // take it for a move onto itself and keep the old name, so it goes through
    // a temporary name.
    std::string temporary = to + ".clx-rename";
    if (FileError first = Move(from, temporary)) {
        return first;
    }
    if (FileError second = Move(temporary, to)) {
        Move(temporary, from);
        return second;
    }
    return {};
}

FileError Win32FileSystem::Remove(const std::string& path) {
    if (!::DeleteFileA(path.c_str())) {
        return LastError();
    }
    return {};
}

bool Win32FileSystem::Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Win32FileSystem::CurrentDirectory() {
    DWORD length = ::GetCurrentDirectoryA(0, nullptr);
    std::string directory(length, '\0');
    length = ::GetCurrentDirectoryA(length, directory.data());
    directory.resize(length);
    if (directory.ends_with('\\')) {
        directory.pop_back();  // a drive's root: the name is joined with a backslash
    }
    return directory;
}

FileError Win32FileSystem::MakeDirectory(const std::string& path) {
    if (!::CreateDirectoryA(path.c_str(), nullptr)) {
        return LastError();
    }
    return {};
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FileError Win32FileSystem::ChangeCurrentDirectory(const std::string& path) {
    if (!::SetCurrentDirectoryA(path.c_str())) {
        return LastError();
    }
    return {};
}

std::optional<std::vector<std::string>> Win32FileSystem::ListFiles(const std::string& directory,
                                                                   std::string_view ending) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    // The basic information and large fetches list a large directory in far fewer calls.
    UniqueFindHandle search(::FindFirstFileExA((directory + "\\*" + std::string(ending)).c_str(),
                                               FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                               FIND_FIRST_EX_LARGE_FETCH));
    if (!search) {
        if (::GetLastError() != ERROR_FILE_NOT_FOUND) {
            return std::nullopt;
        }
        return names;
    }
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(entry.cFileName);
        }
    } while (::FindNextFileA(search.Get(), &entry));
    return names;
}

}  // namespace claverix::platform::win32
