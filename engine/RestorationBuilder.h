#pragma once

#include <optional>
#include <string>

#include "engine/Engine.h"
#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// The restoration of the file's text as the importer will read it: the live
// registry's present state of every key and value the importer will change,
// in a form that also holds the user's signature and `fileName` (UTF-8),
// which its file's head and name carry. Nullopt, after telling the user,
// when the file must not be imported.
std::optional<RestorationText> BuildRestoration(Engine& engine, const std::string& fileName,
                                                const FileText& text);

}  // namespace claverix::engine
