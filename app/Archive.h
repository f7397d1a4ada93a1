#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace claverix::app {

// A registry file's name: something, then ".reg" in any letter case.
bool IsRegFileName(std::string_view name);

// The archive directory that a chosen directory stands for: without a
// trailing backslash and without any "\Reg" ending, in any letter case, so
// that choosing the archive's own "Reg" sub-directory picks the archive.
// A drive's root comes back as its letter and colon.
std::string NormaliseArchiveDirectory(std::string_view chosen);

// What the options dialog stores when applied, apart from the dialog itself.
struct ArchiveOptions {
    std::string directory;  // normalised
    std::string signature;  // ANSI, stored as it is, even empty
};

// Creates the archive's two sub-directories when missing, stores both
// settings and makes "Reg" the current directory. When "Reg" cannot be
// there, the user is told and nothing is stored: false.
bool ApplyArchiveOptions(platform::Platform& platform, const std::string& iniFile,
                         const ArchiveOptions& options);

// Copies the registry file at `sourcePath` into `archivePath`\Reg under its
// own name. When a different file already has that name there, the user is
// asked first; No copies nothing. Failures are reported. True once copied.
bool ImportIntoArchive(platform::Platform& platform, const std::string& archivePath,
                       const std::string& sourcePath);

}  // namespace claverix::app
