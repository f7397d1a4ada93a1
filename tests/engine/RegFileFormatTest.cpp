#include "engine/RegFileFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace claverix::engine {
namespace {

using platform::RootKey;

template <typename Reader>
std::vector<std::string> LinesOf(std::string_view text) {
    Reader reader(text);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
}

std::vector<std::string> Lines(std::string_view text) {
    return LinesOf<LineReader>(text);
}

TEST(LineReaderTest, CarriageReturnsAndLineFeedsEndLines) {
    using Expected = std::vector<std::string>;
    EXPECT_EQ(Lines(""), Expected{});
    EXPECT_EQ(Lines("A\r\nB\r\n"), (Expected{"A", "B"}));
    EXPECT_EQ(Lines("A\rB\rC"), (Expected{"A", "B", "C"}));
    EXPECT_EQ(Lines("A\nB\r\nC"), (Expected{"A", "B", "C"}));
    EXPECT_EQ(Lines("\r\n\r\nA\r\n\r\n"), (Expected{"", "", "A", ""}));
    EXPECT_EQ(Lines("A\r\r\nB\n\rC"), (Expected{"A", "", "B", "", "C"}));
    EXPECT_EQ(Lines("\n"), (Expected{""}));
}

TEST(LineReaderTest, KeepsEveryOtherByteWhateverTheLength) {
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n') {
            everyByte += static_cast<char>(byte);
        }
    }
    std::string longLine(1 << 20, 'x');
    longLine[12345] = '\0';
    std::string text = everyByte + "\r\n" + longLine + "\r\n" + std::string("\x80\xFF\0", 3);

    std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], everyByte);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], std::string("\x80\xFF\0", 3));
}

std::vector<std::string> ImporterLines(std::string_view text) {
    return LinesOf<ImporterLineReader>(text);
}

TEST(ImporterLineReaderTest, ReadsLinesAsTheImporterDoes) {
    using Expected = std::vector<std::string>;
    EXPECT_EQ(ImporterLines("A\r\nB\nC\rD"), (Expected{"A", "B", "C", "D"}));
    EXPECT_EQ(ImporterLines("A\n\r\nB\r\n"), (Expected{"A", "", "B"}));
    EXPECT_EQ(ImporterLines("# comment\r\n; comment\r\n #kept\r\n"), (Expected{" #kept"}));
    EXPECT_EQ(ImporterLines("\"v\"=hex:01,\\\r\n  02,\\\n\t03\r\n[K]"),
              (Expected{"\"v\"=hex:01,02,03", "[K]"}));
    EXPECT_EQ(ImporterLines("\"v\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\K]\r\n"),
              (Expected{"\"v\"=hex:01,[HKEY_CURRENT_USER\\K]"}));
    EXPECT_EQ(ImporterLines("# comment \\\r\n[K]\r\nafter"), (Expected{"after"})) << "a comment swallows";
    EXPECT_EQ(ImporterLines("last\\"), (Expected{"last\\"}));
}

TEST(ClassifyLineTest, DirectiveWordsAreFoundAnywhereIgnoringCase) {
    EXPECT_EQ(ClassifyLine("REGEDIT4"), LineKind::Header);
    EXPECT_EQ(ClassifyLine("Windows Registry Editor Version 5.00"), LineKind::Header);
    EXPECT_EQ(ClassifyLine("# Sign:moi"), LineKind::Signature);
    EXPECT_EQ(ClassifyLine("#sIgN: moi"), LineKind::Signature);
    EXPECT_EQ(ClassifyLine("# NoUndo"), LineKind::NoUndo);
    EXPECT_EQ(ClassifyLine("# noundo and UNDOFILE"), LineKind::NoUndo);
    EXPECT_EQ(ClassifyLine("# Undofile"), LineKind::UndoFile);
    EXPECT_EQ(ClassifyLine("# FileName:cle.reg"), LineKind::FileName);
    EXPECT_EQ(ClassifyLine("#"), LineKind::Comment);
    EXPECT_EQ(ClassifyLine("# un commentaire"), LineKind::Comment);
    EXPECT_EQ(ClassifyLine(""), LineKind::Empty);
    EXPECT_EQ(ClassifyLine("[HKEY_CURRENT_USER\\Software]"), LineKind::Key);
    EXPECT_EQ(ClassifyLine("\"Name\"=\"x\""), LineKind::Value);
    EXPECT_EQ(ClassifyLine("  00,01,02"), LineKind::Value);
    EXPECT_EQ(ClassifyLine("; a semicolon comment"), LineKind::Value);
}

