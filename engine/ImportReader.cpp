#include "engine/ImportReader.h"

#include <array>
#include <cstdint>
#include <optional>

#include "platform/Unicode.h"

namespace claverix::engine {

using platform::RootKey;
using Kind = ImportStep::Kind;
using Named = ImportStep::Named;
using Text = std::u16string_view;

namespace {

// What the user reads beside a line the importer does not take as it is.
constexpr std::string_view kNoHeader =
    "pas d'en-tête « REGEDIT4 » ni « Windows Registry Editor Version 5.00 » : rien n'est importé";
constexpr std::string_view kNul = "caractère nul : la suite du fichier serait lue de façon imprévisible";
constexpr std::string_view kLoneSurrogate = "UTF-16 corrompu : demi-caractère isolé";
constexpr std::string_view kNotKeyOrValue = "ni clé ni valeur : ligne ignorée";
constexpr std::string_view kKeyBlank = "blanc après « [ » : ligne ignorée";
constexpr std::string_view kKeyUnclosed = "pas de « ] » : ligne ignorée";
constexpr std::string_view kUnknownRoot =
    "racine inconnue (les abréviations comme HKCU ne sont pas lues) : les valeurs suivantes sont ignorées";
constexpr std::string_view kDeletionWithoutRoot = "suppression sans racine : rien n'est supprimé";
constexpr std::string_view kDeletionStops =
    "suppression d'une racine ou d'une racine inconnue : l'importation s'arrête";
constexpr std::string_view kBadName = "nom de valeur mal formé : ligne ignorée";
constexpr std::string_view kNoEquals = "pas de « = » après le nom : ligne ignorée";
constexpr std::string_view kBadDeletion = "texte après « - » : ligne ignorée";
constexpr std::string_view kBadType = "type de donnée inconnu : ligne ignorée";
constexpr std::string_view kBadString = "chaîne mal fermée ou suivie de texte : ligne ignorée";
constexpr std::string_view kStringStops = "« \\0 » ou « \\ » final dans une chaîne : l'importation s'arrête";
constexpr std::string_view kBadDword = "nombre dword mal formé : ligne ignorée";
constexpr std::string_view kBadHex = "octets hexadécimaux mal formés : valeur ignorée";
constexpr std::string_view kTextAfterBackslash = "texte après la « \\ » de continuation : valeur ignorée";
constexpr std::string_view kContinuationBroken = "suite hexadécimale interrompue : valeur ignorée";
constexpr std::string_view kSwallowed =
    "lue comme suite hexadécimale de la valeur précédente : ligne ignorée";
constexpr std::string_view kShortString = "chaîne de moins de deux octets : l'importation s'arrête";
constexpr std::string_view kNotClassesRoot = "hors de HKEY_CLASSES_ROOT : ligne ignorée";

constexpr std::array<std::pair<std::u16string_view, RootKey>, 6> kRoots{{
    {u"HKEY_LOCAL_MACHINE", RootKey::LocalMachine},
    {u"HKEY_USERS", RootKey::Users},
    {u"HKEY_CLASSES_ROOT", RootKey::ClassesRoot},
    {u"HKEY_CURRENT_CONFIG", RootKey::CurrentConfig},
    {u"HKEY_CURRENT_USER", RootKey::CurrentUser},
    {u"HKEY_DYN_DATA", RootKey::DynData},
}};

// What other importers take for a root, Wine's not.
constexpr std::array<std::pair<std::u16string_view, RootKey>, 5> kAbbreviatedRoots{{
    {u"HKLM", RootKey::LocalMachine},
    {u"HKU", RootKey::Users},
    {u"HKCR", RootKey::ClassesRoot},
    {u"HKCC", RootKey::CurrentConfig},
    {u"HKCU", RootKey::CurrentUser},
}};

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

// The white space the C library skips before a number.
bool IsSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

char16_t AsciiLower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualsIgnoringCase(Text a, Text b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

Text SkipBlanks(Text text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

Text TrimTrailingBlanks(Text text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool EndsOrComments(Text rest) {
    rest = SkipBlanks(rest);
    return rest.empty() || rest.front() == u';';
}

// A number in base 16 as the C library's wcstoul reads it: white space, a
// sign, "0x", digits. `found` is false when no digit was read.
struct HexNumber {
    bool found = false;
    bool tooLarge = false;
    std::uint32_t value = 0;
    std::size_t end = 0;
};

HexNumber ReadHexNumber(Text text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = i < text.size() && text[i] == u'-';
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        ++i;
    }
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
    }
    HexNumber number;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && HexValue(text[i]) >= 0; ++i) {
        number.found = true;
        magnitude = magnitude * 16 + static_cast<std::uint64_t>(HexValue(text[i]));
        if (magnitude > 0xFFFFFFFFu) {
            number.tooLarge = true;
            magnitude = 0xFFFFFFFFu;
        }
    }
    if (number.found) {
        number.end = i;
        number.value = static_cast<std::uint32_t>(negative ? 0 - magnitude : magnitude);
    }
    return number;
}

// ReadHexNumber for the usual two digits ended by a comma or the text.
HexNumber ReadByte(Text text) {
    if (text.size() >= 2 && HexValue(text[0]) >= 0 && HexValue(text[1]) >= 0 &&
        (text.size() == 2 || HexValue(text[2]) < 0)) {
        return {true, false, static_cast<std::uint32_t>(HexValue(text[0]) * 16 + HexValue(text[1])), 2};
    }
    return ReadHexNumber(text);
}

// A quoted string from after its opening quote, its text, escapes replaced,
// in a buffer of the caller's.
struct QuotedText {
    bool closed = false;
    bool breaksImport = false;  // "\0", or a backslash that ends the line
    Text after;
};

QuotedText Unescape(Text text, std::u16string& unescaped) {
    QuotedText quoted;
    unescaped.clear();
    std::size_t start = 0;  // of the run of plain characters not appended yet
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c != u'"' && c != u'\\') {
            continue;
        }
        unescaped.append(text.substr(start, i - start));
        if (c == u'"') {
            quoted.closed = true;
            quoted.after = text.substr(i + 1);
            return quoted;
        }
        if (++i == text.size() || text[i] == u'0') {
            quoted.breaksImport = true;
            return quoted;
        }
        unescaped += text[i] == u'n' ? u'\n' : text[i] == u'r' ? u'\r' : text[i];
        start = i + 1;
    }
    return quoted;
}

