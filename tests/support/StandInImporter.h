#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>

#include "engine/FileText.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

namespace claverix::tests {

// Registry writes under one root, HKEY_CURRENT_USER unless said otherwise,
// creating keys as needed: names and paths in UTF-8, data byte for byte.
class RegistryWrites {
public:
    virtual ~RegistryWrites() = default;
    virtual void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                          std::string_view data) = 0;
    virtual void CreateKey(std::string_view path) = 0;
    virtual void DeleteValue(std::string_view path, std::string_view name) = 0;
    virtual void DeleteKey(std::string_view path) = 0;  // with everything below it

    // The writes under `root`: these for HKEY_CURRENT_USER; none (the
    // importer leaves the root alone) for the others, unless a registry has them.
    virtual RegistryWrites* WritesUnder(platform::RootKey root) {
        return root == platform::RootKey::CurrentUser ? this : nullptr;
    }
};

// Does to `registry` what the system's importer does with `text`, as the
// program's reader foresees it, under the roots `registry` writes: the
// first `writes` writes only, as an importer stopped halfway would.
void ImportAsTheImporter(const engine::FileText& text, platform::TextCodec& codec, RegistryWrites& registry,
                         std::size_t writes = std::numeric_limits<std::size_t>::max());

}  // namespace claverix::tests
