#include "tests/e2e/support/ImportCase.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cwctype>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "engine/ImportReader.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/StandInImporter.h"

namespace claverix::e2e {

namespace {

using platform::win32::Utf8ToWide;

// Every file sets or deletes this many values: 35 files give over a thousand lines.
constexpr int kValueLinesPerFile = 32;

// Characters for names and text; an ANSI file takes those of code page 1252 only.
constexpr std::wstring_view kAnsiCharacters =
    L"abcdefghijklmnopqrstuvwxyzABCXYZ0123456789 !#$%&'()*+,-./:;<=>?@[]^_{|}~\u00E9\u20AC\u00FF";
constexpr std::wstring_view kUnicodeCharacters = L"\u0416\u03C9\u4E2D\u00E9";
constexpr std::wstring_view kEmoji = L"\U0001F600";

class ImportGenerator {
public:
    ImportGenerator(std::uint32_t seed, std::string_view key, std::string_view signature)
        : random_(seed), key_(Utf8ToWide(key)), signature_(Utf8ToWide(signature)) {}

    ImportCase Make(std::uint32_t seed) {
        utf16_ = OneIn(2);
        MakeStart();
        constexpr std::array<std::wstring_view, 3> kHeaders = {
            L"REGEDIT4", L"Windows Registry Editor Version 5.00", L"REGEDIT4 ;"};
        text_ = std::wstring(OneIn(25) ? kHeaders[2] : kHeaders[Below(2)]) + L"\r\n# Sign:" + signature_ +
                L"\r\n\r\n";
        while (valueLines_ < kValueLinesPerFile) {
            if (OneIn(6)) {
                AddKeyLine();
            } else if (OneIn(8)) {
                AddNoiseLine();
            } else {
                AddValueLine();
            }
        }
        std::string bytes = "\xFF\xFE";
        if (utf16_) {
            bytes.append(reinterpret_cast<const char*>(text_.data()), text_.size() * sizeof(wchar_t));
        } else {
            bytes = ToAnsi(text_).value();
        }
        return {start_, {"import-" + std::to_string(seed) + ".reg", bytes}, valueLines_};
    }

private:
    std::uint32_t Below(std::uint32_t bound) { return random_() % bound; }
    bool OneIn(std::uint32_t chances) { return Below(chances) == 0; }

    std::wstring Characters() const {
        return std::wstring(kAnsiCharacters) + (utf16_ ? std::wstring(kUnicodeCharacters) : std::wstring());
    }

    std::wstring RandomText(std::size_t length) {
        std::wstring characters = Characters();
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i) {
            if (utf16_ && OneIn(20)) {
                text += kEmoji;
            } else {
                text += characters[Below(static_cast<std::uint32_t>(characters.size()))];
            }
        }
        return text;
    }

    // Unique whatever the letter case, so that the registry never takes it for another.
    std::wstring FreshName(bool forKey) {
        for (;;) {
            std::wstring name = RandomText(1 + Below(6));
            if (forKey) {
                std::replace_if(
                    name.begin(), name.end(), [](wchar_t c) { return !std::iswalnum(c) && c < 0x80; }, L'k');
            }
            std::wstring folded = name;
            std::transform(folded.begin(), folded.end(), folded.begin(), ::towlower);
            if (std::find(used_.begin(), used_.end(), folded) == used_.end()) {
                used_.push_back(folded);
                return name;
            }
        }
    }

    void MakeStart() {
        keys_ = {L""};
        for (int k = 0; k < 3; ++k) {
            const std::wstring& parent = keys_[Below(static_cast<std::uint32_t>(keys_.size()))];
            keys_.push_back(parent.empty() ? FreshName(true) : parent + L"\\" + FreshName(true));
        }
        for (const std::wstring& key : keys_) {
            ValueMap& values = start_[key];
            for (std::uint32_t count = Below(4); count > 0; --count) {
                std::wstring name = FreshName(false);
                names_[key].push_back(name);
                switch (Below(4)) {
                    case 0:
                        values[name] = Sz(RandomText(Below(10)));
                        break;
                    case 1:
                        values[name] = ExpandSz(L"%" + RandomText(3) + L"%");
                        break;
                    case 2:
                        values[name] = Dword(random_());
                        break;
                    default:
                        values[name] = Binary(std::string(Below(6), '\x5A'));
                }
            }
        }
    }

    std::wstring KeyLine(const std::wstring& relative, bool deletion) {
        constexpr std::array<std::wstring_view, 3> kRoots = {L"HKEY_CURRENT_USER", L"hkey_current_user",
                                                             L"Hkey_Current_User"};
        std::wstring line = deletion ? L"[-" : L"[";
        line += std::wstring(kRoots[Below(3)]) + L"\\" + key_ + (relative.empty() ? L"" : L"\\" + relative) +
                L"]";
        return line;
    }

