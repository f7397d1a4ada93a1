#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace claverix::app {

// A registry file's name: something, then ".reg" in any letter case.
bool IsRegFileName(std::string_view name);

// The registry files of `directory`, by name (UTF-8), in the order the
// system's file views list them ("a2" before "a10"). Nullopt when the
// directory cannot be read.
std::optional<std::vector<std::string>> ListRegFiles(platform::Platform& platform,
                                                     const std::string& directory);

// The directory the options dialog opens on: the stored archive directory,
// or its nearest ancestor that still exists; the program's directory when
// none is stored or nothing of it exists.
std::string ArchiveDirectoryToShow(platform::FileSystem& files, const std::string& stored,
                                   const std::string& programDirectory);

// The archive directory that a chosen directory stands for: without a
// trailing backslash and without any "\Reg" ending, in any letter case, so
// that choosing the archive's own "Reg" sub-directory picks the archive.
// A drive's root comes back as its letter and colon.
std::string NormaliseArchiveDirectory(std::string_view chosen);

// What the options dialog stores when applied, apart from the dialog itself.
struct ArchiveOptions {
    std::string directory;  // normalised
    std::string signature;  // stored as it is; never empty
};

// Creates the archive's two sub-directories when missing, stores both
// settings and makes "Reg" the current directory. False, after telling the
// user why, when the signature is empty (it would authorise every signed
// file), when the directory is longer than the settings give back whole
// (kLongestArchivePath), when "Reg" cannot be there (nothing is stored then),
// or when the settings file cannot be written.
bool ApplyArchiveOptions(platform::Platform& platform, const std::string& iniFile,
                         const ArchiveOptions& options);

// Copies the registry file at `sourcePath` into `archivePath`\Reg under its
// own name. When a different file already has that name there, the user is
// asked first; No copies nothing. Failures are reported. True once copied.
bool AddToArchive(platform::Platform& platform, const std::string& archivePath,
                  const std::string& sourcePath);

}  // namespace claverix::app