template <std::size_t Count>
RootKey RootNamed(Text rootName, const std::array<std::pair<std::u16string_view, RootKey>, Count>& roots) {
    for (const auto& [name, root] : roots) {
        if (EqualsIgnoringCase(rootName, name)) {
            return root;
        }
    }
    return RootKey::None;
}

// The root that a key name starts with, in any letter case, and the path
// after its backslash (none: the root itself).
RootKey RootOf(Text keyName, std::optional<Text>& path, bool abbreviated = false) {
    std::size_t slash = keyName.find(u'\\');
    path = slash == Text::npos ? std::nullopt : std::optional<Text>(keyName.substr(slash + 1));
    Text rootName = keyName.substr(0, slash);
    RootKey root = RootNamed(rootName, kRoots);
    return root == RootKey::None && abbreviated ? RootNamed(rootName, kAbbreviatedRoots) : root;
}

bool IsStringType(std::uint32_t type) {
    return type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz;
}

// Physical lines, ended by CR, LF or CR LF, decoded one at a time, up to
// the first that holds a NUL: the importer reads on past one from wherever
// its read buffer ends.
class Lines {
public:
    Lines(std::string_view bytes, TextEncoding encoding, platform::TextCodec& codec)
        : rest_(bytes), encoding_(encoding), codec_(codec) {}

    // False at the end of the text, and at the line holding a NUL. The line
    // stays valid until the next call.
    bool Next(Text& line) {
        if (rest_.empty() || atNul_) {
            return false;
        }
        ++number_;
        bool decoded = encoding_ == TextEncoding::Utf16 ? NextUtf16Line() : NextAnsiLine();
        line = Text(line_.data(), length_);
        return decoded;
    }

