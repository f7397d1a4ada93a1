#include "engine/ForeseenImport.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>

#include "engine/ImportReader.h"
#include "engine/RegFileFormat.h"
#include "platform/Paths.h"
#include "platform/Unicode.h"

namespace claverix::engine {

using platform::RootKey;
using Kind = ImportStep::Kind;

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr std::string_view kNoOpenKey = "aucune clé ouverte : valeur ignorée";

class Foresight final : public ImportVisitor {
public:
    explicit Foresight(platform::TextCodec& codec) : codec_(codec) {}

    ForeseenImport Result() && { return std::move(import_); }

    void OnStep(const ImportStep& step) override {
        switch (step.kind) {
            case Kind::OpenKey:
                currentKey_ = OnOpenKey(step.root, step.path);
                break;
            case Kind::DeleteKey:
                OnDeleteKey(step.root, step.path);
                currentKey_.reset();
                break;
            case Kind::SetValue:
            case Kind::DeleteValue:
                if (currentKey_) {
                    OnValue(*currentKey_, step);
                } else {
                    // After a key line the importer could not use, or a deletion.
                    Skip({step.line, kNoOpenKey, true, false});
                }
                break;
            case Kind::CloseKey:
                currentKey_.reset();
                Skip(step);
                break;
            case Kind::Skip:
                Skip(step);
                break;
            case Kind::Stop:
                stopped_ = true;
                Skip(step);
                break;
            case Kind::Unreadable:
                import_.unreadable = true;
                Skip(step);
                break;
        }
    }

private:
    // The key's identity: its root and folded path; a backslash ends it, so
    // that the keys below it follow it in order.
    const std::string& KeyId(RootKey root, std::string_view path) {
        id_.assign(1, static_cast<char>(static_cast<std::uint32_t>(root) & 0xFF));
        AppendFolded(id_, path, codec_);
        id_ += '\\';
        return id_;
    }

    std::size_t TouchKey(RootKey root, std::string_view path) {
        auto [at, added] = keyIds_.try_emplace(KeyId(root, path), import_.keys.size());
        if (added) {
            import_.keys.push_back({root, std::string(path), true, false, false, {}});
            import_.order.push_back({ForeseenImport::Kind::Key, at->second});
        }
        import_.keys[at->second].uncertain = stopped_;
        return at->second;
    }

    std::size_t OnOpenKey(RootKey root, std::string_view path) {
        std::size_t key = TouchKey(root, path);
        import_.keys[key].present = true;
        if (anyDeletion_) {
            // Creating a key creates the keys above it that the file deleted.
            for (std::string_view above = path; above.find('\\') != std::string_view::npos;) {
                above = platform::DirectoryOf(above);
                if (auto id = keyIds_.find(KeyId(root, above)); id != keyIds_.end()) {
                    import_.keys[id->second].present = true;
                }
            }
        }
        return key;
    }

    // The key goes with everything below it that the file has touched.
    void OnDeleteKey(RootKey root, std::string_view path) {
        anyDeletion_ = true;
        TouchKey(root, path);
        const std::string prefix = KeyId(root, path);
        for (auto at = keyIds_.lower_bound(prefix); at != keyIds_.end() && at->first.starts_with(prefix);
             ++at) {
            ForeseenKey& key = import_.keys[at->second];
            key.present = false;
            key.deleted = true;
            key.uncertain = stopped_;
            for (std::size_t value : key.values) {
                import_.values[value].present = false;
                import_.values[value].uncertain = stopped_;
            }
        }
    }

    void OnValue(std::size_t key, const ImportStep& step) {
        valueId_.assign(reinterpret_cast<const char*>(&key), sizeof key);
        AppendFolded(valueId_, step.value.name, codec_);
        auto [at, added] = valueIds_.try_emplace(valueId_, import_.values.size());
        if (added) {
            import_.values.push_back({key, {step.value.name, platform::kRegNone, {}}, false, false, false});
            import_.keys[key].values.push_back(at->second);
            import_.order.push_back({ForeseenImport::Kind::Value, at->second});
        }
        ForeseenValue& value = import_.values[at->second];
        value.present = step.kind == Kind::SetValue;
        value.value.type = value.present ? step.value.type : platform::kRegNone;
        value.value.data.assign(value.present ? std::string_view(step.value.data) : std::string_view{});
        value.lastByteUnforeseen = value.present && step.lastByteUnforeseen;
        value.uncertain = stopped_;
    }

    void Skip(const ImportStep& step) { Skip({step.line, step.reason, step.keyOrValueLine, step.keyLine}); }

    void Skip(SkippedLine line) {
        import_.order.push_back({ForeseenImport::Kind::Skipped, import_.skipped.size()});
        import_.skipped.push_back(line);
    }

    platform::TextCodec& codec_;
    ForeseenImport import_;
    // Ordered, so that a deletion finds the keys below the one it deletes.
    std::map<std::string, std::size_t> keyIds_;
    std::unordered_map<std::string, std::size_t> valueIds_;
    std::optional<std::size_t> currentKey_;
    bool stopped_ = false;
    bool anyDeletion_ = false;
    // Buffers kept from step to step.
    std::string id_;
    std::string valueId_;
};

}  // namespace

void AppendFolded(std::string& out, std::string_view name, platform::TextCodec& codec) {
    if (IsAscii(name)) {
        for (char c : name) {
            out += AsciiLower(c);
        }
        return;
    }
    std::u16string utf16 = platform::Utf8ToUtf16(name);
    codec.ToUpper(utf16);
    std::string folded = platform::Utf16ToUtf8(utf16);
    for (char c : folded) {
        out += AsciiLower(c);
    }
}

bool WritesCurrentUser(const ForeseenImport& foreseen) {
    return std::any_of(foreseen.keys.begin(), foreseen.keys.end(),
                       [](const ForeseenKey& key) { return key.root == RootKey::CurrentUser; });
}

ForeseenImport ForeseeImport(const FileText& text, platform::TextCodec& codec) {
    Foresight foresight(codec);
    if (text.oddByteCount) {
        ForeseenImport unreadable;
        unreadable.unreadable = true;
        return unreadable;
    }
    ReadImport(text.Read(), text.encoding, codec, foresight);
    return std::move(foresight).Result();
}

bool HoldsForeseenData(const platform::RegistryValue& actual, const ForeseenValue& foreseen) {
    const std::string& expected = foreseen.value.data;
    if (actual.type != foreseen.value.type || actual.data.size() != expected.size()) {
        return false;
    }
    std::size_t compared = expected.size() - (foreseen.lastByteUnforeseen ? 1 : 0);
    return std::string_view(actual.data).substr(0, compared) ==
           std::string_view(expected).substr(0, compared);
}

std::string KeyText(const ForeseenKey& key) {
    std::string text(RootKeyName(key.root));
    if (key.path.empty()) {
        text.pop_back();  // the root itself: no backslash after its name
    }
    return text.append(key.path);
}

std::string ValueText(const ForeseenKey& key, const ForeseenValue& value) {
    std::string text = KeyText(key);
    text += '\\';
    AppendWrittenName(text, value.value.name);
    return text;
}

}  // namespace claverix::engine
