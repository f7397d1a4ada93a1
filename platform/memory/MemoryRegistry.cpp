#include "platform/memory/MemoryRegistry.h"

#include <map>
#include <unordered_map>

#include "platform/Paths.h"
#include "platform/memory/CaseInsensitive.h"

namespace claverix::platform {

// Children and values keep their creation order for enumeration, and are
// found through an index by folded name.
struct MemoryRegistry::Node {
    std::string name;
    RegStatus openStatus = kRegSuccess;
    KeyTraits traits;
    std::map<std::uint32_t, RegStatus> failedValues;           // by enumeration index
    std::map<std::uint32_t, RegStatus> failedSubKeys;          // by enumeration index
    std::unordered_map<std::string, RegStatus> refusedValues;  // by folded name
    std::vector<RegistryValue> values;
    std::vector<std::unique_ptr<Node>> subKeys;
    std::unordered_map<std::string, std::size_t> valueIndex;
    std::unordered_map<std::string, std::size_t> subKeyIndex;

    Node* SubKey(std::string_view subKeyName) {
        auto found = subKeyIndex.find(FoldedCopy(subKeyName));
        return found == subKeyIndex.end() ? nullptr : subKeys[found->second].get();
    }

    Node& AddSubKey(std::string_view subKeyName) {
        subKeyIndex[FoldedCopy(subKeyName)] = subKeys.size();
        subKeys.push_back(std::make_unique<Node>());
        subKeys.back()->name = subKeyName;
        return *subKeys.back();
    }

    RegistryValue* Value(std::string_view valueName) {
        auto found = valueIndex.find(FoldedCopy(valueName));
        return found == valueIndex.end() ? nullptr : &values[found->second];
    }

    // Erases entry `index` of `entries`, keeping `index`'s map right.
    template <typename Entries>
    static void Erase(Entries& entries, std::unordered_map<std::string, std::size_t>& indices,
                      std::size_t index) {
        entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(index));
        for (auto& entry : indices) {
            entry.second -= entry.second > index ? 1 : 0;
        }
    }

    void RemoveValue(std::string_view valueName) {
        if (auto found = valueIndex.find(FoldedCopy(valueName)); found != valueIndex.end()) {
            std::size_t index = found->second;
            valueIndex.erase(found);
            Erase(values, valueIndex, index);
        }
    }

    void RemoveSubKey(std::string_view subKeyName) {
        if (auto found = subKeyIndex.find(FoldedCopy(subKeyName)); found != subKeyIndex.end()) {
            std::size_t index = found->second;
            subKeyIndex.erase(found);
            Erase(subKeys, subKeyIndex, index);
        }
    }

    RegistryValue& AddValue(std::string_view valueName) {
        valueIndex[FoldedCopy(valueName)] = values.size();
        values.push_back(RegistryValue{std::string(valueName), kRegNone, {}});
        return values.back();
    }
};

namespace {

// The status the entry at `index` was made to answer, if any.
std::optional<RegStatus> Failure(const std::map<std::uint32_t, RegStatus>& failures, std::uint32_t index) {
    auto found = failures.find(index);
    return found == failures.end() ? std::nullopt : std::optional<RegStatus>(found->second);
}

// A key; for one of HKEY_CLASSES_ROOT, with the machine's key, whose
// sub-keys show after its own but for those it holds too.
class MemoryKey final : public RegistryKey {
public:
    MemoryKey(MemoryRegistry::Node& node, MemoryRegistry::Node* machine) : node_(node), machine_(machine) {}

    RegStatus ValueAt(std::uint32_t index, RegistryValue& out) override {
        if (std::optional<RegStatus> failure = Failure(node_.failedValues, index)) {
            return *failure;
        }
        if (index >= node_.values.size()) {
            return kRegNoMoreItems;
        }
        out = node_.values[index];
        return kRegSuccess;
    }

    RegStatus SubKeyNameAt(std::uint32_t index, std::string& name) override {
        if (std::optional<RegStatus> failure = Failure(node_.failedSubKeys, index)) {
            return *failure;
        }
        if (index < node_.subKeys.size()) {
            name = node_.subKeys[index]->name;
            return kRegSuccess;
        }
        if (machine_ != nullptr) {
            std::size_t left = index - node_.subKeys.size();
            for (const auto& subKey : machine_->subKeys) {
                if (node_.SubKey(subKey->name) == nullptr && left-- == 0) {
                    name = subKey->name;
                    return kRegSuccess;
                }
            }
        }
        return kRegNoMoreItems;
    }

    RegStatus QueryValue(std::string_view name, RegistryValue& out) override {
        if (auto refused = node_.refusedValues.find(FoldedCopy(name)); refused != node_.refusedValues.end()) {
            return refused->second;
        }
        const RegistryValue* value = node_.Value(name);
        if (value == nullptr) {
            return kRegFileNotFound;
        }
        out = *value;
        return kRegSuccess;
    }