    bool AtNul() const { return atNul_; }
    std::size_t Number() const { return number_; }

private:
    // Line ends are bytes of their own in every ANSI code page, and a line
    // of ASCII bytes is the same text in all of them. Bytes above CR, most
    // of them, are passed with one test; the rest is looked at once more.
    bool NextAnsiLine() {
        const auto* bytes = reinterpret_cast<const unsigned char*>(rest_.data());
        const std::size_t size = rest_.size();
        std::size_t end = 0;
        unsigned char seen = 0;  // the bits of every byte: the top one tells a non-ASCII byte
        bool nul = false;
        for (;;) {
            while (end < size && bytes[end] > '\r') {
                seen |= bytes[end++];
            }
            if (end == size || bytes[end] == '\r' || bytes[end] == '\n') {
                break;
            }
            nul = nul || bytes[end] == '\0';
            ++end;
        }
        std::string_view line = rest_.substr(0, end);
        bool crLf = rest_.substr(end).starts_with("\r\n");
        rest_.remove_prefix(std::min(size, end + (crLf ? 2 : 1)));
        atNul_ = nul;
        if (seen < 0x80) {
            if (line_.size() < end) {
                line_.resize(end);  // the buffer only grows: no line is written twice
            }
            std::copy(bytes, bytes + end, line_.begin());
            length_ = end;
        } else {
            line_ = codec_.AnsiToUtf16(line);
            length_ = line_.size();
        }
        return !atNul_;
    }

    bool NextUtf16Line() {
        line_.clear();
        std::size_t at = 0;
        for (; at + 1 < rest_.size(); at += 2) {
            auto unit = static_cast<char16_t>(static_cast<unsigned char>(rest_[at]) |
                                              static_cast<unsigned char>(rest_[at + 1]) << 8);
            if (unit == u'\r' || unit == u'\n') {
                bool crLf = unit == u'\r' && rest_.substr(at + 2).starts_with(std::string_view("\n\0", 2));
                rest_.remove_prefix(at + (crLf ? 4 : 2));
                length_ = line_.size();
                return !atNul_;
            }
            atNul_ = atNul_ || unit == u'\0';
            line_ += unit;
        }
        rest_ = {};
        length_ = line_.size();
        return !atNul_;
    }

    std::string_view rest_;
    TextEncoding encoding_;
    platform::TextCodec& codec_;
    std::u16string line_;
    std::size_t length_ = 0;  // of the line in line_
    std::size_t number_ = 0;
    bool atNul_ = false;
};

class Reader {
public:
    Reader(std::string_view text, TextEncoding encoding, platform::TextCodec& codec, ImportVisitor& visitor)
        : lines_(text, encoding, codec), encoding_(encoding), codec_(codec), visitor_(visitor) {}

    void Run() {
        Read();
        if (lines_.AtNul()) {
            Emit(Kind::Unreadable, lines_.Number(), kNul);
        }
    }

private:
    void Read() {
        Text line;
        if (!lines_.Next(line)) {
            return;
        }
        Text header = SkipBlanks(line);
        bool windows31 = header == u"REGEDIT";
        if (!windows31 && header != u"REGEDIT4" && header != u"Windows Registry Editor Version 5.00") {
            return Emit(Kind::Stop, 1, kNoHeader);
        }
        while (!stopped_ && lines_.Next(line)) {
            lineNumber_ = lines_.Number();
            lineNames_ = Named::Nothing;
            if (windows31) {
                OnWindows31Line(line);
            } else {
                OnLine(line);
            }
        }
    }

    void Emit(Kind kind, std::size_t line, std::string_view reason = {}) {
        step_.kind = kind;
        step_.line = line;
        step_.reason = reason;
        step_.keyOrValueLine = (kind == Kind::CloseKey || kind == Kind::Skip || kind == Kind::Stop) &&
                               reason != kNotKeyOrValue && reason != kNoHeader;
        step_.keyLine = step_.keyOrValueLine && lineIsKey_;
        step_.named = step_.keyOrValueLine ? lineNames_ : Named::Nothing;
        stopped_ = stopped_ || kind == Kind::Unreadable;
        visitor_.OnStep(step_);
    }
    void Emit(Kind kind, std::string_view reason = {}) { Emit(kind, lineNumber_, reason); }

    // A line the importer acts on must be whole UTF-16 to be foreseen; the
    // code page gives whole characters.
    bool Readable(Text line) {
        if (encoding_ == TextEncoding::Utf16 && platform::HasUnpairedSurrogate(line)) {
            Emit(Kind::Unreadable, lines_.Number(), kLoneSurrogate);
            return false;
        }
        return true;
    }

    void OnLine(Text line) {
        Text rest = SkipBlanks(line);
        if (rest.empty() || rest.front() == u'#' || rest.front() == u';') {
            return;
        }
        if (rest.front() != u'[' && rest.front() != u'@' && rest.front() != u'"') {
            return Emit(Kind::Skip, kNotKeyOrValue);
        }
        if (!Readable(line)) {
            return;
        }
        lineIsKey_ = rest.front() == u'[';
        if (lineIsKey_) {
            return OnKeyLine(rest.substr(1));
        }
        Text afterName;
        if (!ReadValueName(rest, afterName)) {
            return Emit(Kind::Skip, kBadName);
        }
        lineNames_ = Named::Value;
        OnValueData(afterName);
    }

