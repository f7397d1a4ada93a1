#include "tests/e2e/support/RandomCase.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

namespace claverix::e2e {

namespace {

// Candidates for names and text, which the random files name in REGEDIT4
// text: ToAnsi drops those that the ANSI code page at hand lacks, such as the
// last three here under code page 1252.
constexpr std::wstring_view kPrintableCandidates =
    L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 !\"#$%&'()*+,-./:;<=>?@[]^_`{|}~"
    L"\u00A0\u00A4\u00B5\u00C0\u00C4\u00C9\u00D8\u00DF\u00E4\u00E9\u00F1\u00FF\u0152\u0153\u0160\u20AC\u2122"
    L"\u0100\u0416\u4E2D";
constexpr std::wstring_view kControlCandidates{L"\t\r\n\x01\x1A\x7F\0", 7};

constexpr std::array<std::uint32_t, 6> kUnusualTypes = {
    REG_DWORD_BIG_ENDIAN, REG_LINK, REG_RESOURCE_LIST, 0x12345, 0x7FFFFFFF, 0x80000001};
constexpr std::array<std::uint32_t, 8> kAllTypes = {REG_NONE,  REG_SZ,       REG_EXPAND_SZ, REG_BINARY,
                                                    REG_DWORD, REG_MULTI_SZ, REG_QWORD,     0x12345};
constexpr std::array<std::string_view, 3> kRootNames = {"HKEY_CURRENT_USER", "hkey_current_user",
                                                        "Hkey_Current_User"};

std::wstring Representable(std::wstring_view candidates) {
    std::wstring kept;
    for (wchar_t c : candidates) {
        if (ToAnsi(std::wstring_view(&c, 1))) {
            kept += c;
        }
    }
    return kept;
}

struct Alphabets {
    std::wstring keyName = Representable(kPrintableCandidates);  // no backslash: it separates keys
    std::wstring valueName = keyName + Representable(L"\\\t\r\n");
    std::wstring text = keyName + L"\\" + Representable(kControlCandidates);
};

const Alphabets& CharacterSets() {
    static const Alphabets alphabets;
    return alphabets;
}

bool SameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring ChildPath(const std::wstring& parent, const std::wstring& name) {
    return parent.empty() ? name : parent + L"\\" + name;
}

std::size_t Depth(const std::wstring& path) {
    return path.empty() ? 0 : 1 + static_cast<std::size_t>(std::ranges::count(path, L'\\'));
}

std::string Ansi(std::wstring_view text) {
    return ToAnsi(text).value();
}

class CaseGenerator {
public:
    CaseGenerator(std::uint32_t seed, std::string_view key, std::string_view signature)
        : engine_(seed), seed_(seed), key_(key), signature_(signature) {}

    RandomCase Make() {
        MakeStart();
        RandomCase made{start_, {}};
        int fileCount = 1 + static_cast<int>(Below(2));
        for (int index = 1; index <= fileCount; ++index) {
            std::string name = "random-" + std::to_string(seed_) + "-" + std::to_string(index) + ".reg";
            made.files.push_back({name, MakeFile(index)});
        }
        return made;
    }

private:
    std::uint32_t Below(std::uint32_t bound) { return engine_() % bound; }
    bool OneIn(std::uint32_t chances) { return Below(chances) == 0; }

    template <typename Items>
    const auto& Pick(const Items& items) {
        return *std::next(std::begin(items), Below(static_cast<std::uint32_t>(std::size(items))));
    }

    // Mostly short, now and then over the 1024 bytes that a first read takes.
    std::size_t TextLength() { return OneIn(12) ? 520 + Below(700) : Below(16); }
    std::size_t ByteLength() { return OneIn(12) ? 1025 + Below(2000) : Below(16); }

    std::wstring RandomText(const std::wstring& alphabet, std::size_t length) {
        std::wstring text;
        for (std::size_t i = 0; i < length; ++i) {
            text += Pick(alphabet);
        }
        return text;
    }

    std::string RandomBytes(std::size_t length, unsigned char lowest = 0) {
        std::string bytes;
        for (std::size_t i = 0; i < length; ++i) {
            bytes += static_cast<char>(lowest + Below(256u - lowest));
        }
        return bytes;
    }

    // A name no other key or value of the case has, whatever the letter case:
    // the registry would take it for the other one.
    std::wstring FreshName(const std::wstring& alphabet) {
        for (;;) {
            std::wstring name = RandomText(alphabet, 1 + Below(8));
            if (std::ranges::none_of(
                    usedNames_, [&](const std::wstring& used) { return SameIgnoringCase(name, used); })) {
                usedNames_.push_back(name);
                return name;
            }
        }
    }

    void MakeStart() {
        start_[L""] = StartValues();
        keys_.push_back(L"");
        for (std::uint32_t count = Below(6); count > 0; --count) {
            std::wstring parent = Pick(keys_);
            if (Depth(parent) < 3) {
                std::wstring path = ChildPath(parent, FreshName(CharacterSets().keyName));
                start_[path] = StartValues();
                keys_.push_back(path);
            }
        }
    }

    ValueMap StartValues() {
        ValueMap values;
        for (std::uint32_t count = Below(5); count > 0; --count) {
            values[OneIn(6) ? std::wstring() : FreshName(CharacterSets().valueName)] = StartValue();
        }
        return values;
    }