    void AddKeyLine() {
        switch (Below(12)) {
            case 0:
                current_ = std::nullopt;
                return Add(KeyLine(keys_[1 + Below(static_cast<std::uint32_t>(keys_.size() - 1))], true));
            case 1:
                current_ = std::nullopt;
                return Add(L"[HKCU\\" + key_ + L"]");
            case 2:
                return Add(L"[ HKEY_CURRENT_USER\\" + key_ + L"]");
            case 3:
                return Add(L"[HKEY_CURRENT_USER\\" + key_ + L"\\Open");
            case 4:
            case 5:
            case 6: {
                std::wstring path = keys_[Below(static_cast<std::uint32_t>(keys_.size()))];
                path += (path.empty() ? L"" : L"\\") + FreshName(true);
                keys_.push_back(path);
                current_ = path;
                return Add(KeyLine(path, false));
            }
            default:
                current_ = keys_[Below(static_cast<std::uint32_t>(keys_.size()))];
                return Add(KeyLine(*current_, false));
        }
    }

    void AddNoiseLine() {
        constexpr std::array<std::wstring_view, 7> kNoise = {
            L"# a comment", L"; another",   L"", L"   ", L"#comment ending in a backslash\\",
            L"junk=1",      L"  # indented"};
        std::wstring line(kNoise[Below(static_cast<std::uint32_t>(kNoise.size()))]);
        if (utf16_ && OneIn(3)) {
            line = OneIn(2) ? L"\u2000" : L"# \u2192 " + RandomText(3);
        }
        Add(line);
    }

    // Between quotes, escaped; data gets now and then a line break or an escape the importer
    // does not know, which stands for the letter after the backslash.
    std::wstring Quoted(const std::wstring& text, bool isData) {
        std::wstring out = L"\"";
        for (wchar_t c : text) {
            if (c == L'"' || c == L'\\') {
                out += L'\\';
            }
            out += c;
            if (isData && OneIn(40)) {
                out += OneIn(2) ? L"\\n" : L"\\q";
            }
        }
        return out + L"\"";
    }

    std::wstring ValueName() {
        if (OneIn(8)) {
            return L"@";
        }
        std::vector<std::wstring>& names = names_[current_.value_or(L"")];
        if (!names.empty() && OneIn(2)) {
            return Quoted(names[Below(static_cast<std::uint32_t>(names.size()))], false);
        }
        names.push_back(FreshName(false));
        return Quoted(names.back(), false);
    }

    void AddValueLine() {
        ++valueLines_;
        std::wstring line = (OneIn(6) ? L"  " : L"") + ValueName() + (OneIn(6) ? L" = " : L"=");
        switch (Below(7)) {
            case 0:
                return Add(line + (OneIn(3) ? L"-" : OneIn(2) ? L" - ;gone" : L"-1"));
            case 1:
                return Add(line + DwordData());
            case 2:
                return Add(line + Quoted(RandomText(Below(12)), true) +
                           (OneIn(10)   ? L" ;c"
                            : OneIn(20) ? L"x"
                                        : L""));
            default:
                return AddHexData(line);
        }
    }

    std::wstring DwordData() {
        wchar_t digits[16];
        std::swprintf(digits, 16, OneIn(2) ? L"%x" : L"%X", static_cast<unsigned>(random_() >> Below(32)));
        switch (Below(10)) {
            case 0:
                return L"dword:123456789";
            case 1:
                return L"dword:;c";
            case 2:
                return std::wstring(L"dword: ") + digits + L" ;c";
            default:
                return std::wstring(L"dword:") + digits;
        }
    }

    std::size_t DataLength(std::uint32_t type) {
        bool isString = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
        std::size_t length = Below(14);
        // Less than a whole character of string data makes the importer fail: files rarely hold it.
        return isString && length < 2 ? 2 : length;
    }

    void AddHexData(std::wstring line) {
        constexpr std::array<std::uint32_t, 8> kTypes = {REG_BINARY,   REG_NONE,  REG_SZ,    REG_EXPAND_SZ,
                                                         REG_MULTI_SZ, REG_QWORD, REG_DWORD, 0x12345};
        std::uint32_t type = kTypes[Below(static_cast<std::uint32_t>(kTypes.size()))];
        wchar_t prefix[24];
        std::swprintf(prefix, 24, type == REG_BINARY ? L"hex:" : OneIn(2) ? L"hex(%x):" : L"hex(%X):", type);
        line += prefix;
        std::size_t length = DataLength(type);
        for (std::size_t i = 0; i < length; ++i) {
            wchar_t byte[8];
            std::swprintf(byte, 8, OneIn(2) ? L"%02x" : L"%02X", static_cast<unsigned>(Below(256)));
            line += byte;
            if (i + 1 < length) {
                line += Separator(line);
            }
        }
        if (OneIn(30) && length > 0) {
            line += L"\\";  // no comma before it: the importer refuses the value
        } else if (OneIn(20) && length > 0) {
            line += L",";
        }
        Add(line);
    }

