#include "engine/ImportReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/RegFileFormat.h"
#include "platform/Unicode.h"
#include "platform/memory/StandIns.h"

namespace claverix::engine {
namespace {

using Kind = ImportStep::Kind;
using Steps = std::vector<std::string>;
using namespace std::string_literals;

// Each step as one short line: "open 2:Software\A", "set 3:name 1 61 00 00 00", "skip 4".
class StepRecorder final : public ImportVisitor {
public:
    void OnStep(const ImportStep& step) override {
        std::string line = std::to_string(step.line) + ":";
        switch (step.kind) {
            case Kind::OpenKey:
                return Add("open " + line + step.path);
            case Kind::DeleteKey:
                return Add("delete " + line + step.path);
            case Kind::SetValue:
                return Add("set " + line + step.value.name + " " + std::to_string(step.value.type) +
                           Hex(step.value.data));
            case Kind::DeleteValue:
                return Add("unset " + line + step.value.name);
            case Kind::CloseKey:
                return Add("close " + line);
            case Kind::Skip:
                return Add("skip " + line);
            case Kind::Stop:
                return Add("stop " + line);
            case Kind::Unreadable:
                return Add("unreadable " + line);
        }
    }

    Steps steps;

private:
    void Add(std::string step) { steps.push_back(std::move(step)); }

    static std::string Hex(std::string_view bytes) {
        constexpr std::string_view kDigits = "0123456789abcdef";
        std::string hex;
        for (unsigned char byte : bytes) {
            hex.append({' ', kDigits[byte >> 4], kDigits[byte & 0x0F]});
        }
        return hex;
    }
};

// Each line passed over and what it names, ended by "|": "5 HKEY_USERS\A", "6 -HKEY_USERS\A" (to delete),
// "7 "v"", "8 " (nothing).
class NameRecorder final : public ImportVisitor {
public:
    void OnStep(const ImportStep& step) override {
        if (step.kind != Kind::CloseKey && step.kind != Kind::Skip && step.kind != Kind::Stop) {
            return;
        }
        steps += std::to_string(step.line) + (step.named == ImportStep::Named::DeletedKey ? " -" : " ");
        if (step.named == ImportStep::Named::Value) {
            AppendWrittenName(steps, step.value.name);
        } else if (step.named != ImportStep::Named::Nothing) {
            steps.append(RootKeyName(step.root)).append(step.path);
        }
        steps += '|';
    }

