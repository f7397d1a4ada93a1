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
        if (left_ == 0 || stopped_) {
            return;
        }
        switch (step.kind) {
            case Kind::OpenKey:
                key_.reset();
                if (RegistryWrites* writes = registry_.WritesUnder(step.root)) {
                    writes->CreateKey(step.path);
                    key_ = OpenKey{writes, step.path};
                    break;
                }
                return;
            case Kind::DeleteKey:
                key_.reset();
                if (RegistryWrites* writes = registry_.WritesUnder(step.root)) {
                    writes->DeleteKey(step.path);
                    break;
                }
                return;
            case Kind::SetValue:
                if (key_) {
                    key_->writes->SetValue(key_->path, step.value.name, step.value.type, step.value.data);
                }
                break;
            case Kind::DeleteValue:
                if (key_) {
                    key_->writes->DeleteValue(key_->path, step.value.name);
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
    struct OpenKey {
        RegistryWrites* writes;  // under the key's root
        std::string path;
    };

    RegistryWrites& registry_;
    std::size_t left_;
    std::optional<OpenKey> key_;
    bool stopped_ = false;
};

}  // namespace

void ImportAsTheImporter(const engine::FileText& text, platform::TextCodec& codec, RegistryWrites& registry,
                         std::size_t writes) {
    Importer importer(registry, writes);
    engine::ReadImport(text.Read(), text.encoding, codec, importer);
}

}  // namespace claverix::tests
