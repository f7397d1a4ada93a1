#pragma once

#include <string>
#include <string_view>

#include "platform/Paths.h"

namespace claverix::engine {

// Where the archive keeps its files, and where the program keeps the file
// that registers it as the shell's "open" command for registry files. Paths
// are UTF-8, without trailing backslash; the file system ignores letter case.

// The archive's two sub-directories, as they are created.
inline constexpr std::string_view kRegistryFilesDirectoryName = "Reg";
inline constexpr std::string_view kRestorationFilesDirectoryName = "RegUnDO";
// The merge question names the restoration directory in this spelling.
inline constexpr std::string_view kRestorationFilesDirectoryNameAsAsked = "RegUndo";

inline constexpr std::string_view kHandlerRegistrationDirectoryName = "reg";
inline constexpr std::string_view kHandlerRegistrationFileName = "Enregistre CLAVERIX.REG";

using platform::JoinPath;

inline std::string RegistryFilesDirectory(std::string_view archive) {
    return JoinPath(archive, kRegistryFilesDirectoryName);
}

inline std::string RestorationFilesDirectory(std::string_view archive) {
    return JoinPath(archive, kRestorationFilesDirectoryName);
}

inline std::string HandlerRegistrationPath(std::string_view programDirectory) {
    return JoinPath(JoinPath(programDirectory, kHandlerRegistrationDirectoryName),
                    kHandlerRegistrationFileName);
}

}  // namespace claverix::engine
