#include "engine/ImportCheck.h"

namespace claverix::engine {

using namespace platform;

namespace {

class Checker {
public:
    Checker(Registry& registry, const ForeseenImport& foreseen, std::size_t listed)
        : registry_(registry), foreseen_(foreseen), listed_(listed) {}

    ImportCheck Run() && {
        for (const ForeseenKey& key : foreseen_.keys) {
            CheckKey(key);
        }
        return std::move(check_);
    }

private:
    void CheckKey(const ForeseenKey& key) {
        OpenedKey opened = registry_.Open(key.root, key.path);
        if (!key.uncertain) {
            ++check_.keysChecked;
            if (key.present != (opened.status == kRegSuccess)) {
                ++check_.keysMissed;
                Missed([&] {
                    return KeyText(key) + (key.present ? " : clé non créée" : " : clé non supprimée");
                });
            }
        }
        for (std::size_t index : key.values) {
            const ForeseenValue& value = foreseen_.values[index];
            if (!value.uncertain) {
                CheckValue(opened.key.get(), key, value);
            }
        }
    }

    void CheckValue(RegistryKey* key, const ForeseenKey& foreseenKey, const ForeseenValue& value) {
        ++check_.valuesChecked;
        RegStatus status = key ? key->QueryValue(value.value.name, scratch_) : kRegFileNotFound;
        bool took = value.present ? status == kRegSuccess && HoldsForeseenData(scratch_, value)
                                  : status == kRegFileNotFound;
        if (!took) {
            ++check_.valuesMissed;
            Missed([&] {
                const char* what = !value.present          ? " : valeur non supprimée"
                                   : status == kRegSuccess ? " : autre donnée que celle du fichier"
                                                           : " : valeur non écrite";
                return ValueText(foreseenKey, value) + what;
            });
        }
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
    RegistryValue scratch_;
};

}  // namespace

ImportCheck CheckImport(Registry& registry, const ForeseenImport& foreseen, std::size_t listed) {
    return Checker(registry, foreseen, listed).Run();
}

}  // namespace claverix::engine
