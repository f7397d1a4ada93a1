#include "engine/MergeRecord.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "engine/RegFileFormat.h"
#include "engine/RestorationGaps.h"

namespace claverix::engine {

using namespace platform;

namespace {

std::uint32_t Fnv1a(std::string_view bytes) {
    std::uint32_t hash = 2166136261u;
    for (char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string_view HashedBytes(const ForeseenValue& value) {
    std::string_view data = value.value.data;
    return value.lastByteUnforeseen ? data.substr(0, data.size() - 1) : data;
}

void AppendKeyLine(std::string& out, const ForeseenKey& key) {
    out.append(kRecordPrefix).append(key.present ? "[" : "[-");
    std::string_view root = RootKeyName(key.root);
    out.append(key.path.empty() ? root.substr(0, root.size() - 1) : root);
    AppendPercentEscaped(out, key.path);
    out.append("]").append(kCrLf);
}

void AppendValueLine(std::string& out, const ForeseenValue& value) {
    out.append(kRecordPrefix);
    if (value.value.name.empty()) {
        out += '@';
    } else {
        out += '"';
        AppendPercentEscaped(out, value.value.name);
        out += '"';
    }
    if (!value.present) {
        out.append("=-").append(kCrLf);
        return;
    }
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "=%u:%zu%s:%08x", static_cast<unsigned>(value.value.type),
                  value.value.data.size(), value.lastByteUnforeseen ? "~" : "",
                  static_cast<unsigned>(Fnv1a(HashedBytes(value))));
    out.append(numbers).append(kCrLf);
}

// A recorded value line after its name: "-", or the type, the byte count and the hash.
struct RecordedData {
    bool present = false;
    std::uint32_t type = 0;
    std::size_t size = 0;
    bool lastByteUnforeseen = false;
    std::uint32_t hash = 0;
};

std::optional<RecordedData> ParseData(std::string_view text) {
    RecordedData data;
    if (text == "-") {
        return data;
    }
    data.present = true;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    auto read = [&](auto& number, int base) {
        auto result = std::from_chars(at, end, number, base);
        at = result.ptr;
        return result.ec == std::errc{};
    };
    if (!read(data.type, 10) || at == end || *at++ != ':' || !read(data.size, 10)) {
        return std::nullopt;
    }
    if (at != end && *at == '~') {
        data.lastByteUnforeseen = true;
        ++at;
    }
    if (at == end || *at++ != ':' || !read(data.hash, 16) || at != end) {
        return std::nullopt;
    }
    return data;
}

bool Holds(const RegistryValue& actual, const RecordedData& recorded) {
    if (actual.type != recorded.type || actual.data.size() != recorded.size) {
        return false;
    }
    std::string_view bytes = actual.data;
    if (recorded.lastByteUnforeseen && !bytes.empty()) {
        bytes.remove_suffix(1);
    }
    return Fnv1a(bytes) == recorded.hash;
}

// Reads the record line by line against the registry, the latest key open.
class RecordComparison {
public:
    RecordComparison(Registry& registry, std::size_t listed) : registry_(registry), listed_(listed) {}

    void OnLine(std::string_view line) {
        if (line.starts_with('[')) {
            OnKeyLine(line.substr(1));
        } else if (key_.root != RootKey::None) {
            OnValueLine(line);
        }
    }

    RecordDrift Result() && { return std::move(drift_); }

private:
    void OnKeyLine(std::string_view body) {
        key_ = {};
        opened_ = {};
        bool deleted = body.starts_with('-');
        body.remove_prefix(deleted ? 1 : 0);
        std::string_view path;
        RootKey root =
            body.ends_with(']') ? SplitKeyName(body.substr(0, body.size() - 1), path) : RootKey::None;
        std::optional<std::string> unescaped = PercentUnescaped(path);
        if (root == RootKey::None || !unescaped) {
            return;
        }
        key_.root = root;
        key_.path = std::move(*unescaped);
        opened_ = registry_.Open(key_.root, key_.path);
        if (deleted == (opened_.status == kRegSuccess)) {
            Changed(KeyText(key_) + (deleted ? " : clé recréée" : " : clé supprimée"));
        }
        if (deleted) {
            key_.root = RootKey::None;  // no value line belongs to a deleted key
        }
    }

    void OnValueLine(std::string_view line) {
        ForeseenValue value;
        std::size_t equals = 0;
        if (line.starts_with('@')) {
            equals = 1;
        } else if (line.starts_with('"')) {
            std::size_t close = line.find('"', 1);
            std::optional<std::string> name =
                close == std::string_view::npos ? std::nullopt : PercentUnescaped(line.substr(1, close - 1));
            if (!name || name->empty()) {
                return;
            }
            value.value.name = std::move(*name);
            equals = close + 1;
        }
        std::optional<RecordedData> recorded =
            line.substr(equals).starts_with('=') ? ParseData(line.substr(equals + 1)) : std::nullopt;
        if (equals == 0 || !recorded) {
            return;
        }
        RegStatus status =
            opened_.key ? opened_.key->QueryValue(value.value.name, scratch_) : kRegFileNotFound;
        bool same = recorded->present ? status == kRegSuccess && Holds(scratch_, *recorded)
                                      : status == kRegFileNotFound;
        if (!same) {
            const char* what = !recorded->present      ? " : valeur recréée"
                               : status == kRegSuccess ? " : valeur modifiée"
                                                       : " : valeur supprimée";
            Changed(ValueText(key_, value) + what);
        }
    }

    void Changed(std::string description) {
        if (drift_.first.size() < listed_) {
            drift_.first.push_back(std::move(description));
        }
        ++drift_.count;
    }

    Registry& registry_;
    std::size_t listed_;
    ForeseenKey key_;
    OpenedKey opened_;
    RegistryValue scratch_;
    RecordDrift drift_;
};

}  // namespace

std::string MergeRecordText(const ForeseenImport& foreseen) {
    std::string text;
    for (const ForeseenKey& key : foreseen.keys) {
        if (key.uncertain) {
            continue;
        }
        AppendKeyLine(text, key);
        for (std::size_t index : key.values) {
            const ForeseenValue& value = foreseen.values[index];
            if (key.present && !value.uncertain) {
                AppendValueLine(text, value);
            }
        }
    }
    return text;
}

RecordDrift ChangesSinceRecord(Registry& registry, std::string_view fileText, std::size_t listed) {
    RecordComparison comparison(registry, listed);
    LineReader lines(fileText);
    for (std::string_view line; lines.Next(line);) {
        if (line.starts_with(kRecordPrefix) && !IsRestorationGapLine(line)) {
            comparison.OnLine(line.substr(kRecordPrefix.size()));
        }
    }
    return std::move(comparison).Result();
}

}  // namespace claverix::engine