TEST(ClassifyLineTest, LinesTheImporterActsOnAreNeverDirectives) {
    // The importer sets these; taking them for directives would leave them unsaved.
    EXPECT_EQ(ClassifyLine("\"Design:Mode\"=dword:00000001"), LineKind::Value);
    EXPECT_EQ(ClassifyLine("\"Path\"=\"C:\\\\NoUndo\""), LineKind::Value);
    EXPECT_EQ(ClassifyLine("@=\"REGEDIT4\""), LineKind::Value);
    EXPECT_EQ(ClassifyLine("[HKEY_CURRENT_USER\\Software\\FileName:x\\Undofile]"), LineKind::Key);
    EXPECT_EQ(ClassifyLine("  [HKEY_CURRENT_USER\\Software]"), LineKind::Key);
    EXPECT_EQ(ClassifyLine("\t\"Indented\"=\"x\""), LineKind::Value);
}

TEST(ClassifyLineTest, RecordedNamesAndCommentsKeepTheirKind) {
    // A recorded name may hold any word; it must not turn into another directive.
    EXPECT_EQ(ClassifyLine("# FileName:20260306-142501-old-noundo.reg"), LineKind::FileName);
    EXPECT_EQ(ClassifyLine("# FileName:my-undofile.reg"), LineKind::FileName);
    EXPECT_EQ(ClassifyLine("# FileName:old-regedit4.reg"), LineKind::FileName);
    // A header heads a file; a comment mentioning one stays a comment.
    EXPECT_EQ(ClassifyLine("# exported with regedit4"), LineKind::Comment);
}

TEST(FieldsTest, DirectiveAndCommentFields) {
    EXPECT_EQ(RecordedFileName("# FileName:cle.reg"), "cle.reg");
    EXPECT_EQ(RecordedFileName("# FileName: cle.reg"), " cle.reg");
    EXPECT_EQ(CommentOf("#"), "");
    EXPECT_EQ(CommentOf("# text"), " text");
}

TEST(KeyLineTest, RootComesFromTheStartOfTheLineInAnyCase) {
    KeyLine full = ParseKeyLine("[HKEY_CURRENT_USER\\Software\\A]");
    KeyLine abbreviated = ParseKeyLine("[HKCU\\Software\\A]");
    EXPECT_EQ(full.root, RootKey::CurrentUser);
    EXPECT_EQ(abbreviated.root, RootKey::CurrentUser);
    EXPECT_EQ(full.path, "Software\\A");
    EXPECT_EQ(abbreviated.path, "Software\\A");
    EXPECT_FALSE(full.isDeletion);

    EXPECT_EQ(RootKeyFromText("[hkey_local_machine\\Software]"), RootKey::LocalMachine);
    EXPECT_EQ(RootKeyFromText("[HKEY_LOCAL_MACHINE\\Software\\HKCU\\HKCR]"), RootKey::LocalMachine);
    EXPECT_EQ(RootKeyFromText("[hklm\\x]"), RootKey::LocalMachine);
    EXPECT_EQ(RootKeyFromText("[HKEY_USERS\\.DEFAULT]"), RootKey::Users);
    EXPECT_EQ(RootKeyFromText("[HKEY_CURRENT_USERS\\x]"), RootKey::None);
    EXPECT_EQ(RootKeyFromText("[Software\\HKEY_CURRENT_USER]"), RootKey::None);

    KeyLine deletion = ParseKeyLine("[-HKEY_CLASSES_ROOT\\.reg\\Shell]");
    EXPECT_TRUE(deletion.isDeletion);
    EXPECT_EQ(deletion.root, RootKey::ClassesRoot);
    EXPECT_EQ(deletion.path, ".reg\\Shell");

    KeyLine rootOnly = ParseKeyLine("[HKEY_CURRENT_USER]");
    EXPECT_EQ(rootOnly.root, RootKey::CurrentUser);
    EXPECT_EQ(rootOnly.path, "");
}

