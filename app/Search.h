#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace claverix::app {

// The first of `names`, from index `first` on, whose file in `directory`
// holds `ansiText` within one of its lines, letters compared in upper case as
// the system's locale converts them. Files are searched by their text:
// UTF-16 ones decoded; one that cannot be read or decoded is passed over
// without a word. Nullopt when no file matches, or for an empty text.
std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view ansiText);

}  // namespace claverix::app
