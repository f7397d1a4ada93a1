#include "engine/MergeRecord.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

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

// Takes a file's record apart line by line: each key, then its values.
class RecordReader {
public:
    virtual ~RecordReader() = default;

    void Read(std::string_view fileText) {
        LineReader lines(fileText);
        for (std::string_view line; lines.Next(line);) {
            if (!line.starts_with(kRecordPrefix) || IsRestorationGapLine(line)) {
                continue;
            }
            line.remove_prefix(kRecordPrefix.size());
            if (line.starts_with('[')) {
                ReadKeyLine(line.substr(1));
            } else if (inKey_) {
                ReadValueLine(line);
            }
        }
    }

protected:
    // A key the merge left present, or deleted; no value line follows a deleted one.
    virtual void OnKey(RootKey root, const std::string& path, bool deleted) = 0;
    virtual void OnValue(const std::string& name, const RecordedData& recorded) = 0;

private:
    void ReadKeyLine(std::string_view body) {
        inKey_ = false;
        bool deleted = body.starts_with('-');
        body.remove_prefix(deleted ? 1 : 0);
        std::string_view path;
        RootKey root =
            body.ends_with(']') ? SplitKeyName(body.substr(0, body.size() - 1), path) : RootKey::None;
        std::optional<std::string> unescaped = PercentUnescaped(path);
        if (root == RootKey::None || !unescaped) {
            return;
        }
        inKey_ = !deleted;
        OnKey(root, *unescaped, deleted);
    }

    void ReadValueLine(std::string_view line) {
        std::string name;
        std::size_t equals = 0;
        if (line.starts_with('@')) {
            equals = 1;
        } else if (line.starts_with('"')) {
            std::size_t close = line.find('"', 1);
            std::optional<std::string> unescaped =
                close == std::string_view::npos ? std::nullopt : PercentUnescaped(line.substr(1, close - 1));
            if (!unescaped || unescaped->empty()) {
                return;
            }
            name = std::move(*unescaped);
            equals = close + 1;
        }
        std::optional<RecordedData> recorded =
            line.substr(equals).starts_with('=') ? ParseData(line.substr(equals + 1)) : std::nullopt;
        if (equals != 0 && recorded) {
            OnValue(name, *recorded);
        }
    }

    bool inKey_ = false;
};

// Counts and names the first items of a drift.
class DriftList {
public:
    explicit DriftList(std::size_t listed) : listed_(listed) {}

    void Add(std::string description) {
        if (drift_.first.size() < listed_) {
            drift_.first.push_back(std::move(description));
        }
        ++drift_.count;
    }

    RecordDrift Result() && { return std::move(drift_); }

private:
    std::size_t listed_;
    RecordDrift drift_;
};

// The record against the registry now, the latest key open.
class RecordComparison final : public RecordReader {
public:
    RecordComparison(Registry& registry, std::size_t listed) : registry_(registry), drift_(listed) {}

    RecordDrift Result() && { return std::move(drift_).Result(); }

private:
    void OnKey(RootKey root, const std::string& path, bool deleted) override {
        key_.root = root;
        key_.path = path;
        opened_ = registry_.Open(root, path);
        if (deleted == (opened_.status == kRegSuccess)) {
            drift_.Add(KeyText(key_) + (deleted ? " : clé recréée" : " : clé supprimée"));
        }
    }

    void OnValue(const std::string& name, const RecordedData& recorded) override {
        RegStatus status = opened_.key ? opened_.key->QueryValue(name, scratch_) : kRegFileNotFound;
        bool same = recorded.present ? status == kRegSuccess && Holds(scratch_, recorded)
                                     : status == kRegFileNotFound;
        if (!same) {
            const char* what = !recorded.present       ? " : valeur recréée"
                               : status == kRegSuccess ? " : valeur modifiée"
                                                       : " : valeur supprimée";
            ForeseenValue value;
            value.value.name = name;
            drift_.Add(ValueText(key_, value) + what);
        }
    }