    // The name that starts `line`, "@" or quoted, into the step; false when
    // its quotes are not closed. `afterName` is what follows it.
    bool ReadValueName(Text line, Text& afterName) {
        if (line.front() == u'@') {
            step_.value.name.clear();
            afterName = line.substr(1);
            return true;
        }
        QuotedText name = Unescape(line.substr(1), unescaped_);
        if (!name.closed) {
            return false;
        }
        platform::Utf16ToUtf8(unescaped_, step_.value.name);
        afterName = name.after;
        return true;
    }

    // `body` follows the "[".
    void OnKeyLine(Text body) {
        if (body.empty() || IsBlank(body.front())) {
            return PassOverKeyLine(Kind::Skip, kKeyBlank, body);
        }
        std::size_t close = body.rfind(u']');
        if (close == Text::npos) {
            return PassOverKeyLine(Kind::Skip, kKeyUnclosed, body);
        }
        Text name = body.substr(0, close);
        if (name.starts_with(u'-')) {
            return OnKeyDeletion(name.substr(1), body);
        }
        std::optional<Text> path;
        step_.root = RootOf(name, path);
        if (step_.root == RootKey::None) {
            return PassOverKeyLine(Kind::CloseKey, kUnknownRoot, body);
        }
        platform::Utf16ToUtf8(path.value_or(Text{}), step_.path);
        Emit(Kind::OpenKey);
    }

    void OnKeyDeletion(Text name, Text body) {
        if (name.empty() || (name.front() != u'H' && name.front() != u'h')) {
            return PassOverKeyLine(Kind::CloseKey, kDeletionWithoutRoot, body);
        }
        std::optional<Text> path;
        step_.root = RootOf(name, path);
        if (step_.root == RootKey::None || !path || path->empty()) {
            return PassOverKeyLine(Kind::Stop, kDeletionStops, body);
        }
        platform::Utf16ToUtf8(*path, step_.path);
        Emit(Kind::DeleteKey);
    }

    void PassOverKeyLine(Kind kind, std::string_view reason, Text body) {
        lineNames_ = NameKey(body);
        Emit(kind, reason);
    }

    // What a key line names for an importer less strict than Wine's: blanks
    // after "[" and "-" and a missing "]" forgiven, a root abbreviated. A
    // whole root's deletion names nothing.
    Named NameKey(Text body) {
        Text name = SkipBlanks(body);
        std::size_t close = name.rfind(u']');
        name = close == Text::npos ? TrimTrailingBlanks(name) : name.substr(0, close);
        bool deletion = name.starts_with(u'-');
        if (deletion) {
            name = SkipBlanks(name.substr(1));
        }
        std::optional<Text> path;
        step_.root = RootOf(name, path, true);
        if (step_.root == RootKey::None || (deletion && (!path || path->empty()))) {
            return Named::Nothing;
        }
        platform::Utf16ToUtf8(path.value_or(Text{}), step_.path);
        return deletion ? Named::DeletedKey : Named::Key;
    }

    // What a line that the importer swallows as hex data names, read as a
    // line of its own.
    Named NameLine(Text line) {
        Text rest = SkipBlanks(line);
        if (rest.starts_with(u'[')) {
            return NameKey(rest.substr(1));
        }
        Text afterName;
        bool valueLine = rest.starts_with(u'@') || rest.starts_with(u'"');
        return valueLine && ReadValueName(rest, afterName) ? Named::Value : Named::Nothing;
    }

    // What follows a value's name: "=", then a deletion or data.
    void OnValueData(Text afterName) {
        Text rest = SkipBlanks(afterName);
        if (!rest.starts_with(u'=')) {
            return Emit(Kind::Skip, kNoEquals);
        }
        Text data = TrimTrailingBlanks(SkipBlanks(rest.substr(1)));
        if (data.starts_with(u'-')) {
            return EndsOrComments(data.substr(1)) ? Emit(Kind::DeleteValue) : Emit(Kind::Skip, kBadDeletion);
        }
        if (data.starts_with(u'"')) {
            return OnStringData(data.substr(1));
        }
        if (data.starts_with(u"dword:")) {
            return OnDwordData(data.substr(6));
        }
        if (data.starts_with(u"hex:")) {
            return OnHexData(platform::kRegBinary, data.substr(4));
        }
        if (data.starts_with(u"hex(")) {
            return OnTypedHexData(data.substr(4));
        }
        Emit(Kind::Skip, kBadType);
    }

