#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "engine/FileText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::tests {

// The writes an importer makes, wherever a test keeps its registry.
class RegistryWrites {
public:
    virtual ~RegistryWrites() = default;
    virtual void CreateKey(platform::RootKey root, std::string_view path) = 0;
    virtual void SetValue(platform::RootKey root, std::string_view path, std::string_view name, std::uint32_t type,
                          std::string_view data) = 0;
    virtual void DeleteValue(platform::RootKey root, std::string_view path, std::string_view name) = 0;
    virtual void DeleteKey(platform::RootKey root, std::string_view path) = 0;
};

// Does to `registry` what the system's importer does with `text`, as the
// program's reader foresees it: the first `writes` writes only, as an
// importer stopped halfway would.
void ImportAsTheImporter(const engine::FileText& text, platform::TextCodec& codec, RegistryWrites& registry,
                         std::size_t writes = std::numeric_limits<std::size_t>::max());

}  // namespace claverix::tests
