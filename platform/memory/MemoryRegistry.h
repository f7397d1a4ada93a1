#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace claverix::platform {

// An in-memory registry for native tests: key and value names ignore letter
// case, enumeration follows creation order, and any key can be made to refuse
// opening, any entry to fail, with a chosen status.
//
// HKEY_CLASSES_ROOT holds nothing of its own: as on Windows, it shows
// HKEY_CURRENT_USER\Software\Classes over HKEY_LOCAL_MACHINE\Software\Classes.
// A key opened there is the per-user one when it exists (its values, the
// sub-keys of both), else the machine's. Writes through it go where Windows
// puts them: a new key to the machine's classes, values to the per-user key
// when it exists, a deletion to the key shown.
class MemoryRegistry final : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    RegistryView View() const override { return view; }
    OpenedKey Open(RootKey root, std::string_view path) override;

    // The view it stands for: one memory registry is one view.
    RegistryView view = RegistryView::Bits64;

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
    // Where `root`\`path` is stored: there, but for a key of HKEY_CLASSES_ROOT.
    std::pair<RootKey, std::string> Stored(RootKey root, std::string_view path);

    std::map<RootKey, std::unique_ptr<Node>> roots_;
};

}  // namespace claverix::platform
