#pragma once

#include <string>
#include <vector>

#include "engine/ArchivePaths.h"
#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// The three values start-up establishes once and everything else only reads.
struct StartupValues {
    std::string IniFile;      // full path of the settings file
    std::string ArchivePath;  // archive directory, without trailing backslash
    std::string Signature;    // the user's signature
};

// Restoration text and the encoding of the file it is written to: ANSI
// bytes for a REGEDIT4 file, UTF-8 text for a version 5 file in UTF-16.
struct RestorationText {
    TextEncoding encoding = TextEncoding::Ansi;
    std::string text;
    // Keys and values the file touches that could not be read: the text does not cover them.
    std::vector<std::string> uncoveredKeys;
    // What a registry file cannot set back as it is (see Restoration::NotCarried).
    std::vector<std::string> notCarried;
};

// What every part of the program works with: the platform's services and
// the values start-up established. What a file holds is an Analysis, held
// by whoever works on that file.
struct Engine {
    platform::Platform& platform;
    StartupValues startup;
};

}  // namespace claverix::engine