    // A comma, now and then with a blank, a continuation, or what the importer refuses.
    std::wstring Separator(std::wstring& line) {
        switch (Below(40)) {
            case 0:
                return L" ,";
            case 1:
                return L",,";
            case 2:
            case 3:
                return L", ";
            case 4:
            case 5:
            case 6:
            case 7: {
                Add(line + L",\\" + (OneIn(6) ? L" ;c" : L""));
                line.clear();
                if (OneIn(4)) {
                    Add(OneIn(2) ? L"" : L"  ; between");
                } else if (OneIn(15)) {
                    Add(OneIn(2) ? L"# breaks the data" : KeyLine(current_.value_or(L""), false));
                }
                return L"  ";
            }
            default:
                return L",";
        }
    }

    void Add(const std::wstring& line) { text_ += line + L"\r\n"; }

    std::mt19937 random_;
    std::wstring key_;
    std::wstring signature_;
    bool utf16_ = false;
    RegistryTree start_;
    std::vector<std::wstring> keys_;
    std::map<std::wstring, std::vector<std::wstring>> names_;
    std::vector<std::wstring> used_;
    std::optional<std::wstring> current_;
    std::wstring text_;
    int valueLines_ = 0;
};

// The keys below one key of HKEY_CURRENT_USER as a tree, which the stand-in
// importer writes into; writes elsewhere are left out.
class TreeWrites final : public tests::RegistryWrites {
public:
    TreeWrites(RegistryTree tree, std::string_view key) : tree_(std::move(tree)), key_(Utf8ToWide(key)) {}

    void SetValue(std::string_view path, std::string_view name, std::uint32_t type,
                  std::string_view data) override {
        if (std::optional<std::wstring> relative = Relative(path)) {
            tree_[*relative][Utf8ToWide(name)] = {type, std::string(data)};
        }
    }
    void CreateKey(std::string_view path) override {
        if (std::optional<std::wstring> relative = Relative(path)) {
            tree_[L""];
            for (std::size_t end = 0; end != std::wstring::npos;) {
                end = relative->find(L'\\', end + 1);
                tree_[relative->substr(0, end)];
            }
        }
    }
    void DeleteValue(std::string_view path, std::string_view name) override {
        if (std::optional<std::wstring> relative = Relative(path)) {
            tree_[*relative].erase(Utf8ToWide(name));
        }
    }
    void DeleteKey(std::string_view path) override {
        if (std::optional<std::wstring> relative = Relative(path)) {
            std::erase_if(tree_, [&](const auto& entry) {
                return relative->empty() || entry.first == *relative ||
                       entry.first.starts_with(*relative + L"\\");
            });
        }
    }

    RegistryTree& Tree() { return tree_; }

    std::optional<std::wstring> Relative(std::string_view path) const {
        std::wstring wide = Utf8ToWide(path);
        if (wide == key_) {
            return std::wstring();
        }
        if (wide.starts_with(key_ + L"\\")) {
            return wide.substr(key_.size() + 1);
        }
        return std::nullopt;
    }

private:
    RegistryTree tree_;
    std::wstring key_;
};

// The values whose last byte the reader cannot foresee, by key and name.
class UnforeseenBytes final : public engine::ImportVisitor {
public:
    void OnStep(const engine::ImportStep& step) override {
        if (step.kind == engine::ImportStep::Kind::OpenKey) {
            key_ = step.path;
        } else if (step.kind == engine::ImportStep::Kind::SetValue && step.lastByteUnforeseen) {
            values.emplace_back(key_, step.value.name);
        }
    }

    std::vector<std::pair<std::string, std::string>> values;

private:
    std::string key_;
};

}  // namespace

ImportCase MakeImportCase(std::uint32_t seed, std::string_view key, std::string_view signature) {
    return ImportGenerator(seed, key, signature).Make(seed);
}

RegistryTree ForeseenImport(const RegistryTree& start, const RegFile& file, std::string_view key,
                            const RegistryTree& actual) {
    platform::win32::Win32TextCodec codec;
    engine::FileText text = engine::DecodeFileText(file.text);
    TreeWrites foreseen(start, key);
    tests::ImportAsTheImporter(text, codec, foreseen);
    UnforeseenBytes unforeseen;
    engine::ReadImport(text.Read(), text.encoding, codec, unforeseen);
    for (const auto& [path, name] : unforeseen.values) {
        std::optional<std::wstring> relative = foreseen.Relative(path);
        if (!relative || !foreseen.Tree().contains(*relative) || !actual.contains(*relative)) {
            continue;
        }
        std::wstring wideName = Utf8ToWide(name);
        ValueMap& values = foreseen.Tree().at(*relative);
        const ValueMap& imported = actual.at(*relative);
        if (values.contains(wideName) && imported.contains(wideName) &&
            values.at(wideName).bytes.size() == imported.at(wideName).bytes.size()) {
            values.at(wideName).bytes.back() = imported.at(wideName).bytes.back();
        }
    }
    return std::move(foreseen.Tree());
}

}  // namespace claverix::e2e
