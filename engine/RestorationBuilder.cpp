#include "engine/RestorationBuilder.h"

#include <memory>

#include "engine/ImportReader.h"
#include "engine/RegFileFormat.h"
#include "engine/RegistryExport.h"
#include "engine/Reporting.h"

namespace claverix::engine {

using namespace platform;

namespace {

// The file as the importer reads it, against the live registry: for every
// key and value the importer will change, its present state goes into the
// restoration.
class RestorationBuilder final : public ImportVisitor {
public:
    RestorationBuilder(Platform& platform, Restoration& restoration)
        : platform_(platform), restoration_(restoration) {}

    // The step that makes the file unfit for import, if one does.
    const std::optional<ImportStep>& Unreadable() const { return unreadable_; }

    void OnStep(const ImportStep& step) override {
        switch (step.kind) {
            case ImportStep::Kind::OpenKey:
                currentKey_.reset();
                OnOpenKey(step.root, step.path);
                break;
            case ImportStep::Kind::DeleteKey:
                currentKey_.reset();
                ExportKey(platform_.registry, step.root, StoredKeyPath(step.root, step.path), restoration_);
                break;
            case ImportStep::Kind::SetValue:
            case ImportStep::Kind::DeleteValue:
                OnValue(step.value.name, step.kind == ImportStep::Kind::DeleteValue);
                break;
            case ImportStep::Kind::CloseKey:
                currentKey_.reset();
                break;
            case ImportStep::Kind::Unreadable:
                unreadable_ = step;
                break;
            case ImportStep::Kind::Skip:
            case ImportStep::Kind::Stop:
                break;
        }
    }

private:
    void OnOpenKey(RootKey root, const std::string& path) {
        OpenedKey opened = platform_.registry.Open(root, path);
        switch (opened.status) {
            case kRegSuccess:
                currentKey_ = std::move(opened.key);
                restoration_.AddKey(root, path);
                break;
            case kRegFileNotFound:
                restoration_.AddKeyDeletion(root, FirstMissingKey(root, path));
                break;
            case kRegAccessDenied:
                restoration_.AddUncoveredKey(root, path);
                ShowMessage(
                    platform_,
                    "Vous n'avez pas accès à la base de registre. L'opération d'analyse est interrompue");
                break;
            default:
                restoration_.AddUncoveredKey(root, path);
                ReportKeyError(opened.status, root, path);
        }
    }

    // Deletions are saved too, under the name's stored spelling: the
    // restoration must bring the value back as it was.
    void OnValue(const std::string& name, bool isDeletion) {
        if (currentKey_ && isDeletion) {
            ExportValue(*currentKey_, currentKey_->StoredValueName(name).value_or(name), scratchValue_,
                        restoration_);
        } else if (currentKey_) {
            ExportValue(*currentKey_, name, scratchValue_, restoration_);
        }
    }

    // `path` with its last key named as the registry spells it: the
    // restoration recreates that key under the name it writes.
    std::string StoredKeyPath(RootKey root, std::string_view path) {
        auto slash = path.rfind('\\');
        std::string_view parentPath =
            slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
        std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
        std::string storedPath(path);
        if (OpenedKey parent = platform_.registry.Open(root, parentPath); parent.key) {
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
        for (std::size_t slash = path.rfind('\\'); slash != std::string_view::npos && slash > 0;
             slash = path.rfind('\\', slash - 1)) {
            std::string_view ancestor = path.substr(0, slash);
            if (platform_.registry.Open(root, ancestor).status != kRegFileNotFound) {
                break;
            }
            missing = ancestor;
        }
        return missing;
    }

    // The key only: the latest value line read may belong to another key.
    void ReportKeyError(RegStatus status, RootKey root, std::string_view path) {
        ShowMessage(platform_, "Erreur " + std::to_string(status) + " à la lecture de la clé " +
                                   std::string(RootKeyName(root)) + std::string(path));
    }

    Platform& platform_;
    Restoration& restoration_;
    std::unique_ptr<RegistryKey> currentKey_;
    RegistryValue scratchValue_;
    std::optional<ImportStep> unreadable_;
};

// Whether the importer must not read the file; when so, the user is told why.
bool RefusesImport(Platform& platform, const std::string& fileName, const FileText& text,
                   const std::optional<ImportStep>& unreadable) {
    std::string name = platform.codec.AnsiToUtf8(fileName);
    std::string reason;
    if (text.oddByteCount) {
        reason = "c'est un fichier UTF-16 corrompu, au nombre d'octets impair";
    } else if (unreadable) {
        reason = "ligne " + std::to_string(unreadable->line) + ", " + std::string(unreadable->reason);
    } else {
        return false;
    }
    ShowMessage(platform, "Le fichier " + name + " ne peut pas être fusionné : " + reason +
                              ".\r\nSa restauration ne pourrait pas être sûre.");
    return true;
}

}  // namespace

std::optional<BuiltRestoration> BuildRestoration(Platform& platform, const std::string& fileName,
                                                 const FileText& text) {
    Restoration restoration(platform.codec);
    // A restoration is about as long as the file it restores.
    restoration.Reserve(text.shown.size());
    RestorationBuilder builder(platform, restoration);
    if (!text.oddByteCount) {
        ReadImport(text.Read(), text.encoding, platform.codec, builder);
    }
    if (RefusesImport(platform, fileName, text, builder.Unreadable())) {
        return std::nullopt;
    }
    std::vector<std::string> uncoveredKeys = restoration.UncoveredKeys();
    std::vector<std::string> notCarried = restoration.NotCarried();
    return BuiltRestoration{{restoration.Encoding(), std::move(restoration).Text(), std::move(uncoveredKeys)},
                            std::move(notCarried)};
}

}  // namespace claverix::engine
