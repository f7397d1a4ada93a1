#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace claverix::app {

// What the searches share for the whole run.
struct SearchState {
    // The last search's text, UTF-8: Find empties it before the dialog asks
    // for one, Find next searches it again at once.
    std::string SearchText;
    // The list entry the last search chose: the file found, or the list's
    // selection when the search started (-1 for none).
    std::ptrdiff_t SearchIndex = 0;
};

// The files a search goes through: one directory's files, as a list shows
// them, and the list's selection (-1 for none).
struct ListedFiles {
    std::string_view directory;
    std::span<const std::string> names;
    std::ptrdiff_t selected = -1;
};

// The first of `names`, from index `first` on, whose file in `directory`
// holds `text` (UTF-8) within one of its lines, letters compared in upper
// case as the system converts them. Files are searched by their text: UTF-16
// ones decoded, ANSI ones as their bytes, which hold no character the code
// page lacks. A file that cannot be read is passed over without a word.
// Nullopt when no file matches, or for an empty text.
std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view text);

}  // namespace claverix::app
