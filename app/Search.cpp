#include "app/Search.h"

#include <algorithm>
#include <functional>

#include "engine/Engine.h"

namespace claverix::app {

std::optional<std::size_t> SearchFiles(platform::Platform& platform, const std::string& directory,
                                       std::span<const std::string> names, std::size_t first,
                                       std::string_view ansiText) {
    // A match never spans two lines, so a text holding a line break matches nothing.
    if (ansiText.empty() || ansiText.find_first_of("\r\n") != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string wanted = platform.codec.ToUpper(ansiText);
    // Skips ahead by the text's length where a plain scan would stop at every letter it starts with.
    const std::boyer_moore_horspool_searcher searcher(wanted.begin(), wanted.end());
    std::string bytes;
    for (std::size_t i = first; i < names.size(); ++i) {
        if (platform.files.Read(engine::JoinPath(directory, names[i]), bytes)) {
            continue;
        }
        std::optional<std::string> text = platform::FileTextAsAnsi(platform.codec, std::move(bytes));
        // Without a line break in `wanted`, a match in the whole text lies within one line.
        if (text) {
            const std::string upper = platform.codec.ToUpper(*text);
            if (std::search(upper.begin(), upper.end(), searcher) != upper.end()) {
                return i;
            }
        }
    }
    return std::nullopt;
}

}  // namespace claverix::app
