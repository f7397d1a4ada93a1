#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace claverix::tests {

// Replaces the file at `path` with `bytes`; throws when it cannot.
inline void WriteFileBytes(platform::FileSystem& files, const std::string& path, std::string_view bytes) {
    const std::string_view pieces[] = {bytes};
    if (platform::FileError error = files.Replace(path, pieces); error.Failed()) {
        throw std::runtime_error("cannot write " + path + ": " + error.description);
    }
}

// The bytes of the file at `path`; nothing when it cannot be read.
inline std::optional<std::string> ReadFileBytes(platform::FileSystem& files, const std::string& path) {
    std::string bytes;
    if (files.Read(path, bytes).Failed()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace claverix::tests
