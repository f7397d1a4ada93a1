#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace claverix::platform {

// An in-memory registry for native tests: key and value names ignore letter
// case, enumeration follows creation order, and any key can be made to refuse
// opening, any entry to fail, with a chosen status.
class MemoryRegistry final : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    OpenedKey Open(RootKey root, std::string_view path) override;

    // Creates the key and its missing parents.
    void CreateKey(RootKey root, std::string_view path);
    // Sets a value, creating the key as needed; an empty name is the default value.
    void SetValue(RootKey root, std::string_view path, std::string_view name, std::uint32_t type,
                  std::string_view data);
    // Each does nothing when there is nothing to delete.
    void DeleteValue(RootKey root, std::string_view path, std::string_view name);
    void DeleteKey(RootKey root, std::string_view path);  // with everything below it
    // Opening this key from now on answers `status`.
    void RefuseOpen(RootKey root, std::string_view path, RegStatus status);
    // From now on, in the key `path`: enumerating the value, or the sub-key,
    // at `index` answers `status`; reading the value `name` answers `status`.
    void FailValueAt(RootKey root, std::string_view path, std::uint32_t index, RegStatus status);
    void FailSubKeyAt(RootKey root, std::string_view path, std::uint32_t index, RegStatus status);
    void RefuseValue(RootKey root, std::string_view path, std::string_view name, RegStatus status);
    // What the key, created as needed, holds that a registry file cannot carry.
    void SetTraits(RootKey root, std::string_view path, KeyTraits traits);

    struct Node;

private:
    Node* Find(RootKey root, std::string_view path, bool create);

    std::map<RootKey, std::unique_ptr<Node>> roots_;
};

}  // namespace claverix::platform
