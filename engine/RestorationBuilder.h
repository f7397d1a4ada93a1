#pragma once

#include <initializer_list>
#include <string_view>

#include "engine/Engine.h"
#include "engine/FileText.h"
#include "platform/Platform.h"

namespace claverix::engine {

// The restoration of the file's text as the importer will read it: the live
// registry's present state of every key and value the importer will change,
// in a form that also holds exactly `heldTexts` (UTF-8: the user's signature,
// the file's name), which the restoration file's head carries. The keys it
// cannot read are said to the user, unless `quiet`, and listed.
RestorationText BuildRestoration(platform::Platform& platform, const FileText& text,
                                 std::initializer_list<std::string_view> heldTexts, bool quiet);

}  // namespace claverix::engine
