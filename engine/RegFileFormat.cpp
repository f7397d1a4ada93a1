#include "engine/RegFileFormat.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace claverix::engine {

using platform::RootKey;

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Where `word`, which is upper case, starts in `text` in any letter case; npos when it does not.
std::size_t FindIgnoringCase(std::string_view text, std::string_view word) {
    auto hit = std::search(text.begin(), text.end(), word.begin(), word.end(),
                           [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
    return hit == text.end() ? std::string_view::npos : static_cast<std::size_t>(hit - text.begin());
}

bool ContainsIgnoringCase(std::string_view text, std::string_view word) {
    return FindIgnoringCase(text, word) != std::string_view::npos;
}

std::string_view SkipBlanks(std::string_view text) {
    auto first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

struct RootName {
    RootKey root;
    std::string_view written;  // with the backslash that a key path follows
};

constexpr std::array<RootName, 7> kRootNames{{
    {RootKey::ClassesRoot, "HKEY_CLASSES_ROOT\\"},
    {RootKey::CurrentUser, "HKEY_CURRENT_USER\\"},
    {RootKey::LocalMachine, "HKEY_LOCAL_MACHINE\\"},
    {RootKey::Users, "HKEY_USERS\\"},
    {RootKey::CurrentConfig, "HKEY_CURRENT_CONFIG\\"},
    {RootKey::PerformanceData, "HKEY_PERFORMANCE_DATA\\"},
    {RootKey::DynData, "HKEY_DYN_DATA\\"},
}};

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

void AppendDirective(std::string& out, std::string_view word, std::string_view text) {
    out.append("# ").append(word).append(text).append(kCrLf);
}

LineKind ClassifyLine(std::string_view line) {
    if (line.starts_with(kRecordPrefix)) {
        return LineKind::Record;
    }
    std::string_view start = SkipBlanks(line);
    if (!start.empty()) {
        if (start.front() == '[') {
            return LineKind::Key;
        }
        if (start.front() == '"' || start.front() == '@') {
            return LineKind::Value;
        }
    }
    if (!line.starts_with('#')) {
        if (ContainsIgnoringCase(line, "REGEDIT4") || ContainsIgnoringCase(line, "WINDOWS REGISTRY EDITOR")) {
            return LineKind::Header;
        }
        return line.empty() ? LineKind::Empty : LineKind::Value;
    }
    if (ContainsIgnoringCase(line, kFileNameDirective)) {
        return LineKind::FileName;
    }
    if (ContainsIgnoringCase(line, kSignatureDirective)) {
        return LineKind::Signature;
    }
    if (ContainsIgnoringCase(line, kNoUndoDirective)) {
        return LineKind::NoUndo;
    }
    if (ContainsIgnoringCase(line, kUndoFileDirective)) {
        return LineKind::UndoFile;
    }
    return LineKind::Comment;
}

std::string_view SignedText(std::string_view line) {
    std::size_t at = FindIgnoringCase(line, kSignatureDirective);
    if (at == std::string_view::npos) {
        return {};
    }
    std::string_view text = SkipBlanks(line.substr(at + kSignatureDirective.size()));
    return text.substr(0, text.find_last_not_of(" \t") + 1);
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

RootKey SplitKeyName(std::string_view name, std::string_view& path) {
    for (const RootName& root : kRootNames) {
        if (name.starts_with(root.written)) {
            path = name.substr(root.written.size());
            return root.root;
        }
        if (name == root.written.substr(0, root.written.size() - 1)) {
            path = {};
            return root.root;
        }
    }
    return RootKey::None;
}

void AppendPercentEscaped(std::string& out, std::string_view text) {
    constexpr char kHexDigits[] = "0123456789abcdef";
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '%' || c == '"') {
            out.append(1, '%').append(1, kHexDigits[byte >> 4]).append(1, kHexDigits[byte & 0x0F]);
        } else {
            out += c;
        }
    }
}

std::optional<std::string> PercentUnescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned byte = 0;
        const char* digits = text.data() + i + 1;
        if (i + 2 >= text.size() || std::from_chars(digits, digits + 2, byte, 16).ptr != digits + 2) {
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += 2;
    }
    return out;
}

bool IsKeyDeletion(std::string_view line) {
    return SkipBlanks(line).starts_with("[-");
}

namespace {

// Whether a byte is escaped in a name (backslash, quote, CR, LF) and in
// string data (backslash, quote): one look-up a byte.
constexpr unsigned char kEscapedInNames = 1;
constexpr unsigned char kEscapedInStrings = 2;
constexpr std::array<unsigned char, 256> kEscapes = [] {
    std::array<unsigned char, 256> table{};
    table['\\'] = table['"'] = kEscapedInNames | kEscapedInStrings;
    table['\r'] = table['\n'] = kEscapedInNames;
    return table;
}();

// `text` with a backslash before each byte of `kind` in kEscapes, CR and
// LF written "\r" and "\n"; runs of other bytes are appended whole.
void AppendEscaped(std::string& out, std::string_view text, unsigned char kind) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if ((kEscapes[static_cast<unsigned char>(c)] & kind) == 0) {
            continue;
        }
        out.append(text.data() + start, i - start).append(1, '\\');
        out += c == '\r' ? 'r' : c == '\n' ? 'n' : c;
        start = i + 1;
    }
    out.append(text.data() + start, text.size() - start);
}

}  // namespace

void AppendWrittenName(std::string& out, std::string_view name) {
    if (name.empty()) {
        out += '@';
        return;
    }
    out += '"';
    AppendEscaped(out, name, kEscapedInNames);
    out += '"';
}

void AppendQuotedString(std::string& out, std::string_view text) {
    out += '"';
    AppendEscaped(out, text, kEscapedInStrings);
    out += '"';
}

}  // namespace claverix::engine