    std::string steps;
};

// `text` as a file of `encoding` holds it, read; the stand-in's code page is Latin-1.
template <typename Recorder = StepRecorder>
auto Read(std::u16string_view text, TextEncoding encoding = TextEncoding::Ansi) {
    platform::Latin1TextCodec codec;
    Recorder recorder;
    std::string bytes =
        encoding == TextEncoding::Utf16 ? platform::Utf16Bytes(text) : codec.Utf16ToAnsiExact(text).value();
    ReadImport(bytes, encoding, codec, recorder);
    return recorder.steps;
}

// `body` after a REGEDIT4 header and a key line, lines joined with CR LF.

Steps Body(std::u16string body, TextEncoding encoding = TextEncoding::Ansi) {
    Steps steps = Read(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n" + body, encoding);
    EXPECT_EQ(steps.front(), "open 2:K");
    steps.erase(steps.begin());
    return steps;
}

TEST(ImportReaderTest, OnlyAnExactHeaderLetsTheImporterRead) {
    EXPECT_EQ(Read(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\A]"), Steps{"open 2:A"});
    EXPECT_EQ(Read(u" \tWindows Registry Editor Version 5.00\n[hkey_current_user\\A]"), Steps{"open 2:A"});
    for (std::u16string_view header : {u"REGEDIT4 ", u"regedit4", u"REGEDIT5", u"# REGEDIT4", u""}) {
        EXPECT_EQ(Read(std::u16string(header) + u"\r\n[HKEY_CURRENT_USER\\A]"), Steps{"stop 1:"});
    }
    // The Windows 3.1 form sets default values under HKEY_CLASSES_ROOT, the key ending at a blank.
    EXPECT_EQ(
        Read(u"REGEDIT\r\nHKEY_CLASSES_ROOT\\A\\B = two  words\r\nHKEY_CURRENT_USER\\X = 1\r\n"
             u"HKEY_CLASSES_ROOT\\C=x"),
        (Steps{"open 2:A\\B", "set 2: 1 74 00 77 00 6f 00 20 00 20 00 77 00 6f 00 72 00 64 00 73 00 00 00",
               "skip 3:", "open 4:C=x", "set 4: 1 00 00"}));
}

TEST(ImportReaderTest, KeyLines) {
    EXPECT_EQ(Body(u"[HKEY_LOCAL_MACHINE\\a]b]x\r\n[HKEY_USERS]\r\n[HKCU\\A]\r\n[ HKEY_USERS\\A]\r\n"
                   u"[HKEY_USERS\\A\r\n[-HKEY_CURRENT_USER\\A\\B]\r\n[-]\r\n[-x]\r\n[HKEY_CURRENT_USERS\\A]"),
              (Steps{"open 3:a]b", "open 4:", "close 5:", "skip 6:", "skip 7:", "delete 8:A\\B",
                     "close 9:", "close 10:", "close 11:"}));
    // Deleting a root, or under an unknown one, ends Wine's import; what follows is still read.
    EXPECT_EQ(Body(u"[-HKEY_CURRENT_USER]\r\n\"a\"=-"), (Steps{"stop 3:", "unset 4:a"}));
    EXPECT_EQ(Body(u"[-HKCU\\A]"), Steps{"stop 3:"});
    EXPECT_EQ(Body(u"[-HKEY_CURRENT_USER\\]"), Steps{"stop 3:"});
}

// Another importer may take a line that Wine's passes over: the step names what the line does.
TEST(ImportReaderTest, LinesPassedOverNameWhatTheyWouldChange) {
    EXPECT_EQ(
        Read<NameRecorder>(
            u"REGEDIT4\r\n[HKCU\\Software\\X]\r\n[hklm\\A]\r\n[HKCR\\.x]\r\n[HKEY_CURRENT_USER\\Open  \r\n"
            u"[ HKEY_USERS\\A]\r\n[-HKCU\\Gone]\r\n[-HKEY_CURRENT_USER]\r\n[-  HKEY_CURRENT_USER\\B]\r\n"
            u"[Nowhere\\A]\r\n\"v\"=\"x\" #note\r\n\"d\"=dword:0x1\r\n@=hex(2):zz\r\n\"s\"=\"a\\0\"\r\n"
            u"\"bin\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\Swallowed]\r\n\"h\"=hex:02,\\\r\n\"next\"=\"1\"\r\n"
            u"junk\r\n\"unclosed=1\r\n[]"),
        "2 HKEY_CURRENT_USER\\Software\\X|3 HKEY_LOCAL_MACHINE\\A|4 HKEY_CLASSES_ROOT\\.x|"
        "5 HKEY_CURRENT_USER\\Open|6 HKEY_USERS\\A|7 -HKEY_CURRENT_USER\\Gone|8 |9 -HKEY_CURRENT_USER\\B|"
        "10 |11 \"v\"|12 \"d\"|13 @|14 \"s\"|15 \"bin\"|16 HKEY_CURRENT_USER\\Swallowed|17 \"h\"|"
        "18 \"next\"|19 |20 |21 |");
}

TEST(ImportReaderTest, ValueNamesAndStrings) {
    EXPECT_EQ(Body(u"@=\"a\\\\b\\\"c\\n\\r\\q\"\r\n  \"n \\\" m\" = \"\" ;x\r\n\"s\"=\"x\" y\r\n\"u\"=\"x\r\n"
                   u"\"a\\0\"=\"x\"\r\n\"noequals\" \"x\"\r\nother\r\n# c\r\n; c"),
              (Steps{"set 3: 1 61 00 5c 00 62 00 22 00 63 00 0a 00 0d 00 71 00 00 00", "set 4:n \" m 1 00 00",
                     "skip 5:", "skip 6:", "skip 7:", "skip 8:", "skip 9:"}));
    // "\0", or a backslash ending the string, ends the import.
    EXPECT_EQ(Body(u"\"a\"=\"x\\0\"\r\n\"b\"=-"), (Steps{"stop 3:", "unset 4:b"}));
    EXPECT_EQ(Body(u"\"a\"=\"x\\  "), Steps{"stop 3:"});
    for (std::string name :
         {"plain", "quote\"inside", "back\\slash", "\\\"\\\"", "line\nbreak\r", "\u00E9t\u00E9", "@"}) {
        std::string line;
        AppendWrittenName(line, name);
        Steps steps = Body(platform::Utf8ToUtf16(line) + u"=-");
        EXPECT_EQ(steps, Steps{"unset 3:" + name}) << line;
    }
}

TEST(ImportReaderTest, DwordsDeletionsAndTypes) {
    EXPECT_EQ(Body(u"\"a\"=dword:1A ;c\r\n\"b\"=dword:;c\r\n\"c\"=dword:123456789\r\n\"d\"=dword:0x1\r\n"
                   u"\"e\"=DWORD:1\r\n\"f\" = - ;c\r\n@=-\r\n\"g\"=-1\r\n\"h\"=hex():01\r\n\"i\"=hex(-1):\r\n"
                   u"\"j\"=hex(0x2):01\r\n\"k\"=hex(100000000):01\r\n\"l\"=hex(b):01,02"),
              (Steps{"set 3:a 4 1a 00 00 00", "set 4:b 4 00 00 00 00",
                     "skip 5:", "skip 6:", "skip 7:", "unset 8:f", "unset 9:", "skip 10:", "set 11:h 0 01",
                     "set 12:i 4294967295", "skip 13:", "skip 14:", "set 15:l 11 01 02"}));
}

TEST(ImportReaderTest, HexListsAndTheirContinuations) {
    EXPECT_EQ(Body(u"\"a\"=hex: 01 , 02\r\n\"b\"=hex:01, 0x1f,+2 ;c\r\n\"c\"=hex:01,,02\r\n\"d\"=hex:01,\r\n"
                   u"\"e\"=hex:100\r\n\"f\"=hex:"),
              (Steps{"skip 3:", "set 4:b 3 01 1f 02", "skip 5:", "set 6:d 3 01", "skip 7:", "set 8:f 3"}));
    // Blank and ";" lines go by within continued data; anything else that is not hex ends it, and goes with
    // it.
    EXPECT_EQ(
        Body(u"\"a\"=hex:01,\\\r\n\r\n ;x\\\r\n  02,\\ ;c\r\n  03\r\n\"b\"=hex:01,\\\r\n# c\r\n\"c\"=\"1\""),
        (Steps{"set 3:a 3 01 02 03", "skip 8:", "skip 9:", "set 10:c 1 31 00 00 00"}));
    // The importer's misses that a line joiner makes: a comment ending in a backslash, and a last byte
    // without its comma before the backslash.
    EXPECT_EQ(Body(u"#comment\\\r\n\"a\"=\"1\"\r\n\"b\"=hex(2):4c,69,6e,65\\\r\n\"c\"=\"2\"\r\n"
                   u"\"d\"=hex:01\\\r\n[HKEY_CURRENT_USER\\L]"),
              (Steps{"set 4:a 1 31 00 00 00", "skip 5:", "set 6:c 1 32 00 00 00", "skip 7:", "open 8:L"}));
    EXPECT_EQ(Body(u"\"a\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\L]\r\n\"b\"=hex:01,\\ x\r\n\"c\"=hex:02,\\"),
              (Steps{"skip 3:", "skip 4:", "skip 5:", "set 6:c 3 02"}));
}

TEST(ImportReaderTest, StringDataTakesTheEncodingsMeaning) {
    std::u16string lines =
        u"\"a\"=hex(2):41,00,e9\r\n\"b\"=hex(7):41,00,42,00,00,00\r\n\"c\"=hex(1):61,00,62\r\n"
        u"\"d\"=hex(1):41,00,00,00,42\r\n\"e\"=hex(1):";
    EXPECT_EQ(Body(lines, TextEncoding::Ansi),
              (Steps{"set 3:a 2 41 00 00 00 e9 00 00 00", "set 4:b 7 41 00 00 00 42 00 00 00 00 00 00 00",
                     "set 5:c 1 61 00 00 00 62 00 00 00", "set 6:d 1 41 00 00 00 00 00 00 00 42 00 00 00",
                     "set 7:e 1"}));
    EXPECT_EQ(Body(lines, TextEncoding::Utf16),
              (Steps{"set 3:a 2 41 00 00 00 00", "set 4:b 7 41 00 42 00 00 00", "set 5:c 1 61 00 00 00 00",
                     "set 6:d 1 41 00 00 00 42", "set 7:e 1"}));
    // Less than one whole character of string data makes the importer fail.
    EXPECT_EQ(Body(u"\"a\"=hex(1):61", TextEncoding::Utf16), Steps{"stop 3:"});
    EXPECT_EQ(Body(u"\"a\"=hex(2):\\", TextEncoding::Ansi), Steps{"stop 3:"});
}

TEST(ImportReaderTest, WhatCannotBeForeseenIsUnreadable) {
    EXPECT_EQ(Body(u"\"a\"=\"1\"\r\n# \0\r\n\"b\"=\"2\""s),
              (Steps{"set 3:a 1 31 00 00 00", "unreadable 4:"}));
    EXPECT_EQ(Body(u"# \xD800\r\n\"\xDC00\"=\"1\"\r\n\"b\"=\"2\"", TextEncoding::Utf16),
              Steps{"unreadable 4:"});
    EXPECT_EQ(Body(u"\"\U0001F600\"=\"\U0001F600\"\r\n\"\0\""s, TextEncoding::Utf16),
              (Steps{"set 3:\xF0\x9F\x98\x80 1 3d d8 00 de 00 00", "unreadable 4:"}));
}

}  // namespace
}  // namespace claverix::engine
