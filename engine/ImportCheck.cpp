#include "engine/ImportCheck.h"

#include "engine/MergeRecord.h"

namespace claverix::engine {

using namespace platform;

namespace {

class Checker {
public:
    Checker(Registry& registry, const ForeseenImport& foreseen, std::size_t listed)
        : registry_(registry), foreseen_(foreseen), listed_(listed) {}

    ImportCheck Run() && {
        record_.View(registry_.View());
        for (const ForeseenKey& key : foreseen_.keys) {
            CheckKey(key);
        }
        for (const SkippedLine& skipped : foreseen_.skipped) {
            if (skipped.keyOrValueLine) {
                CountSkipped(skipped);
            }
        }
        check_.record = std::move(record_).Text();
        return std::move(check_);
    }

private:
    void CheckKey(const ForeseenKey& key) {
        OpenedKey opened = registry_.Open(key.root, key.path);
        // A key that exists but may not be read; any other failure is a key
        // that is not there, such as one whose name the registry refuses.
        bool readable = opened.status != kRegAccessDenied;
        if (readable) {
            record_.Key(key.root, key.path, opened.status == kRegSuccess);
        }
        if (!key.uncertain) {
            ++check_.keysChecked;
            if (!readable || key.present != (opened.status == kRegSuccess)) {
                ++check_.keysMissed;
                Missed([&] {
                    const char* what = !readable     ? " : clé illisible, non vérifiée"
                                       : key.present ? " : clé non créée"
                                                     : " : clé non supprimée";
                    return KeyText(key) + what;
                });
            }
        }
        for (std::size_t index : key.values) {
            CheckValue(opened.key.get(), key, foreseen_.values[index], readable);
        }
    }

    void CheckValue(RegistryKey* key, const ForeseenKey& foreseenKey, const ForeseenValue& value,
                    bool keyReadable) {
        RegStatus status = key ? key->QueryValue(value.value.name, scratch_) : kRegFileNotFound;
        if (key && status == kRegSuccess) {
            record_.Value(scratch_);
        } else if (key && status == kRegFileNotFound) {
            record_.DeletedValue(value.value.name);
        }
        if (value.uncertain) {
            return;
        }
        ++check_.valuesChecked;
        bool took =
            keyReadable && (value.present ? status == kRegSuccess && HoldsForeseenData(scratch_, value)
                                          : status == kRegFileNotFound);
        if (!took) {
            ++check_.valuesMissed;
            Missed([&] {
                const char* what = !keyReadable            ? " : clé illisible, non vérifiée"
                                   : !value.present        ? " : valeur non supprimée"
                                   : status == kRegSuccess ? " : autre donnée que celle du fichier"
                                                           : " : valeur non écrite";
                return ValueText(foreseenKey, value) + what;
            });
        }
    }

    void CountSkipped(const SkippedLine& skipped) {
        ++(skipped.keyLine ? check_.keysChecked : check_.valuesChecked);
        ++(skipped.keyLine ? check_.keysMissed : check_.valuesMissed);
        Missed([&] { return "ligne " + std::to_string(skipped.line) + " : " + std::string(skipped.reason); });
    }

    template <typename Describe>
    void Missed(Describe describe) {
        if (check_.firstMissed.size() < listed_) {
            check_.firstMissed.push_back(describe());
        }
    }

    Registry& registry_;
    const ForeseenImport& foreseen_;
    std::size_t listed_;
    ImportCheck check_;
    RecordWriter record_;
    RegistryValue scratch_;
};

}  // namespace

ImportCheck CheckImport(Registry& registry, const ForeseenImport& foreseen, std::size_t listed) {
    return Checker(registry, foreseen, listed).Run();
}

}  // namespace claverix::engine
