#include <algorithm>
#include <cstdio>
#include <optional>

#include "app/Preview.h"
#include "engine/ForeseenImport.h"
#include "platform/Unicode.h"

namespace claverix::app {

using namespace platform;
using engine::ForeseenImport;
using engine::ForeseenKey;
using engine::ForeseenValue;

namespace {

// Past these, data is shortened: a cell shows one line.
constexpr std::size_t kShownCharacters = 100;
constexpr std::size_t kShownBytes = 32;
constexpr char kHexDigits[] = "0123456789abcdef";

constexpr const char* kTypeNames[] = {"REG_NONE",
                                      "REG_SZ",
                                      "REG_EXPAND_SZ",
                                      "REG_BINARY",
                                      "REG_DWORD",
                                      "REG_DWORD_BIG_ENDIAN",
                                      "REG_LINK",
                                      "REG_MULTI_SZ",
                                      "REG_RESOURCE_LIST",
                                      "REG_FULL_RESOURCE_DESCRIPTOR",
                                      "REG_RESOURCE_REQUIREMENTS_LIST",
                                      "REG_QWORD"};

// `text` between double quotes, cut after kShownCharacters units, never
// inside a surrogate pair.
void AppendQuoted(std::string& out, std::u16string_view text) {
    bool shortened = text.size() > kShownCharacters;
    if (shortened) {
        std::size_t cut = kShownCharacters;
        cut -= (text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF) ? 1 : 0;
        text = text.substr(0, cut);
    }
    out.append("\"").append(Utf16ToUtf8(text)).append(shortened ? "…\"" : "\"");
}

std::string StringsText(std::uint32_t type, std::string_view data) {
    std::u16string text = Utf16FromBytes(data);
    if (type != kRegMultiSz) {
        std::u16string_view shown(text);
        std::string out;
        AppendQuoted(out, shown.substr(0, shown.find(u'\0')));
        return out;
    }
    // The strings end at the first empty one, as the system reads them.
    std::string out;
    std::u16string_view rest(text);
    while (!rest.empty() && rest.front() != u'\0' && out.size() < 4 * kShownCharacters) {
        std::size_t end = std::min(rest.find(u'\0'), rest.size());
        out.append(out.empty() ? "" : ", ");
        AppendQuoted(out, rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    if (!rest.empty() && rest.front() != u'\0') {
        out.append(", …");
    }
    return out.empty() ? "(aucune chaîne)" : out;
}

std::string HexText(std::string_view data) {
    if (data.empty()) {
        return "(aucun octet)";
    }
    std::size_t shown = std::min(data.size(), kShownBytes);
    std::string out(3 * shown - 1, ' ');
    for (std::size_t i = 0; i < shown; ++i) {
        auto byte = static_cast<unsigned char>(data[i]);
        out[3 * i] = kHexDigits[byte >> 4];
        out[3 * i + 1] = kHexDigits[byte & 0x0F];
    }
    if (data.size() > kShownBytes) {
        out.append(" … (").append(std::to_string(data.size())).append(" octets)");
    }
    return out;
}

// The rows of one merge's preview, built key by key against the registry,
// then put in the order of the file.
class PreviewBuilder {
public:
    PreviewBuilder(Registry& registry, const ForeseenImport& foreseen)
        : registry_(registry), foreseen_(foreseen) {}

    std::vector<PreviewRow> Build() && {
        keyRows_.resize(foreseen_.keys.size());
        valueRows_.resize(foreseen_.values.size());
        for (std::size_t key = 0; key < foreseen_.keys.size(); ++key) {
            ReadKey(key);
        }
        std::vector<PreviewRow> rows;
        rows.reserve(foreseen_.order.size());

        for (const ForeseenImport::Entry& entry : foreseen_.order) {
            switch (entry.kind) {
                case ForeseenImport::Kind::Key:
                    if (keyRows_[entry.index]) {
                        rows.push_back(std::move(*keyRows_[entry.index]));
                    }
                    break;
                case ForeseenImport::Kind::Value:
                    rows.push_back(std::move(valueRows_[entry.index]));
                    break;
                case ForeseenImport::Kind::Skipped:
                    rows.push_back(SkippedRow(foreseen_.skipped[entry.index]));
                    break;
            }
        }
        return rows;
    }

private:
    void ReadKey(std::size_t index) {
        const ForeseenKey& key = foreseen_.keys[index];
        std::string keyText = engine::KeyText(key);
        OpenedKey opened = registry_.Open(key.root, key.path);
        bool existsNow = opened.status != kRegFileNotFound;  // one that cannot be read exists too
        if (existsNow && key.deleted) {
            keyRows_[index] =
                PreviewRow{keyText, "", "", "", key.present ? "recréée" : "", Change::KeyDeleted, ""};
        } else if (!existsNow && key.present) {
            keyRows_[index] = PreviewRow{keyText, "", "", "", "", Change::KeyCreated, ""};
        }
        bool readable = opened.status != kRegAccessDenied;
        bool policy = IsPolicyKey(keyText);
        if (keyRows_[index]) {
            keyRows_[index]->policy = policy;
        }
        for (std::size_t value : key.values) {
            valueRows_[value] = readable ? ValueRow(opened.key.get(), keyText, foreseen_.values[value])
                                         : UnknownRow(keyText, foreseen_.values[value]);
            valueRows_[value].policy = policy;
        }
    }

    PreviewRow ValueRow(RegistryKey* key, const std::string& keyText, const ForeseenValue& foreseen) {
        bool presentNow = key && key->QueryValue(foreseen.value.name, now_) == kRegSuccess;
        PreviewRow row = RowAfter(keyText, foreseen);
        if (presentNow) {
            row.now = DataText(now_.type, now_.data);
            row.type = foreseen.present ? row.type : TypeName(now_.type);
        }
        if (presentNow != foreseen.present) {
            row.change = presentNow ? Change::Deleted : Change::Added;
        } else if (presentNow && !engine::HoldsForeseenData(now_, foreseen)) {
            row.change = Change::Changed;
        }
        return row;
    }

    // A value of a key that exists but cannot be read: what it holds now is not known.
    static PreviewRow UnknownRow(const std::string& keyText, const ForeseenValue& foreseen) {
        PreviewRow row = RowAfter(keyText, foreseen);
        row.now = "(clé illisible)";
        row.change = Change::Unknown;
        return row;
    }

    // A value's row with what the file leaves of it; the type is the one it will have.
    static PreviewRow RowAfter(const std::string& keyText, const ForeseenValue& foreseen) {
        const RegistryValue& after = foreseen.value;
        PreviewRow row{keyText, after.name.empty() ? "@" : after.name, "", "", "", Change::Unchanged, ""};
        if (foreseen.present) {
            row.after = DataText(after.type, after.data);
            row.type = TypeName(after.type);
        }
        return row;
    }

    static PreviewRow SkippedRow(const engine::SkippedLine& skipped) {
        PreviewRow row;
        row.change = Change::Skipped;
        row.note = "ligne " + std::to_string(skipped.line) + " : " + std::string(skipped.reason);
        return row;
    }

    Registry& registry_;
    const ForeseenImport& foreseen_;
    std::vector<std::optional<PreviewRow>> keyRows_;
    std::vector<PreviewRow> valueRows_;
    RegistryValue now_;
};

}  // namespace

std::string TypeName(std::uint32_t type) {
    if (type < std::size(kTypeNames)) {
        return kTypeNames[type];
    }
    char name[24];
    std::snprintf(name, sizeof name, "REG_0x%x", static_cast<unsigned>(type));
    return name;
}

std::string DataText(std::uint32_t type, std::string_view data) {
    if (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz) {
        return StringsText(type, data);
    }
    if (type == kRegDword && data.size() == 4) {
        std::string text = "0x";
        std::uint32_t number = 0;
        for (std::size_t i = 4; i-- > 0;) {
            auto byte = static_cast<unsigned char>(data[i]);
            number = number << 8 | byte;
            text.append(1, kHexDigits[byte >> 4]).append(1, kHexDigits[byte & 0x0F]);
        }
        return text.append(" (").append(std::to_string(number)).append(")");
    }
    return HexText(data);
}

std::string PreviewNote(const engine::Analysis& analysis) {
    return analysis.savedAsUtf8
               ? "Attention : ce fichier est enregistré en UTF-8. L'éditeur du Registre le lit dans la "
                 "page de code du système : ses caractères accentués ou non latins arriveraient "
                 "altérés."
               : std::string{};
}

std::vector<PreviewRow> BuildPreview(Registry& registry, const ForeseenImport& foreseen) {
    return PreviewBuilder(registry, foreseen).Build();
}

}  // namespace claverix::app
