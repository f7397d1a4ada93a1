#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace claverix::engine {

// Registry-file text describing the live registry, for restoration files.
// Every value comes out on one line that the importer turns back into the
// same type and the same bytes: quoted text for a plain string, "dword:" for a
// four-byte number, hex bytes ("hex:", "hex(n):") for everything else.

// Appends the line that sets `value` back as it is now.
void AppendValueLine(std::string& out, const platform::RegistryValue& value);

// Appends the present state of the value `name` (empty: the default value) of
// `key`: its value line, its deletion line ("=-") when it does not exist, or
// nothing when it cannot be read. `scratch` carries buffers between calls.
void ExportValue(platform::RegistryKey& key, std::string_view name, platform::RegistryValue& scratch,
                 std::string& out);

// Appends the key `path` under `root` with its values and, depth first, its
// sub-keys, each key line preceded by an empty line; nothing when the key
// cannot be opened.
void ExportKey(platform::Registry& registry, platform::RootKey root, std::string_view path, std::string& out);

}  // namespace claverix::engine
