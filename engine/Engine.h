#pragma once

#include <string>
#include <string_view>
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
    // Keys the file touches that could not be read: the text does not cover them.
    std::vector<std::string> uncoveredKeys;
};

// What the latest analysis found, for the merge and the windows.
struct EngineState {
    bool IsSigned = false;
    bool NoUndo = false;
    bool IsUndoFile = false;
    // The file could not be read, or not in a way that foresees what the
    // importer will do: nothing was saved for it, so it must not be imported.
    bool ImportBlocked = false;
    // The name the analysed file has now: after an accepted rename, the restored one.
    std::string FileName;
    // The analysed file's encoding. CommentText and ContentText are its own
    // bytes for an ANSI file, UTF-8 for a UTF-16 one; a rewrite keeps it.
    TextEncoding Encoding = TextEncoding::Ansi;
    // Kept from one analysis to the next when a file has no header line, in
    // the encoding of the file it came from.
    std::string HeaderLine;
    TextEncoding HeaderEncoding = TextEncoding::Ansi;
    std::string CommentText;
    std::string ContentText;
    std::string RestoreText;
    TextEncoding RestoreEncoding = TextEncoding::Ansi;  // see RestorationText
    std::vector<std::string> UncoveredKeys;             // see RestorationText
};

struct Engine {
    platform::Platform& platform;
    StartupValues startup;
    EngineState state;
};

}  // namespace claverix::engine
