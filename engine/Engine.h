#pragma once

#include <string>
#include <string_view>

#include "engine/ArchivePaths.h"
#include "platform/Platform.h"

namespace claverix::engine {

// The three values start-up establishes once and everything else only reads.
struct StartupValues {
    std::string IniFile;      // full path of the settings file
    std::string ArchivePath;  // archive directory, without trailing backslash
    std::string Signature;    // the user's signature
};

// What the latest analysis found, for the merge and the windows.
struct EngineState {
    bool IsSigned = false;
    bool NoUndo = false;
    bool IsUndoFile = false;
    // The file could not be read, or not as ANSI text: nothing was saved for
    // it, so it must not be imported.
    bool ImportBlocked = false;
    // The name the analysed file has now: after an accepted rename, the restored one.
    std::string FileName;
    // Kept from one analysis to the next when a file has no header line.
    std::string HeaderLine;
    std::string CommentText;
    std::string ContentText;
    std::string RestoreText;
};

struct Engine {
    platform::Platform& platform;
    StartupValues startup;
    EngineState state;
};

}  // namespace claverix::engine
