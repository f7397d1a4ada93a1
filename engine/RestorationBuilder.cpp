#include "engine/RestorationBuilder.h"

#include <memory>
#include <utility>
#include <vector>

#include "engine/ImportReader.h"
#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "engine/Reporting.h"
#include "platform/Paths.h"

namespace claverix::engine {

using namespace platform;

namespace {

// The file as the importer reads it, against the live registry: for every
// key and value the importer will change, its present state goes into the
// restoration. So do those of the lines Wine's importer passes over, which
// another importer may take.
class RestorationBuilder final : public ImportVisitor {
public:
    RestorationBuilder(Platform& platform, Restoration& restoration, bool quiet)
        : platform_(platform), restoration_(restoration), quiet_(quiet) {}

    void OnStep(const ImportStep& step) override {
        switch (step.kind) {
            case ImportStep::Kind::OpenKey:
                CloseKeys();
                OpenKeys(step.root, step.path);
                break;
            case ImportStep::Kind::DeleteKey:
                CloseKeys();
                ExportDeletedKey(step.root, step.path);
                break;
            case ImportStep::Kind::SetValue:
                OnValue(step.value.name, false);
                break;
            case ImportStep::Kind::DeleteValue:
                OnValue(step.value.name, true);
                break;
            case ImportStep::Kind::CloseKey:
            case ImportStep::Kind::Skip:
            case ImportStep::Kind::Stop:
                OnPassedOver(step);
                break;
            case ImportStep::Kind::Unreadable:
                break;
        }
    }

    // Once the file is read: the values still held.
    void Finish() { WriteHeldValues(); }

private:
    // A key that the values read next may go to.
    struct ReceivingKey {
        RootKey root;
        std::string path;
        std::unique_ptr<RegistryKey> key;
    };

    // What a line passed over names is saved as if the importer took it.
    // After a key line that Wine's importer skips, it keeps its open key and
    // another importer opens the line's: the values that follow go to both.
    void OnPassedOver(const ImportStep& step) {
        using Named = ImportStep::Named;
        bool keyLine = step.named == Named::Key || step.named == Named::DeletedKey;
        if (step.kind == ImportStep::Kind::CloseKey || (keyLine && step.kind != ImportStep::Kind::Skip)) {
            CloseKeys();
        }
        switch (step.named) {
            case Named::Key:
                OpenKeys(step.root, step.path);
                break;
            case Named::DeletedKey:
                ExportDeletedKey(step.root, step.path);
                break;
            case Named::Value:
                OnValue(step.value.name, true);
                break;
            case Named::Nothing:
                break;
        }
    }

    // Calls `each` with the keys that `root`\`path` stands for as stored.
    // HKEY_CLASSES_ROOT shows the per-user classes over the machine's: where
    // the per-user ones hold the key or a key above it, an importer that
    // merges them writes to either, Wine's to the machine's, and both are
    // saved as they are. Elsewhere the two agree, and the file's name stays.
    template <typename Each>
    void ForEachStoredKey(RootKey root, std::string_view path, Each each) {
        if (root != RootKey::ClassesRoot || !PerUserClassesHold(path)) {
            return each(root, path);
        }
        std::string stored = StoredClassesPath(path);
        each(RootKey::CurrentUser, stored);
        each(RootKey::LocalMachine, stored);
    }

    // Whether the per-user classes hold the topmost key of `path`, and so
    // any of its keys that exist there.
    bool PerUserClassesHold(std::string_view path) {
        OpenedKey top =
            platform_.registry.Open(RootKey::CurrentUser, StoredClassesPath(path.substr(0, path.find('\\'))));
        return top.status != kRegFileNotFound;
    }

    void OpenKeys(RootKey root, std::string_view path) {
        WriteHeldValues();
        ForEachStoredKey(root, path, [this](RootKey storedRoot, std::string_view storedPath) {
            OpenKey(storedRoot, storedPath);
        });
        if (receiving_.size() == 1) {
            restoration_.AddKey(receiving_[0].root, receiving_[0].path);
            keyLineWritten_ = true;
        }
    }

    void OpenKey(RootKey root, std::string_view path) {
        keyLineWritten_ = false;
        OpenedKey opened = platform_.registry.Open(root, path);
        switch (opened.status) {
            case kRegSuccess:
                receiving_.push_back({root, std::string(path), std::move(opened.key)});
                break;
            case kRegFileNotFound:
                restoration_.AddKeyDeletion(root, FirstMissingKey(root, path));
                break;
            case kRegAccessDenied:
                restoration_.AddUncoveredKey(root, path);
                Report("Vous n'avez pas accès à la base de registre. L'opération d'analyse est interrompue");
                break;
            default:
                restoration_.AddUncoveredKey(root, path);
                ReportKeyError(opened.status, root, path);
        }
    }