    Registry& registry_;
    ForeseenKey key_;
    OpenedKey opened_;
    RegistryValue scratch_;
    DriftList drift_;
};

// The keys a record names, folded: those the merge left present with the
// names of the values it set there, and those it left deleted (none). A key
// above one of them may have been created by the merge on the way.
class RecordedKeys final : public RecordReader {
public:
    explicit RecordedKeys(TextCodec& codec) : codec_(codec) {}

    // Folded key ids, ending in a backslash so that a key's id starts with its parent's.
    std::map<std::string, std::optional<std::set<std::string>>> keys;

    std::string KeyId(RootKey root, std::string_view path) {
        std::string id(1, static_cast<char>(static_cast<std::uint32_t>(root) & 0xFF));
        AppendFolded(id, path, codec_);
        return id += '\\';
    }

    std::string ValueId(std::string_view name) {
        std::string id;
        AppendFolded(id, name, codec_);
        return id;
    }

private:
    // A key of HKEY_CLASSES_ROOT stands for its stored keys too, which a
    // restoration names where the per-user classes hold one (see
    // StoredClassesPath): the values go to all three.
    void OnKey(RootKey root, const std::string& path, bool deleted) override {
        current_.clear();
        Record(root, path, deleted);
        if (root == RootKey::ClassesRoot) {
            std::string stored = StoredClassesPath(path);
            Record(RootKey::CurrentUser, stored, deleted);
            Record(RootKey::LocalMachine, stored, deleted);
        }
    }

    void Record(RootKey root, std::string_view path, bool deleted) {
        std::optional<std::set<std::string>>& key = keys[KeyId(root, path)];
        if (!deleted) {
            current_.push_back(&(key ? *key : key.emplace()));
        }
    }

    void OnValue(const std::string& name, const RecordedData& recorded) override {
        for (std::set<std::string>* values : current_) {
            if (recorded.present) {
                values->insert(ValueId(name));
            }
        }
    }

    TextCodec& codec_;
    // The value names of the latest key, and of its stored keys.
    std::vector<std::set<std::string>*> current_;
};

// Walks what a key deletion would remove, against what the merge created.
class CreatedSince {
public:
    CreatedSince(Registry& registry, RecordedKeys& recorded, std::size_t listed)
        : registry_(registry), recorded_(recorded), drift_(listed) {}

    void Walk(RootKey root, const std::string& path) {
        OpenedKey opened = registry_.Open(root, path);
        if (!opened.key) {
            return;  // nothing to remove, or nothing that can be read
        }
        std::string id = recorded_.KeyId(root, path);
        auto own = recorded_.keys.find(id);
        const std::set<std::string>* values =
            own != recorded_.keys.end() && own->second ? &*own->second : nullptr;
        auto next = recorded_.keys.upper_bound(id);
        bool aboveRecorded = next != recorded_.keys.end() && next->first.starts_with(id);
        ForeseenKey key{root, path, true, false, false, {}};
        if (!values && !aboveRecorded) {
            drift_.Add(KeyText(key) + " : clé créée depuis");  // with whatever it holds
            return;
        }
        for (std::uint32_t index = 0; opened.key->ValueAt(index, value_) == kRegSuccess; ++index) {
            if (!values || !values->contains(recorded_.ValueId(value_.name))) {
                ForeseenValue value;
                value.value.name = value_.name;
                drift_.Add(ValueText(key, value) + " : valeur créée depuis");
            }
        }
        std::vector<std::string> subKeys;
        std::string name;
        for (std::uint32_t index = 0; opened.key->SubKeyNameAt(index, name) == kRegSuccess; ++index) {
            subKeys.push_back(path.empty() ? name : path + "\\" + name);
        }
        opened = {};
        for (const std::string& subKey : subKeys) {
            Walk(root, subKey);
        }
    }

