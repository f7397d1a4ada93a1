#include "engine/RegFileFormat.h"

#include <algorithm>
#include <array>

namespace claverix::engine {

using platform::RootKey;

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiUpper(x) == y; });
}

// `word` is upper case.
bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    auto hit = std::search(text.begin(), text.end(), word.begin(), word.end(),
                           [](char x, char y) { return AsciiUpper(x) == y; });
    return hit != text.end();
}

std::string_view SkipBlanks(std::string_view text) {
    auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

struct RootName {
    RootKey root;
    std::string_view written;  // with the backslash that a key path follows
    std::string_view abbreviation;

    std::string_view Bare() const { return written.substr(0, written.size() - 1); }
};

constexpr std::array<RootName, 7> kRootNames{{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT\\", "HKCR"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER\\", "HKCU"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE\\", "HKLM"},
    {RootKey::Users, "HKEY_USERS\\", ""},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG\\", ""},
    {RootKey::PerformanceData, "HKEY_PERFORMANCE_DATA\\", ""},
    {RootKey::DynData, "HKEY_DYN_DATA\\", ""},
}};

RootKey RootKeyFromName(std::string_view name) {
    for (const RootName& entry : kRootNames) {
        if (EqualsIgnoringCase(name, entry.Bare()) ||
            (!entry.abbreviation.empty() && EqualsIgnoringCase(name, entry.abbreviation))) {
            return entry.root;
        }
    }
    return RootKey::None;
}

// What stands between "[" (after a "-" for a deletion) and the last "]".
struct KeyLineBody {
    bool isDeletion = false;
    bool ignored = false;
    std::string_view text;
};

KeyLineBody KeyLineBodyOf(std::string_view line) {
    line = SkipBlanks(line);
    KeyLineBody body;
    body.isDeletion = line.starts_with("[-");
    auto close = line.rfind(']');
    std::size_t open = body.isDeletion ? 2 : 1;
    if (!line.starts_with('[') || close == std::string_view::npos || close < open) {
        body.ignored = true;
        return body;
    }
    body.text = line.substr(open, close - open);
    body.ignored = body.text.starts_with(' ') || body.text.starts_with('\t');
    return body;
}

}  // namespace

bool LineReader::Next(std::string_view& line) {
    if (rest_.empty()) {
        return false;
    }
    auto end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        return true;
    }
    line = rest_.substr(0, end);
    rest_.remove_prefix(rest_.substr(end).starts_with(kCrLf) ? end + 2 : end + 1);
    return true;
}

bool ImporterLineReader::Next(std::string_view& line) {
    while (physical_.Next(line)) {
        if (line.ends_with('\\') && !physical_.AtEnd()) {
            joined_.assign(line.substr(0, line.size() - 1));
            std::string_view next;
            while (physical_.Next(next)) {
                next.remove_prefix(std::min(next.find_first_not_of(" \t"), next.size()));
                if (!next.ends_with('\\') || physical_.AtEnd()) {
                    joined_.append(next);
                    break;
                }
                joined_.append(next.substr(0, next.size() - 1));
            }
            line = joined_;
        }
        if (!line.starts_with('#') && !line.starts_with(';')) {
            return true;
        }
    }
    return false;
}

LineKind ClassifyLine(std::string_view line) {
    std::string_view start = SkipBlanks(line);
    if (!start.empty()) {
        if (start.front() == '[') {
            return LineKind::Key;
        }
        if (start.front() == '"' || start.front() == '@') {
            return LineKind::Value;
        }
    }
    bool isComment = !line.empty() && line.front() == '#';
    if (!isComment &&
        (ContainsIgnoringCase(line, "REGEDIT4") || ContainsIgnoringCase(line, "WINDOWS REGISTRY EDITOR"))) {
        return LineKind::Header;
    }
    if (ContainsIgnoringCase(line, "FILENAME:")) {
        return LineKind::FileName;
    }
    if (ContainsIgnoringCase(line, "SIGN:")) {
        return LineKind::Signature;
    }
    if (ContainsIgnoringCase(line, "NOUNDO")) {
        return LineKind::NoUndo;
    }
    if (ContainsIgnoringCase(line, "UNDOFILE")) {
        return LineKind::UndoFile;
    }
    if (isComment) {
        return LineKind::Comment;
    }
    return line.empty() ? LineKind::Empty : LineKind::Value;
}

std::string_view RecordedFileName(std::string_view line) {
    auto colon = line.find(':');
    return colon == std::string_view::npos ? std::string_view{} : line.substr(colon + 1);
}

std::string_view CommentOf(std::string_view line) {
    return line.empty() ? line : line.substr(1);
}

std::string_view RootKeyName(RootKey root) {
    auto entry = std::find_if(kRootNames.begin(), kRootNames.end(),
                              [root](const RootName& name) { return name.root == root; });
    return entry == kRootNames.end() ? std::string_view{"?\\"} : entry->written;
}

RootKey RootKeyFromText(std::string_view keyLine) {
    return ParseKeyLine(keyLine).root;
}

KeyLine ParseKeyLine(std::string_view line) {
    KeyLineBody body = KeyLineBodyOf(line);
    KeyLine key;
    key.isDeletion = body.isDeletion;
    key.ignored = body.ignored;
    if (body.ignored) {
        return key;
    }
    auto slash = body.text.find('\\');
    key.root = RootKeyFromName(body.text.substr(0, slash));
    key.path = slash == std::string_view::npos ? std::string_view{} : body.text.substr(slash + 1);
    return key;
}

namespace {

// The data of a value line is a deletion when it is a lone "-", blanks and
// a ";" comment after it allowed, as the importer reads it.
bool IsDeletionData(std::string_view rest) {
    rest = SkipBlanks(rest);
    if (!rest.starts_with('=')) {
        return false;
    }
    rest = SkipBlanks(rest.substr(1));
    if (!rest.starts_with('-')) {
        return false;
    }
    rest = SkipBlanks(rest.substr(1));
    return rest.empty() || rest.front() == ';';
}

}  // namespace

std::optional<ValueLine> ParseValueLine(std::string_view line) {
    line = SkipBlanks(line);
    if (!line.starts_with('"')) {
        return ValueLine{{}, IsDeletionData(line.starts_with('@') ? line.substr(1) : line)};
    }
    ValueLine value;
    for (std::size_t i = 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            value.isDeletion = IsDeletionData(line.substr(i + 1));
            return value;
        }
        if (c == '\\') {
            if (++i == line.size() || line[i] == '0') {
                return std::nullopt;  // the importer rejects these names too
            }
            c = line[i] == 'n' ? '\n' : line[i] == 'r' ? '\r' : line[i];
        }
        value.name += c;
    }
    return std::nullopt;
}

void AppendWrittenName(std::string& out, std::string_view name) {
    if (name.empty()) {
        out += '@';
        return;
    }
    out += '"';
    for (char c : name) {
        switch (c) {
            case '\\':
            case '"':
                out += '\\';
                out += c;
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    out += '"';
}

void AppendQuotedString(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

}  // namespace claverix::engine
