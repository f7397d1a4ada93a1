#pragma once

#include "engine/Engine.h"
#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// The restoration of the file's text as the importer will read it: the live
// registry's present state of every key and value the importer will change.
// The keys it cannot read are said to the user, unless `quiet`, and listed.
RestorationText BuildRestoration(platform::Platform& platform, const FileText& text, bool quiet);

}  // namespace claverix::engine
