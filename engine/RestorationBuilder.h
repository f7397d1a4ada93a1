#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/Engine.h"
#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// A restoration text with what its file cannot set back as it is
// (Restoration::NotCarried()).
struct BuiltRestoration : RestorationText {
    std::vector<std::string> notCarried;
};

// The restoration of the file's text as the importer will read it: the live
// registry's present state of every key and value the importer will change.
// Nullopt, after telling the user, when the file must not be imported.
std::optional<BuiltRestoration> BuildRestoration(platform::Platform& platform, const std::string& fileName,
                                                 const FileText& text);

}  // namespace claverix::engine
