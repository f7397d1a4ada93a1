#pragma once

#include <optional>
#include <string>

#include "engine/Engine.h"

namespace claverix::engine {

// Reads the registry file `directory`\`fileName` and leaves in `engine.state`
// its flags, header, comment and content, and the restoration text: the live
// registry's present state of every key and value the file is about to
// change. Reports its own failures; may rename the file back to the name
// recorded in it when the user agrees, and then analyses it under that name.
void AnalyseRegFile(Engine& engine, const std::string& directory, const std::string& fileName);

// The file at `path` (ANSI) in its two forms; nullopt, after telling the
// user, when it cannot be read.
std::optional<FileText> ReadRegFileText(platform::Platform& platform, const std::string& path);

// The restoration text of the file as it stands on disk now, for a merge
// that must save what the importer is about to read even when the file has
// changed since its analysis. Nullopt, after telling the user, when the file
// cannot be read or must not be imported. The engine state is left as it is.
std::optional<RestorationText> CurrentRestorationText(Engine& engine, const std::string& directory,
                                                      const std::string& fileName);

}  // namespace claverix::engine