TEST(KeyLineTest, LinesTheImporterIgnoresGiveNoFields) {
    EXPECT_TRUE(ParseKeyLine("[HKEY_CURRENT_USER\\Software\\Open").ignored);
    EXPECT_TRUE(ParseKeyLine("[ HKEY_CURRENT_USER\\Software]").ignored);
    EXPECT_TRUE(ParseKeyLine("[-").ignored);
    EXPECT_TRUE(ParseKeyLine("[-").isDeletion);
    EXPECT_EQ(ParseKeyLine("[HKEY_CURRENT_USER\\Software\\Open").path, "");

    // The importer reads a key name up to the line's last "]".
    KeyLine bracketed = ParseKeyLine("[HKEY_CURRENT_USER\\Software\\a]b]");
    EXPECT_FALSE(bracketed.ignored);
    EXPECT_EQ(bracketed.path, "Software\\a]b");
}

TEST(RootKeyNameTest, EveryRootHasItsWrittenName) {
    EXPECT_EQ(RootKeyName(RootKey::ClassesRoot), "HKEY_CLASSES_ROOT\\");
    EXPECT_EQ(RootKeyName(RootKey::CurrentUser), "HKEY_CURRENT_USER\\");
    EXPECT_EQ(RootKeyName(RootKey::LocalMachine), "HKEY_LOCAL_MACHINE\\");
    EXPECT_EQ(RootKeyName(RootKey::Users), "HKEY_USERS\\");
    EXPECT_EQ(RootKeyName(RootKey::PerformanceData), "HKEY_PERFORMANCE_DATA\\");
    EXPECT_EQ(RootKeyName(RootKey::CurrentConfig), "HKEY_CURRENT_CONFIG\\");
    EXPECT_EQ(RootKeyName(RootKey::DynData), "HKEY_DYN_DATA\\");
    EXPECT_EQ(RootKeyName(RootKey::None), "?\\");
}

std::optional<std::string> NameOf(std::string_view line) {
    std::optional<ValueLine> value = ParseValueLine(line);
    return value ? std::optional<std::string>(value->name) : std::nullopt;
}

TEST(ValueLineTest, QuotedNamesAreUnescapedAndOthersAreTheDefault) {
    EXPECT_EQ(NameOf("\"Count\"=dword:00000005"), "Count");
    EXPECT_EQ(NameOf("\"a=b\"=-"), "a=b");
    EXPECT_EQ(NameOf("\"say \\\"hi\\\" \\\\ there\"=\"x\""), "say \"hi\" \\ there");
    EXPECT_EQ(NameOf("  \"Indented\"=\"x\""), "Indented");
    EXPECT_EQ(NameOf("@=\"x\""), "");
    EXPECT_EQ(NameOf("  01,02,03"), "");
    EXPECT_EQ(NameOf("\"\"=\"x\""), "");
    EXPECT_EQ(NameOf("\"@\"=\"x\""), "@");
    EXPECT_FALSE(NameOf("\"never closed=1"));
    EXPECT_FALSE(NameOf("\"ends in escape\\"));
}

TEST(ValueLineTest, DeletionsAreALoneMinusAsTheImporterReadsThem) {
    EXPECT_TRUE(ParseValueLine("\"v\"=-")->isDeletion);
    EXPECT_TRUE(ParseValueLine("\"a=b\"=-")->isDeletion);
    EXPECT_TRUE(ParseValueLine("@=-")->isDeletion);
    EXPECT_TRUE(ParseValueLine("\"v\" = - ; gone")->isDeletion);
    EXPECT_FALSE(ParseValueLine("\"v\"=\"-\"")->isDeletion);
    EXPECT_FALSE(ParseValueLine("\"v\"=-1")->isDeletion);
    EXPECT_FALSE(ParseValueLine("\"v\"=dword:1")->isDeletion);
}

TEST(ValueLineTest, WrittenNamesReadBackWhole) {
    for (std::string name : {"plain", "with blank", "quote\"inside", "back\\slash", "\\\"\\\"",
                             "line\nbreak\r", "\xE9t\xE9", "@"}) {
        std::string line;
        AppendWrittenName(line, name);
        line += "=-";
        EXPECT_EQ(NameOf(line), name) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a name must stay on its line";
    }
    std::string defaultName;
    AppendWrittenName(defaultName, "");
    EXPECT_EQ(defaultName, "@");
}

}  // namespace
}  // namespace claverix::engine
