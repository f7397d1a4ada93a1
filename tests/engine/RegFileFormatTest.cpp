#include "engine/RegFileFormat.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace claverix::engine {
namespace {

using platform::RootKey;

std::vector<std::string> Lines(std::string_view text) {
    LineReader reader(text);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line)) {
        lines.emplace_back(line);
    }
    return lines;
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

TEST(FieldsTest, KeyDeletions) {
    EXPECT_TRUE(IsKeyDeletion("[-HKEY_CLASSES_ROOT\\.reg\\Shell]"));
    EXPECT_TRUE(IsKeyDeletion(" \t[-"));
    EXPECT_FALSE(IsKeyDeletion("[HKEY_CURRENT_USER\\-x]"));
    EXPECT_FALSE(IsKeyDeletion("-[x]"));
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

}  // namespace
}  // namespace claverix::engine