    void CloseKeys() {
        WriteHeldValues();
        receiving_.clear();
    }

    void ExportDeletedKey(RootKey root, std::string_view path) {
        WriteHeldValues();
        keyLineWritten_ = false;
        ForEachStoredKey(root, path, [this](RootKey storedRoot, std::string_view storedPath) {
            ExportKey(platform_.registry, storedRoot, StoredKeyPath(storedRoot, storedPath), restoration_);
        });
    }

    // One receiving key takes the value at once, under its key line; with
    // more, the values wait for the last of them and go under each key's line.
    void OnValue(std::string_view name, bool storedSpelling) {
        if (receiving_.size() > 1) {
            held_.emplace_back(name, storedSpelling);
        } else if (!receiving_.empty()) {
            if (!keyLineWritten_) {
                restoration_.AddKey(receiving_[0].root, receiving_[0].path);
                keyLineWritten_ = true;
            }
            ExportValueOf(*receiving_[0].key, name, storedSpelling);
        }
    }

    void WriteHeldValues() {
        if (held_.empty()) {
            return;
        }
        for (ReceivingKey& receiving : receiving_) {
            restoration_.AddKey(receiving.root, receiving.path);
            for (const auto& [name, storedSpelling] : held_) {
                ExportValueOf(*receiving.key, name, storedSpelling);
            }
        }
        held_.clear();
        keyLineWritten_ = false;
    }

    // A deletion is saved under the name's stored spelling, as is a line
    // that may set or delete: the restoration must bring the value back as
    // it was.
    void ExportValueOf(RegistryKey& key, std::string_view name, bool storedSpelling) {
        if (storedSpelling) {
            ExportValue(key, key.StoredValueName(name).value_or(std::string(name)), scratchValue_,
                        restoration_);
        } else {
            ExportValue(key, name, scratchValue_, restoration_);
        }
    }

    // `path` with its last key named as the registry spells it: the
    // restoration recreates that key under the name it writes.
    std::string StoredKeyPath(RootKey root, std::string_view path) {
        std::string_view name = platform::NameOf(path);
        std::string storedPath(path);
        if (OpenedKey parent = platform_.registry.Open(root, platform::DirectoryOf(path)); parent.key) {
            if (std::optional<std::string> stored = parent.key->StoredSubKeyName(name)) {
                storedPath.replace(storedPath.size() - name.size(), name.size(), *stored);
            }
        }
        return storedPath;
    }

    // The shortest leading part of `path` that does not exist, `path` being
    // missing: deleting it removes everything the file creates under it.
    // Sought from the key up, since a file mostly creates one key in an
    // existing one.
    std::string_view FirstMissingKey(RootKey root, std::string_view path) {
        std::string_view missing = path;
        for (std::string_view ancestor = platform::DirectoryOf(path); !ancestor.empty();
             ancestor = platform::DirectoryOf(ancestor)) {
            if (platform_.registry.Open(root, ancestor).status != kRegFileNotFound) {
                break;
            }
            missing = ancestor;
        }
        return missing;
    }

    // The key only: the latest value line read may belong to another key.
    void ReportKeyError(RegStatus status, RootKey root, std::string_view path) {
        Report("Erreur " + std::to_string(status) + " à la lecture de la clé " +
               std::string(RootKeyName(root)) + std::string(path));
    }

    void Report(std::string_view text) {
        if (!quiet_) {
            ShowMessage(platform_, text);
        }
    }

    Platform& platform_;
    Restoration& restoration_;
    std::vector<ReceivingKey> receiving_;
    // Whether the restoration's latest line is the one receiving key's own.
    bool keyLineWritten_ = false;
    // Values for more than one receiving key, with whether to take the stored spelling.
    std::vector<std::pair<std::string, bool>> held_;
    RegistryValue scratchValue_;
    bool quiet_;
};

}  // namespace

RestorationText BuildRestoration(Platform& platform, const FileText& text,
                                 std::initializer_list<std::string_view> heldTexts, bool quiet) {
    Restoration restoration(platform.codec);
    // A restoration is about as long as the file it restores.
    restoration.Reserve(text.shown.size());
    for (std::string_view held : heldTexts) {
        restoration.AddText(held);
    }
    RestorationBuilder builder(platform, restoration, quiet);
    if (!text.oddByteCount) {
        ReadImport(text.Read(), text.encoding, platform.codec, builder);
        builder.Finish();
    }
    std::vector<std::string> uncoveredKeys = restoration.UncoveredKeys();
    std::vector<std::string> notCarried = restoration.NotCarried();
    return RestorationText{restoration.Encoding(), std::move(restoration).Text(), std::move(uncoveredKeys),
                           std::move(notCarried)};
}

}  // namespace claverix::engine