    RawValue StartValue() {
        const std::wstring& text = CharacterSets().text;
        switch (Below(10)) {
            case 0:
                return Sz(RandomText(text, TextLength()));
            case 1:
                return ExpandSz(RandomText(text, TextLength()));
            case 2:
                return MultiSz(RandomText(text, TextLength()) + L'\0' + RandomText(text, TextLength()) +
                               L'\0');
            case 3:
                return Binary(RandomBytes(ByteLength()));
            case 4:
                return Dword(engine_());
            case 5:
                return Qword(static_cast<std::uint64_t>(engine_()) << 32 | engine_());
            case 6:
                return Typed(REG_NONE, RandomBytes(ByteLength()));
            case 7:
                return Typed(Pick(kUnusualTypes), RandomBytes(ByteLength()));
            case 8:
                return Typed(OneIn(2) ? REG_DWORD : REG_QWORD, RandomBytes(Below(12)));  // an unusual size
            default:
                return Typed(Pick(kAllTypes), "");
        }
    }

    std::string MakeFile(int index) {
        std::string text = SignedHead(signature_);
        for (std::uint32_t sections = 1 + Below(5); sections > 0; --sections) {
            switch (Below(10)) {
                case 0:
                case 1:
                case 2:
                case 3:
                case 4:
                    AppendExistingKeySection(text);
                    break;
                case 5:
                case 6:
                    AppendNewKeySection(text);
                    break;
                case 7:
                    text += KeyLine(ExistingKeyToDelete(), true);
                    break;
                default:
                    text += KeyLine(NewPath(), true);
            }
        }
        // A value no state holds: whatever else the file does, it changes the registry.
        text +=
            KeyLine(Pick(keys_), false) + ValueLine("~changed by file " + std::to_string(index), FileData());
        return text;
    }

    void AppendExistingKeySection(std::string& text) {
        const std::wstring& path = Pick(keys_);
        text += KeyLine(path, false);
        const ValueMap& values = start_.at(path);
        for (std::uint32_t lines = 1 + Below(4); lines > 0; --lines) {
            bool existing = !values.empty() && OneIn(2);
            std::string name = Ansi(existing ? Pick(values).first : FreshName(CharacterSets().valueName));
            text += ValueLine(name, OneIn(3) ? "-" : FileData());
        }
    }

    void AppendNewKeySection(std::string& text) {
        text += KeyLine(NewPath(), false);
        for (std::uint32_t lines = Below(3); lines > 0; --lines) {
            text += ValueLine(Ansi(FreshName(CharacterSets().valueName)), FileData());
        }
    }

    // The test's own key now and then, mostly one below it.
    const std::wstring& ExistingKeyToDelete() {
        if (keys_.size() == 1 || OneIn(5)) {
            return keys_.front();
        }
        return keys_[1 + Below(static_cast<std::uint32_t>(keys_.size() - 1))];
    }

    // One to three levels that do not exist, below an existing key.
    std::wstring NewPath() {
        std::wstring path = Pick(keys_);
        for (std::uint32_t levels = 1 + Below(3); levels > 0; --levels) {
            path = ChildPath(path, FreshName(CharacterSets().keyName));
        }
        return path;
    }

    std::string KeyLine(const std::wstring& relative, bool deletion) {
        std::string line = deletion ? "[-" : "[";
        line.append(Pick(kRootNames)).append("\\").append(key_);
        if (!relative.empty()) {
            line.append("\\").append(Ansi(relative));
        }
        return line + "]\r\n";
    }

    // Blanks before the line and around "=" now and then: the importer skips them.
    std::string ValueLine(std::string_view ansiName, std::string_view data) {
        if (OneIn(6)) {
            return "  " + WrittenName(ansiName) + " = " + std::string(data) + "\r\n";
        }
        return WrittenName(ansiName) + "=" + std::string(data) + "\r\n";
    }

    std::size_t FileLength() { return OneIn(10) ? 1025 + Below(1500) : Below(20); }

    std::string FileHex(std::size_t length) {
        return HexList(RandomBytes(length), OneIn(3) ? 1 + Below(20) : 0, OneIn(2));
    }

    // Hex digits in either letter case, as the importer takes them.
    std::string HexNumber(std::uint32_t number) {
        char digits[12];
        std::snprintf(digits, sizeof digits, OneIn(2) ? "%x" : "%X", static_cast<unsigned>(number));
        return digits;
    }

    // What follows "=" in a line that sets a value.
    std::string FileData() {
        switch (Below(11)) {
            case 0:
            case 1:
                return QuotedText(RandomBytes(FileLength(), 1));
            case 2:
                return "dword:" + HexNumber(engine_() >> Below(32));
            case 3:
                return "hex:" + FileHex(FileLength());
            case 4:
                return "hex(1):" + FileHex(FileLength());
            case 5:
                return "hex(2):" + FileHex(FileLength());
            case 6:
                return "hex(7):" + FileHex(FileLength());
            case 7:
                return "hex(b):" + FileHex(8);
            case 8:
                return "hex(0):" + FileHex(FileLength());
            case 9:
                return "hex(4):" + FileHex(Below(8));
            default:
                return "hex(" + HexNumber(Pick(kUnusualTypes)) + "):" + FileHex(FileLength());
        }
    }

    std::mt19937 engine_;
    std::uint32_t seed_;
    std::string key_;
    std::string signature_;
    RegistryTree start_;
    std::vector<std::wstring> keys_;
    std::vector<std::wstring> usedNames_;
};

}  // namespace

RandomCase MakeRandomCase(std::uint32_t seed, std::string_view key, std::string_view signature) {
    return CaseGenerator(seed, key, signature).Make();
}

}  // namespace claverix::e2e