    RecordDrift Result() && { return std::move(drift_).Result(); }

private:
    Registry& registry_;
    RecordedKeys& recorded_;
    DriftList drift_;
    RegistryValue value_;
};

}  // namespace

constexpr std::string_view kView32 = "view 32";

void RecordWriter::View(RegistryView view) {
    if (view == RegistryView::Bits32) {
        text_.append(kRecordPrefix).append(kView32).append(kCrLf);
    }
}

void RecordWriter::Key(RootKey root, std::string_view path, bool present) {
    text_.append(kRecordPrefix).append(present ? "[" : "[-");
    std::string_view rootName = RootKeyName(root);
    text_.append(path.empty() ? rootName.substr(0, rootName.size() - 1) : rootName);
    AppendPercentEscaped(text_, path);
    text_.append("]").append(kCrLf);
}

void RecordWriter::Value(const RegistryValue& value, bool lastByteUnforeseen) {
    AppendName(value.name);
    std::string_view hashed = value.data;
    if (lastByteUnforeseen && !hashed.empty()) {
        hashed.remove_suffix(1);
    }
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "=%u:%zu%s:%08x", static_cast<unsigned>(value.type),
                  value.data.size(), lastByteUnforeseen ? "~" : "", static_cast<unsigned>(Fnv1a(hashed)));
    text_.append(numbers).append(kCrLf);
}

void RecordWriter::DeletedValue(std::string_view name) {
    AppendName(name);
    text_.append("=-").append(kCrLf);
}

void RecordWriter::AppendName(std::string_view name) {
    text_.append(kRecordPrefix);
    if (name.empty()) {
        text_ += '@';
        return;
    }
    text_ += '"';
    AppendPercentEscaped(text_, name);
    text_ += '"';
}

std::string MergeRecordText(const ForeseenImport& foreseen, RegistryView view) {
    RecordWriter record;
    record.View(view);
    for (const ForeseenKey& key : foreseen.keys) {
        if (key.uncertain) {
            continue;
        }
        record.Key(key.root, key.path, key.present);
        for (std::size_t index : key.values) {
            const ForeseenValue& value = foreseen.values[index];
            if (!key.present || value.uncertain) {
                continue;
            }
            if (value.present) {
                record.Value(value.value, value.lastByteUnforeseen);
            } else {
                record.DeletedValue(value.value.name);
            }
        }
    }
    return std::move(record).Text();
}

RegistryView RecordedView(std::string_view fileText) {
    LineReader lines(fileText);
    for (std::string_view line; lines.Next(line);) {
        if (line.starts_with(kRecordPrefix)) {
            return line.substr(kRecordPrefix.size()) == kView32 ? RegistryView::Bits32 : RegistryView::Bits64;
        }
    }
    return RegistryView::Bits64;
}

RecordDrift ChangesSinceRecord(Registry& registry, std::string_view fileText, std::size_t listed) {
    RecordComparison comparison(registry, listed);
    comparison.Read(fileText);
    return std::move(comparison).Result();
}

RecordDrift CreatedSinceRecord(Registry& registry, TextCodec& codec, const ForeseenImport& restoration,
                               std::string_view fileText, std::size_t listed) {
    RecordedKeys recorded(codec);
    recorded.Read(fileText);
    std::vector<std::pair<std::string, const ForeseenKey*>> deletions;
    for (const ForeseenKey& key : restoration.keys) {
        if (key.deleted && !key.present && !key.uncertain) {
            deletions.emplace_back(recorded.KeyId(key.root, key.path), &key);
        }
    }
    CreatedSince created(registry, recorded, listed);
    for (const auto& deletion : deletions) {
        // A key below another deletion is walked with it.
        const std::string& id = deletion.first;
        bool below = std::any_of(deletions.begin(), deletions.end(), [&](const auto& other) {
            return other.first.size() < id.size() && id.starts_with(other.first);
        });
        if (!below) {
            created.Walk(deletion.second->root, deletion.second->path);
        }
    }
    return std::move(created).Result();
}

}  // namespace claverix::engine
