#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace claverix::platform {

// What became of a file operation: on failure its Win32 error code and the
// system's description of it, in UTF-8, ready for a message. A caller that
// has nothing to do on failure says so where it calls.
struct [[nodiscard]] FileError {
    std::uint32_t code = 0;  // zero on success
    std::string description;

    bool Failed() const { return code != 0; }
};

inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kAlreadyExists = 183;

// Files named by UTF-8 paths, any length the file system takes. Every write
// is all or nothing: a file either gets its complete new content, flushed to
// disk, or stays as it was.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual FileError Read(const std::string& path, std::string& bytes) = 0;

    // Writes the pieces to a temporary file beside `path` and puts it in the
    // place of `path` only once it is complete and flushed.
    virtual FileError Replace(const std::string& path, std::span<const std::string_view> pieces) = 0;

    // Creates `path`, which must not exist yet (kFileExists otherwise), writes
    // and flushes the pieces and closes it; removes what it wrote on failure.
    virtual FileError CreateNew(const std::string& path, std::span<const std::string_view> pieces) = 0;

    // Fails (kFileExists) when `to` names another file; a change of letter case
    // of the same file is allowed.
    virtual FileError Rename(const std::string& from, const std::string& to) = 0;

    // Adds `bytes` at the end of `path`, created when missing, in one write
    // that another process appending at once cannot split: for logs.
    virtual FileError Append(const std::string& path, std::string_view bytes) = 0;

    virtual FileError Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;

    // When the file was last written, as a number that grows with time (a
    // rename keeps it); nullopt when the file cannot be reached.
    virtual std::optional<std::uint64_t> LastWritten(const std::string& path) = 0;
    virtual std::string CurrentDirectory() = 0;

    // Creates one directory in an existing one; kAlreadyExists when it is there.
    virtual FileError MakeDirectory(const std::string& path) = 0;

    // The names (UTF-8) of the files (not directories) in `directory` whose name ends
    // in `ending`, ignoring case, in no particular order; what a short name
    // alone matches may be among them. Nullopt when the directory cannot be read.
    virtual std::optional<std::vector<std::string>> ListFiles(const std::string& directory,
                                                              std::string_view ending) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual FileError ChangeCurrentDirectory(const std::string& path) = 0;
};

}  // namespace claverix::platform
