#include <windows.h>

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "platform/win32/Text.h"
#include "tests/e2e/support/RoundTripTest.h"

namespace claverix::e2e {
namespace {

using namespace std::string_view_literals;

// A signed version 5 file in UTF-16: its header, the signature, then `body`.
std::string Utf16SignedFile(std::wstring_view body) {
    std::wstring text = L"\uFEFFWindows Registry Editor Version 5.00\r\n# Sign:" +
                        platform::win32::ToWide(ClaverixSandbox::kSignature, CP_ACP) + L"\r\n\r\n" +
                        std::wstring(body);
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The key names are ASCII.
std::wstring Widened(std::string_view ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// Text over several lines of hex data and long quoted strings.
std::wstring WidePattern(std::size_t length) {
    constexpr std::wstring_view kCycle = L"abc XYZ \u00E9\u00FF\u20AC\\\"0123456789";
    std::wstring text;
    for (std::size_t i = 0; i < length; ++i) {
        text += kCycle[i % kCycle.size()];
    }
    return text;
}

std::string BytePattern(std::size_t length) {
    std::string bytes;
    for (std::size_t i = 0; i < length; ++i) {
        bytes += static_cast<char>(i * 7 % 256);
    }
    return bytes;
}

TEST_F(RoundTripTest, ValuesSetChangedAndDeleted) {
    RegistryTree start = {
        {L"", {}},
        {L"Existing",
         {{L"", Sz(L"default before")},
          {L"changed", Sz(L"old")},
          {L"retyped", Dword(7)},
          {L"gone", Sz(L"bye")}}},
        {L"Other", {{L"kept", Binary("\x01\x02"sv)}}},
    };
    CheckRoundTrip(start, {{"values.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Existing]
@="default after"
"changed"="new"
"retyped"="now a string"
"gone"=-
"never there"=-
"added"=dword:0000002a
[HKEY_CURRENT_USER\{key}\Other]
@=-
"kept"=hex:03
)")}});
}

// The shell hands claverix paths that the ANSI code page cannot hold.
class PathsOutsideTheCodePageTest : public RoundTripTest {
protected:
    PathsOutsideTheCodePageTest()
        : RoundTripTest({"archive \u0141ukasz", "\u0444\u0430\u0439\u043B\u044B"}) {}
};

TEST_F(PathsOutsideTheCodePageTest, AFileAndAnArchiveNamedOutsideTheCodePage) {
    CheckRoundTrip({{L"", {{L"v", Sz(L"avant")}}}},
                   {{"\u0420\u0435\u0435\u0441\u0442\u0440 \u0141.reg",
                     SignedFile("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"apr\xE8s\"\n")}});
}

TEST_F(RoundTripTest, KeysCreatedUnderExistingAndMissingParents) {
    RegistryTree start = {{L"", {}}, {L"Parent", {{L"v", Sz(L"p")}}}};
    CheckRoundTrip(start, {{"keys.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Parent\Child]
"v"="c"
[HKEY_CURRENT_USER\{key}\Parent\Child\Grandchild]
[HKEY_CURRENT_USER\{key}\Missing\Level2\Level3\Level4]
"deep"=dword:00000004
[HKEY_CURRENT_USER\{key}\Missing\Level2\Side]
@="side"
)")}});
}

TEST_F(RoundTripTest, SiblingsUnderOneMissingParentAreUndoneFileByFile) {
    RegistryTree start = {{L"", {{L"v", Sz(L"root")}}}};
    CheckRoundTrip(start, {
                              {"first.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Shared\Missing\First]
"one"="1"
)")},
                              {"second.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Shared\Missing\Second]
"two"="2"
[HKEY_CURRENT_USER\{key}\Shared\Missing\First]
"one"="changed by the second file"
[HKEY_CURRENT_USER\{key}]
"v"=-
)")},
                          });
}

// The file edited and merged again, most likely within the same second: the
// second restoration file gets " (2)" in its name.
TEST_F(RoundTripTest, OneFileNameMergedTwice) {
    RegistryTree start = {{L"", {{L"v", Dword(0)}}}};
    CheckRoundTrip(start, {{"again.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}]
"v"=dword:00000001
)")},
                           {"again.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}]
"v"=dword:00000002
"w"="added the second time"
)")}});
}

TEST_F(RoundTripTest, WholeTreesDeletedWithSubKeysAndValues) {
    RegistryTree start = {
        {L"", {{L"top", Sz(L"stays")}}},
        {L"Tree", {{L"", Dword(1)}, {L"a", Sz(L"1")}}},
        {L"Tree\\Sub", {{L"b", Binary("\x00\xFF"sv)}}},
        {L"Tree\\Sub\\Deeper", {{L"c", MultiSz(L"x\0y\0"sv)}}},
        {L"Tree\\Empty", {}},
        {L"Sibling", {{L"s", Sz(L"sibling")}}},
    };
    CheckRoundTrip(start, {{"trees.reg", SignedFile(R"([-HKEY_CURRENT_USER\{key}\Tree]
[-HKEY_CURRENT_USER\{key}\Sibling]
[HKEY_CURRENT_USER\{key}\Sibling]
"new"="after the deletion"
[-HKEY_CURRENT_USER\{key}\Never\There]
)")}});
    CheckRoundTrip(start, {{"whole key.reg", SignedFile("[-HKEY_CURRENT_USER\\{key}]\n")}});
}

TEST_F(RoundTripTest, EveryValueTypeInTheStartingState) {
    RegistryTree start = {
        {L"", {}},
        {L"Types",
         {
             {L"sz", Sz(L"text")},
             {L"sz with zeros", Sz(L"a\0b"sv)},
             {L"expand", ExpandSz(L"%SystemRoot%\\system32")},
             {L"multi", MultiSz(L"one\0two\0"sv)},
             {L"binary", Binary("\x00\x01\x7F\x80\xFF"sv)},
             {L"dword", Dword(0xDEADBEEF)},
             {L"qword", Qword(0x0123456789ABCDEF)},
             {L"none", Typed(REG_NONE, "\x01\x00\x02"sv)},
             {L"unusual", Typed(0x12345, "\xCA\xFE"sv)},
             {L"big endian", Typed(REG_DWORD_BIG_ENDIAN, "\x00\x00\x00\x2A"sv)},
             {L"short dword", Typed(REG_DWORD, "\x01\x02"sv)},
             {L"long qword", Typed(REG_QWORD, "123456789"sv)},
         }},
    };
    CheckRoundTrip(start, {{"types.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Types]
"sz"=dword:00000001
"sz with zeros"="no zeros"
"expand"="plain now"
"multi"=hex:01
"binary"=-
"dword"=hex(b):01,02,03,04,05,06,07,08
"qword"=-
"none"="text"
"unusual"=hex(12346):00
"big endian"=dword:2a000000
"short dword"=dword:00000002
"long qword"=hex(b):00,00,00,00,00,00,00,00
)")}});
}

TEST_F(RoundTripTest, EveryValueTypeWrittenByTheFile) {
    RegistryTree start = {{L"", {}},
                          {L"Target", {{L"existing sz", Sz(L"before")}, {L"existing dword", Dword(3)}}}};
    CheckRoundTrip(start, {{"hex forms.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Target]
"existing sz"=hex(1):41,00,42,00
"existing dword"=hex(0):
"none"=hex(0):00,01
"sz"=hex(1):61,62,63,00
"sz without zero"=hex(1):61,62,63
"expand"=hex(2):25,54,45,4d,50,25,00
"multi"=hex(7):61,00,62,00,00
"binary"=hex:de,ad,BE,EF
"binary by number"=hex(3):01
"dword"=dword:FFFFFFFF
"dword as hex"=hex(4):01,00,00,00
"qword"=hex(b):ff,ff,ff,ff,ff,ff,ff,7f
"unusual"=hex(12345):01,02
"high type"=hex(80000000):03
"quoted"="text"
)")}});
}

TEST_F(RoundTripTest, EmptyAndLargeValues) {
    RegistryTree start = {
        {L"", {}},
        {L"Sizes",
         {
             {L"empty sz", Typed(REG_SZ, "")},
             {L"empty expand", Typed(REG_EXPAND_SZ, "")},
             {L"empty multi", Typed(REG_MULTI_SZ, "")},
             {L"empty binary", Typed(REG_BINARY, "")},
             {L"empty dword", Typed(REG_DWORD, "")},
             {L"empty qword", Typed(REG_QWORD, "")},
             {L"empty none", Typed(REG_NONE, "")},
             {L"empty unusual", Typed(0x12345, "")},
             {L"terminator only", Sz(L"")},
             {L"big binary", Binary(BytePattern(5000))},
             {L"big sz", Sz(WidePattern(3000))},
             {L"big multi", MultiSz(WidePattern(1000) + L'\0' + WidePattern(700) + L'\0')},
             {L"big none", Typed(REG_NONE, BytePattern(1025))},
         }},
    };
    std::string longText = platform::win32::FromWide(WidePattern(2000), CP_ACP);
    std::string body = "[HKEY_CURRENT_USER\\{key}\\Sizes]\n";
    body += "\"empty sz\"=" + QuotedText(longText.substr(0, 1500)) + "\n";
    body += "\"empty binary\"=hex:" + HexList(BytePattern(1500), 16, false) + "\n";
    body += "\"empty unusual\"=hex(12345):" + HexList(BytePattern(1100), 25, true) + "\n";
    body += R"("empty multi"=hex(7):61,00,00
"terminator only"=""
"big binary"=hex:
"big sz"=-
"big multi"=hex(7):
)";
    body += "\"big none\"=hex(0):" + HexList(BytePattern(2048), 0, false) + "\n";
    body += "\"new large\"=" + QuotedText(longText) + "\n";
    body += "\"new empty\"=hex(2):\n";
    CheckRoundTrip(start, {{"sizes.reg", SignedFile(body)}});
}

TEST_F(RoundTripTest, AwkwardNamesAndText) {
    RegistryTree start = {
        {L"", {}},
        {L"blanks \"quotes\" [brackets] caf\u00E9",
         {
             {L"", Sz(L"default \\\"")},
             {L"name with blanks", Sz(L"a \"quoted\" word")},
             {L"back\\slash\\", Sz(L"C:\\path\\")},
             {L"\"quoted name\"", Sz(L"x")},
             {L"line\r\nbreaks\n", Sz(L"first\r\nsecond\nthird\rfourth")},
             {L"accents \u00E9\u00E8\u00FF\u20AC", Sz(L"\u00C0\u00E9\u00FF \u20AC\u2122 \u00A0")},
             {L"tab\tname", ExpandSz(L"%x%\t\u00E9")},
             {L"@", Sz(L"a value named @")},
         }},
        {L"\u00C9t\u00E9 ; = @", {{L"semicolon", Sz(L"; not a comment")}}},
    };
    // The file's bytes are in code page 1252, as the code page's names above are.
    std::string body =
        "[HKEY_CURRENT_USER\\{key}\\blanks \"quotes\" [brackets] caf\xE9]\n"
        "@=\"new \\\\ default\"\n"
        "\"name with blanks\"=\"changed \\\"again\\\"\"\n"
        "\"back\\\\slash\\\\\"=-\n"
        "\"\\\"quoted name\\\"\"=\"\\\\\\\\server\\\\share\\\\\"\n"
        "\"line\\r\\nbreaks\\n\"=\"one\\ntwo\\r\\nthree\\r\"\n"
        "\"accents \xE9\xE8\xFF\x80\"=\"\xC0\xC9\"\n"
        "\"tab\tname\"=-\n"
        "\"@\"=\"still named @\"\n"
        "\"new \\\"name\\\" \\\\ \xE9\"=\"new\"\n"
        "[-HKEY_CURRENT_USER\\{key}\\\xC9t\xE9 ; = @]\n";
    CheckRoundTrip(start, {{"awkward names.reg", SignedFile(body)}});
}

TEST_F(RoundTripTest, RootNamesInAnyLetterCaseAndBlanksAroundLines) {
    RegistryTree start = {
        {L"", {}},
        {L"Case", {{L"v", Sz(L"old")}, {L"w", Dword(1)}}},
        {L"Gone", {{L"x", Sz(L"x")}}},
    };
    CheckRoundTrip(start, {{"letter case.reg", SignedFile("[hkey_current_user\\{key}\\Case]\n"
                                                          "\"v\"=\"lower-case root\"\n"
                                                          "  [Hkey_Current_User\\{key}\\Case\\New]\n"
                                                          "  \"w\" = dword:00000002\n"
                                                          "\t@ = \"after a tab\"\n"
                                                          "[-hkey_current_user\\{key}\\Gone]\n")}});
}

TEST_F(RoundTripTest, FileThatChangesNothing) {
    RegistryTree start = {{L"", {{L"v", Sz(L"same")}}}, {L"K", {}}};
    CheckRoundTrip(start, {{"no change.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}]
"v"="same"
"missing"=-
[-HKEY_CURRENT_USER\{key}\Missing]
[HKEY_CURRENT_USER\{key}\K]
)")}},
                   FileEffect::ChangesNothing);
}

TEST_F(RoundTripTest, UnicodeFileOfTheCodePage) {
    RegistryTree start = {{L"", {}}, {L"Unicode", {{L"v", Sz(L"old \u00E9")}, {L"x", ExpandSz(L"%A%")}}}};
    std::wstring text = L"\uFEFFWindows Registry Editor Version 5.00\r\n# Sign:" +
                        platform::win32::ToWide(ClaverixSandbox::kSignature, CP_ACP) + L"\r\n\r\n" +
                        platform::win32::ToWide(WithKey("[HKEY_CURRENT_USER\\{key}\\Unicode]\n"
                                                        "\"v\"=\"new \xE8\"\n"
                                                        "\"x\"=hex(2):25,00,42,00,25,00,00,00\n"
                                                        "\"new\"=-\n"
                                                        "[HKEY_CURRENT_USER\\{key}\\Unicode\\Sub]\n"
                                                        "@=\"\x80\"\n"),
                                                CP_ACP);
    std::string bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    CheckRoundTrip(start, {{"unicode.reg", bytes}});
}

// Names, keys and text that the ANSI code page cannot hold: CJK, Cyrillic,
// Greek and an emoji (a surrogate pair), and a string of odd length whose
// last whole character is zero, which the importer stores as it is. Their
// restoration file is a version 5 file in UTF-16.
TEST_F(RoundTripTest, CharactersOutsideTheCodePage) {
    RegistryTree start = {
        {L"", {}},
        {L"\u4E2D\u6587 \u0416\u0443\u043A \u03A9\U0001F600",
         {{L"\u540D\u524D", Sz(L"\u4E2D\u6587\u6587\u672C")},
          {L"\u0418\u043C\u044F", ExpandSz(L"%USERPROFILE%\\\u0414\u043E\u043A")},
          {L"\u03CC\u03BD\u03BF\u03BC\u03B1 \U0001F600", MultiSz(L"\u03B1\u03B2\0\U0001F600\0"sv)},
          {L"odd", Typed(REG_SZ, "a\0\0\0b"sv)},
          {L"plain", Sz(L"\u00E9t\u00E9")}}},
        {L"\u4E2D\u6587 \u0416\u0443\u043A \u03A9\U0001F600\\\u5B50", {{L"\U0001F600", Dword(1)}}},
    };
    // An ANSI file can name none of them, but it can delete them all.
    CheckRoundTrip(start, {{"ansi.reg", SignedFile("[-HKEY_CURRENT_USER\\{key}]\n")}});
    std::wstring body = L"[HKEY_CURRENT_USER\\" + Widened(key()) +
                        L"\\\u4E2D\u6587 \u0416\u0443\u043A \u03A9\U0001F600]\r\n"
                        L"\"\u540D\u524D\"=\"\u65B0\u3057\u3044 \u2212\"\r\n"
                        L"\"\u0418\u043C\u044F\"=hex(2):41,00,16,04,00,00\r\n"
                        L"\"\u03CC\u03BD\u03BF\u03BC\u03B1 \U0001F600\"=-\r\n"
                        L"\"odd\"=\"\u03A9\"\r\n"
                        L"\"\u65B0\"=hex(7):3d,d8,00,de,00,00,00,00\r\n"
                        L"[HKEY_CURRENT_USER\\" +
                        Widened(key()) +
                        L"\\\u041D\u043E\u0432\u044B\u0439\\\u03B1]\r\n"
                        L"@=\"\U0001F600\"\r\n";
    CheckRoundTrip(start, {{"version 5.reg", Utf16SignedFile(body)}});
}

// The importer ends a line at a lone LF as at a CR: the value line after it is changed, and
// must be saved.
TEST_F(RoundTripTest, LoneLineFeedEndsALine) {
    RegistryTree start = {{L"", {}}, {L"K", {{L"a", Sz(L"old a")}, {L"b", Sz(L"old b")}}}};
    // Written as it is: SignedFile would make the LF a CR LF.
    std::string text = SignedHead(ClaverixSandbox::kSignature) + "[HKEY_CURRENT_USER\\" + key() +
                       "\\K]\r\n\"a\"=\"new a\"\n\"b\"=-\r\n";
    CheckRoundTrip(start, {{"line feed.reg", text}});
}

// Names that the file writes in another letter case than the registry holds them.
TEST_F(RoundTripTest, DeletedNamesComeBackInTheirOwnLetterCase) {
    RegistryTree start = {
        {L"", {}},
        {L"Sub", {}},
        {L"Sub\\Deep", {{L"Val", Sz(L"old")}}},
        {L"A", {{L"Val", Sz(L"old")}}},
    };
    CheckRoundTrip(start, {{"letter case.reg", SignedFile(R"([-HKEY_CURRENT_USER\{key}\SUB]
[HKEY_CURRENT_USER\{key}\A]
"VAL"=-
)")}});
}

// After a hex line ending in a backslash, the importer takes the next line for more hex
// data; a key line there is dropped, and the values after it go to the key before.
TEST_F(RoundTripTest, KeyLineAfterAnUnfinishedHexList) {
    RegistryTree start = {{L"", {}}, {L"A", {{L"v", Sz(L"old A")}}}, {L"B", {{L"v", Sz(L"old B")}}}};
    CheckRoundTrip(start, {{"unfinished hex.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\A]
"bin"=hex:01,02,\
[HKEY_CURRENT_USER\{key}\B]
"v"="new"
)")}});
}

}  // namespace
}  // namespace claverix::e2e
