#include "tests/support/StandInImporter.h"

#include <optional>
#include <string>

#include "engine/ImportReader.h"

namespace claverix::tests {

namespace {

class Importer final : public engine::ImportVisitor {
public:
    Importer(RegistryWrites& registry, std::size_t writes) : registry_(registry), left_(writes) {}

    void OnStep(const engine::ImportStep& step) override {
        using Kind = engine::ImportStep::Kind;
        if (left_ == 0 || stopped_ || (step.root != platform::RootKey::CurrentUser && IsKeyStep(step.kind))) {
            return;
        }
        switch (step.kind) {
            case Kind::OpenKey:
                registry_.CreateKey(step.path);
                key_ = step.path;
                break;
            case Kind::DeleteKey:
                registry_.DeleteKey(step.path);
                key_.reset();
                break;
            case Kind::SetValue:
                if (key_) {
                    registry_.SetValue(*key_, step.value.name, step.value.type, step.value.data);
                }
                break;
            case Kind::DeleteValue:
                if (key_) {
                    registry_.DeleteValue(*key_, step.value.name);
                }
                break;
            case Kind::CloseKey:
                key_.reset();
                return;
            case Kind::Stop:
            case Kind::Unreadable:
                stopped_ = true;
                return;
            case Kind::Skip:
                return;
        }
        --left_;
    }

private:
    static bool IsKeyStep(engine::ImportStep::Kind kind) {
        return kind == engine::ImportStep::Kind::OpenKey || kind == engine::ImportStep::Kind::DeleteKey;
    }

    RegistryWrites& registry_;
    std::size_t left_;
    std::optional<std::string> key_;  // below HKEY_CURRENT_USER
    bool stopped_ = false;
};

}  // namespace

void ImportAsTheImporter(const engine::FileText& text, platform::TextCodec& codec, RegistryWrites& registry,
                         std::size_t writes) {
    Importer importer(registry, writes);
    engine::ReadImport(text.Read(), text.encoding, codec, importer);
}

}  // namespace claverix::tests