    void OnStringData(Text afterQuote) {
        QuotedText text = Unescape(afterQuote, unescaped_);
        if (text.breaksImport) {
            return Emit(Kind::Stop, kStringStops);
        }
        if (!text.closed || !EndsOrComments(text.after)) {
            return Emit(Kind::Skip, kBadString);
        }
        unescaped_ += u'\0';
        Data().clear();
        platform::AppendUtf16Bytes(Data(), unescaped_);
        SetValue(platform::kRegSz);
    }

    void OnDwordData(Text digits) {
        digits = SkipBlanks(digits);
        std::size_t count = 0;
        while (count < digits.size() && HexValue(digits[count]) >= 0) {
            ++count;
        }
        if (digits.empty() || count > 8 || !EndsOrComments(digits.substr(count))) {
            return Emit(Kind::Skip, kBadDword);
        }
        std::uint32_t number = ReadHexNumber(digits.substr(0, count)).value;
        Data().resize(4);
        for (std::size_t i = 0; i < 4; ++i) {
            Data()[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        }
        SetValue(platform::kRegDword);
    }

    // After "hex(": the type number, "):" and the data.
    void OnTypedHexData(Text afterParenthesis) {
        if (afterParenthesis.empty() ||
            (afterParenthesis.size() > 1 && AsciiLower(afterParenthesis[1]) == u'x')) {
            return Emit(Kind::Skip, kBadType);
        }
        HexNumber type = ReadHexNumber(afterParenthesis);
        Text rest = afterParenthesis.substr(type.end);
        if (type.tooLarge || !rest.starts_with(u"):")) {
            return Emit(Kind::Skip, kBadType);
        }
        OnHexData(type.value, rest.substr(2));
    }

    void OnHexData(std::uint32_t type, Text data) {
        std::string& bytes = Data();
        bytes.clear();
        if (data.empty()) {
            return SetValue(type);  // no terminating zero is added to nothing
        }
        const std::size_t valueLine = lineNumber_;
        Text tail;
        bool continues = false;
        if (!ReadHexList(data, bytes, tail, continues)) {
            return Emit(Kind::Skip, kBadHex);
        }
        while (continues) {
            if (!EndsOrComments(tail)) {
                return Emit(Kind::Skip, valueLine, kTextAfterBackslash);
            }
            std::optional<Text> next = NextDataLine();
            if (!next) {
                break;  // the end of the file ends the data
            }
            if (!Readable(*next)) {
                return;
            }
            if (HexValue(next->front()) < 0) {
                Emit(Kind::Skip, valueLine, kContinuationBroken);
                lineIsKey_ = next->front() == u'[';
                lineNames_ = NameLine(*next);
                return Emit(Kind::Skip, lines_.Number(), kSwallowed);
            }
            if (!ReadHexList(*next, bytes, tail, continues)) {
                return Emit(Kind::Skip, valueLine, kBadHex);
            }
        }
        if (IsStringType(type) && !CompleteString(bytes)) {
            return Emit(Kind::Stop, kShortString);
        }
        SetValue(type);
    }

    // The next line that is neither blank nor a ";" comment, blanks skipped:
    // the importer passes over those within hex data.
    std::optional<Text> NextDataLine() {
        Text line;
        while (lines_.Next(line)) {
            line = SkipBlanks(line);
            if (!line.empty() && line.front() != u';') {
                return line;
            }
        }
        return std::nullopt;
    }

    // Comma-separated bytes, appended; a backslash where a byte could start
    // continues them on the next line, and `tail` is what follows it.
    static bool ReadHexList(Text list, std::string& bytes, Text& tail, bool& continues) {
        continues = false;
        ReadPlainBytes(list, bytes);
        while (!list.empty()) {
            HexNumber byte = ReadByte(list);
            if (!byte.found) {
                Text rest = SkipBlanks(list);
                if (rest.starts_with(u'\\')) {
                    continues = true;
                    tail = rest.substr(1);
                    return true;
                }
                return rest.starts_with(u';');
            }
            if (byte.tooLarge || byte.value > 0xFF) {
                return false;
            }
            bytes += static_cast<char>(byte.value);
            Text rest = list.substr(byte.end);
            if (!rest.empty() && rest.front() != u',') {
                return EndsOrComments(rest);
            }
            list = rest.empty() ? rest : rest.substr(1);
        }
        return true;
    }

    // The usual form first, two digits and a comma, without the tests the
    // other forms need; `list` is left at what follows.
    static void ReadPlainBytes(Text& list, std::string& bytes) {
        std::size_t at = 0;
        for (; at + 2 < list.size() && list[at + 2] == u','; at += 3) {
            int high = HexValue(list[at]);
            int low = HexValue(list[at + 1]);
            if (high < 0 || low < 0) {
                break;
            }
            bytes += static_cast<char>(high * 16 + low);
        }
        list.remove_prefix(at);
    }

    // String data from hex bytes as the importer completes it: with a zero
    // character at its end when it has none, and in an ANSI file converted
    // through the code page. With an odd byte count the importer looks at the
    // last whole character, and where it adds the zero character it lays it
    // over the odd byte and keeps one more byte of its buffer, written here
    // as zero. Less than one whole character makes it fail: false.
    bool CompleteString(std::string& bytes) {
        if (encoding_ == TextEncoding::Ansi) {
            if (bytes.empty()) {
                return false;
            }
            if (bytes.back() != '\0') {
                bytes += '\0';
            }
            bytes = platform::Utf16Bytes(codec_.AnsiToUtf16(bytes));
            return true;
        }
        std::size_t whole = bytes.size() / 2;
        if (whole == 0) {
            return false;
        }
        if (bytes[2 * whole - 2] != '\0' || bytes[2 * whole - 1] != '\0') {
            bool odd = bytes.size() % 2 != 0;
            bytes.resize(2 * whole);
            bytes.append(odd ? 3 : 2, '\0');
            step_.lastByteUnforeseen = odd;
        }
        return true;
    }

    // The data is built where the step carries it.
    std::string& Data() { return step_.value.data; }

    void SetValue(std::uint32_t type) {
        step_.value.type = type;
        Emit(Kind::SetValue);
        step_.lastByteUnforeseen = false;
    }

    // The Windows 3.1 form: "HKEY_CLASSES_ROOT\path = text" sets the key's
    // default value; the key name ends at the first white space.
    void OnWindows31Line(Text line) {
        constexpr Text kClassesRoot = u"HKEY_CLASSES_ROOT";
        if (!line.starts_with(kClassesRoot)) {
            return SkipBlanks(line).empty() ? void() : Emit(Kind::Skip, kNotClassesRoot);
        }
        if (!Readable(line)) {
            return;
        }
        std::size_t keyEnd = 0;
        while (keyEnd < line.size() && !IsSpace(line[keyEnd])) {
            ++keyEnd;
        }
        Text text = SkipBlanks(line.substr(keyEnd));
        if (text.starts_with(u'=')) {
            text.remove_prefix(1);
        }
        if (text.starts_with(u' ')) {
            text.remove_prefix(1);  // one blank only
        }
        std::optional<Text> path;
        step_.root = RootOf(line.substr(0, keyEnd), path);
        if (step_.root == RootKey::None) {
            return Emit(Kind::CloseKey, kUnknownRoot);
        }
        platform::Utf16ToUtf8(path.value_or(Text{}), step_.path);
        Emit(Kind::OpenKey);
        step_.value.name.clear();
        unescaped_.assign(text);
        unescaped_ += u'\0';
        Data().clear();
        platform::AppendUtf16Bytes(Data(), unescaped_);
        SetValue(platform::kRegSz);
    }

    Lines lines_;
    TextEncoding encoding_;
    platform::TextCodec& codec_;
    ImportVisitor& visitor_;
    ImportStep step_;
    // Kept from line to line: the text of a quoted string.
    std::u16string unescaped_;
    std::size_t lineNumber_ = 1;
    bool lineIsKey_ = false;  // the line read is a key line
    // What the line being read names, should the importer pass it over.
    Named lineNames_ = Named::Nothing;
    bool stopped_ = false;
};

}  // namespace

void ReadImport(std::string_view text, TextEncoding encoding, platform::TextCodec& codec,
                ImportVisitor& visitor) {
    Reader(text, encoding, codec, visitor).Run();
}

}  // namespace claverix::engine
