#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Profile.h"

namespace claverix::app {

// "?" is both the default of "Signature" and a storable value: no signature yet.
inline constexpr std::string_view kNoSignature = "?";

// Buffer sizes of the settings reads, as C buffers: one character goes to the NUL.
inline constexpr std::size_t kOptionsCapacity = 255;
inline constexpr std::size_t kRestorationViewerCapacity = 256;

// The longest archive directory, in UTF-16 units, that the settings give back whole.
inline constexpr std::size_t kLongestArchivePath = kOptionsCapacity - 1;

// The executable's directory, without trailing backslash.
std::string ExecutableDirectory(std::string_view executablePath);

// The settings file: beside the executable, named after it, extension ".Ini".
std::string IniFilePath(std::string_view executablePath);

// What "Options"/"ArchivePath" gives.
struct ArchivePathSetting {
    // The archive directory to use: the executable's directory when none is
    // stored, and when the one stored is too long to be read whole.
    std::string directory;
    // The start of a stored directory longer than kLongestArchivePath, which
    // is not used, for the user to be told; empty otherwise.
    std::string tooLongStart;
};

ArchivePathSetting ReadArchivePath(platform::Profile& profile, const std::string& iniFile,
                                   std::string_view executableDirectory);

// "Options"/"Signature", kNoSignature when missing.
std::string ReadSignature(platform::Profile& profile, const std::string& iniFile);

// The restoration viewer's outer rectangle, in twips.
struct RestorationViewerPlacement {
    long left = 1000;
    long top = 1000;
    long width = 8000;
    long height = 5000;
};

// The "UndoWindow" keys (the settings file's name for the viewer); a missing one, or one that is not a
// number, keeps its default.
RestorationViewerPlacement ReadRestorationViewerPlacement(platform::Profile& profile,
                                                          const std::string& iniFile);
void WriteRestorationViewerPlacement(platform::Profile& profile, const std::string& iniFile,
                                     const RestorationViewerPlacement& placement);

// The main window's place: its outer rectangle as it is when restored, in
// twips, and whether it was maximised.
struct MainWindowPlacement {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    bool maximized = false;
};

// "MainWindow" keys. Nullopt until the window has stored a place, or when a
// key of its rectangle is not a number or its size is not positive: the
// system then chooses where the window opens.
std::optional<MainWindowPlacement> ReadMainWindowPlacement(platform::Profile& profile,
                                                           const std::string& iniFile);
void WriteMainWindowPlacement(platform::Profile& profile, const std::string& iniFile,
                              const MainWindowPlacement& placement);

}  // namespace claverix::app