    std::optional<std::string> StoredValueName(std::string_view name) override {
        const RegistryValue* value = node_.Value(name);
        return value == nullptr ? std::nullopt : std::optional<std::string>(value->name);
    }

    std::optional<std::string> StoredSubKeyName(std::string_view name) override {
        const MemoryRegistry::Node* subKey = node_.SubKey(name);
        if (subKey == nullptr && machine_ != nullptr) {
            subKey = machine_->SubKey(name);
        }
        return subKey == nullptr ? std::nullopt : std::optional<std::string>(subKey->name);
    }

    KeyTraits Traits() override { return node_.traits; }

private:
    MemoryRegistry::Node& node_;
    MemoryRegistry::Node* machine_;
};

bool IsPredefined(RootKey root) {
    auto value = static_cast<std::uint32_t>(root);
    return value >= static_cast<std::uint32_t>(RootKey::ClassesRoot) &&
           value <= static_cast<std::uint32_t>(RootKey::DynData);
}

}  // namespace

MemoryRegistry::MemoryRegistry() = default;
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Find(RootKey root, std::string_view path, bool create) {
    if (root == RootKey::ClassesRoot) {
        auto [storedRoot, storedPath] = Stored(root, path);
        return Find(storedRoot, storedPath, create);
    }
    std::unique_ptr<Node>& rootNode = roots_[root];
    if (!rootNode) {
        rootNode = std::make_unique<Node>();
    }
    Node* node = rootNode.get();
    while (node != nullptr && !path.empty()) {
        auto slash = path.find('\\');
        std::string_view component = path.substr(0, slash);
        path = slash == std::string_view::npos ? std::string_view{} : path.substr(slash + 1);
        Node* next = node->SubKey(component);
        if (next == nullptr && create) {
            next = &node->AddSubKey(component);
        }
        node = next;
    }
    return node;
}

std::pair<RootKey, std::string> MemoryRegistry::Stored(RootKey root, std::string_view path) {
    if (root != RootKey::ClassesRoot) {
        return {root, std::string(path)};
    }
    std::string classes = StoredClassesPath(path);
    bool perUser = Find(RootKey::CurrentUser, classes, false) != nullptr;
    return {perUser ? RootKey::CurrentUser : RootKey::LocalMachine, std::move(classes)};
}

OpenedKey MemoryRegistry::Open(RootKey root, std::string_view path) {
    if (!IsPredefined(root)) {
        return {kRegInvalidHandle, nullptr};
    }
    Node* node = Find(root, path, false);
    if (node == nullptr) {
        return {kRegFileNotFound, nullptr};
    }
    if (node->openStatus != kRegSuccess) {
        return {node->openStatus, nullptr};
    }
    Node* machine =
        root == RootKey::ClassesRoot ? Find(RootKey::LocalMachine, StoredClassesPath(path), false) : nullptr;
    return {kRegSuccess, std::make_unique<MemoryKey>(*node, machine)};
}

void MemoryRegistry::CreateKey(RootKey root, std::string_view path) {
    Find(root, path, true);
}

void MemoryRegistry::SetValue(RootKey root, std::string_view path, std::string_view name, std::uint32_t type,
                              std::string_view data) {
    Node* node = Find(root, path, true);
    RegistryValue* value = node->Value(name);
    if (value == nullptr) {
        value = &node->AddValue(name);
    }
    value->type = type;
    value->data = data;
}

void MemoryRegistry::DeleteValue(RootKey root, std::string_view path, std::string_view name) {
    if (Node* node = Find(root, path, false)) {
        node->RemoveValue(name);
    }
}

void MemoryRegistry::DeleteKey(RootKey root, std::string_view path) {
    auto [storedRoot, stored] = Stored(root, path);
    if (Node* parent = Find(storedRoot, DirectoryOf(stored), false)) {
        parent->RemoveSubKey(NameOf(stored));
    }
}

void MemoryRegistry::RefuseOpen(RootKey root, std::string_view path, RegStatus status) {
    Find(root, path, true)->openStatus = status;
}

void MemoryRegistry::FailValueAt(RootKey root, std::string_view path, std::uint32_t index, RegStatus status) {
    Find(root, path, true)->failedValues[index] = status;
}

void MemoryRegistry::FailSubKeyAt(RootKey root, std::string_view path, std::uint32_t index,
                                  RegStatus status) {
    Find(root, path, true)->failedSubKeys[index] = status;
}

void MemoryRegistry::RefuseValue(RootKey root, std::string_view path, std::string_view name,
                                 RegStatus status) {
    Find(root, path, true)->refusedValues[FoldedCopy(name)] = status;
}

void MemoryRegistry::SetTraits(RootKey root, std::string_view path, KeyTraits traits) {
    Find(root, path, true)->traits = traits;
}

}  // namespace claverix::platform
