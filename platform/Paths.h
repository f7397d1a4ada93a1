#pragma once

#include <string>
#include <string_view>

namespace claverix::platform {

// Paths of files and of registry keys: names separated by backslashes.

inline std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory).append("\\").append(name);
    return path;
}

// What comes before the last backslash of `path`: a file's directory, a
// key's parent. Empty when there is no backslash. A view into `path`.
inline std::string_view DirectoryOf(std::string_view path) {
    std::size_t slash = path.rfind('\\');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

// What follows the last backslash of `path`: a file's or a key's own name;
// all of `path` when there is no backslash. A view into `path`.
inline std::string_view NameOf(std::string_view path) {
    return path.substr(path.rfind('\\') + 1);
}

}  // namespace claverix::platform
