#include "engine/Analysis.h"

#include <gtest/gtest.h>

#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using tests::DwordBytes;
using tests::SzBytes;
using tests::TestWorld;
using tests::WorldKind;
using Kind = ScriptedPrompt::Kind;
using namespace std::string_literals;

class AnalysisTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override {
        world_ = GetParam().make();
        engine_ =
            std::make_unique<Engine>(Engine{world_->platform(), {"", world_->directory(), "MySig"}, {}});
    }

    // "[HKEY_CURRENT_USER\<test key>\relative]" with the given opening.
    std::string Key(std::string_view relative, std::string_view opening = "[") {
        return std::string(opening) + "HKEY_CURRENT_USER\\" + world_->KeyPath(relative) + "]";
    }

    void Analyse(std::string_view text, const std::string& name = "cle.reg") {
        world_->WriteFile(world_->directory() + "\\" + name, text);
        AnalyseRegFile(*engine_, world_->directory(), name);
    }

    const EngineState& state() const { return engine_->state; }

    std::unique_ptr<TestWorld> world_;
    std::unique_ptr<Engine> engine_;
};

TEST_P(AnalysisTest, ExistingValuesAreSavedAndNewOnesMarkedForDeletion) {
    world_->SetValue(world_->KeyPath("Demo"), "Count", kRegDword, DwordBytes(5));
    world_->SetValue(world_->KeyPath("Demo"), "Gone", kRegSz, SzBytes("old"));

    Analyse("REGEDIT4\r\n\r\n" + Key("Demo") + "\r\n\"Count\"=dword:00000009\r\n\"Fresh\"=\"x\"\r\n" +
            "\"Gone\"=-\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Demo") + "\r\n\"Count\"=dword:00000005\r\n\"Fresh\"=-\r\n" +
                                       "\"Gone\"=\"old\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(AnalysisTest, MissingKeysAreDeletedFromTheirTopmostMissingAncestor) {
    world_->CreateKey(world_->KeyPath("Existing"));

    Analyse("REGEDIT4\r\n" + Key("Existing\\New\\Sub\\Deeper") + "\r\n\"v\"=\"x\"\r\n" +
            Key("Existing\\New\\Other") + "\r\n" + Key("Existing") + "\r\n");

    std::string deletion = "\r\n" + Key("Existing\\New", "[-") + "\r\n";
    EXPECT_EQ(state().RestoreText, deletion + deletion + "\r\n" + Key("Existing") + "\r\n");
}

TEST_P(AnalysisTest, KeyDeletionSavesTheWholePresentKey) {
    world_->SetValue(world_->KeyPath("Tree"), "top", kRegBinary, "\x01\x02");
    world_->SetValue(world_->KeyPath("Tree\\Leaf"), "", kRegSz, SzBytes("leaf"));

    Analyse("REGEDIT4\r\n" + Key("Tree", "[-") + "\r\n\"orphan\"=\"x\"\r\n" + Key("Absent", "[-") + "\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Tree") + "\r\n\"top\"=hex:01,02\r\n\r\n" +
                                       Key("Tree\\Leaf") + "\r\n@=\"leaf\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(AnalysisTest, RootNamesInAnyCaseAndEscapedValueNames) {
    world_->SetValue(world_->KeyPath("Case"), "say \"hi\"\\", kRegDword, DwordBytes(7));

    Analyse("REGEDIT4\r\n[hkey_current_user\\" + world_->KeyPath("Case") +
            "]\r\n\"say \\\"hi\\\"\\\\\"=dword:1\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Case") + "\r\n\"say \\\"hi\\\"\\\\\"=dword:00000007\r\n");
}

TEST_P(AnalysisTest, ValuesOutsideAnOpenKeyAddNothing) {
    world_->SetValue(world_->KeyPath("Real"), "v", kRegDword, DwordBytes(1));

    Analyse("REGEDIT4\r\n\"before\"=\"x\"\r\n" + Key("Real") +
            "\r\n[HKEY_NOWHERE\\x]\r\n\"after\"=\"x\"\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Real") + "\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty()) << "the importer opens no key for an unknown root";
}

// Another importer may take what Wine's passes over: what such a line names is saved as if it took it.
TEST_P(AnalysisTest, LinesTheImporterPassesOverAreSavedAsIfTaken) {
    world_->SetValue(world_->KeyPath("Abbr"), "a", kRegDword, DwordBytes(1));
    world_->SetValue(world_->KeyPath("Kept"), "v", kRegDword, DwordBytes(3));
    world_->SetValue(world_->KeyPath("Unclosed"), "v", kRegSz, SzBytes("u"));
    world_->SetValue(world_->KeyPath("Gone\\Sub"), "g", kRegDword, DwordBytes(2));
    std::string abbreviated = "[HKCU\\" + world_->KeyPath();

    // After the unclosed key line, Wine's importer writes "v" to Kept, another may write it to Unclosed.
    Analyse("REGEDIT4\r\n" + abbreviated + "\\Abbr]\r\n\"a\"=dword:2\r\n\"new\"=\"x\" #note\r\n" +
            "\"s\"=\"x\\0\"\r\n" + Key("Kept") + "\r\n[HKEY_CURRENT_USER\\" + world_->KeyPath("Unclosed") +
            "  \r\n\"v\"=dword:4\r\n\"never closed=1\r\n[-" + abbreviated.substr(1) + "\\Gone]\r\n" +
            abbreviated + "\\Missing\\Deep]\r\n@=hex(2):zz\r\n");

    EXPECT_EQ(state().RestoreText,
              "\r\n" + Key("Abbr") + "\r\n\"a\"=dword:00000001\r\n\"new\"=-\r\n\"s\"=-\r\n\r\n" +
                  Key("Kept") + "\r\n\r\n" + Key("Kept") + "\r\n\"v\"=dword:00000003\r\n\r\n" +
                  Key("Unclosed") + "\r\n\"v\"=\"u\"\r\n\r\n" + Key("Gone") + "\r\n\r\n" + Key("Gone\\Sub") +
                  "\r\n\"g\"=dword:00000002\r\n\r\n" + Key("Missing", "[-") + "\r\n");
}

TEST_P(AnalysisTest, FlagsCommentHeaderAndContent) {
    Analyse("REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n#\r\n# two words\r\n" + Key("A") +
            "\r\n@=\"x\"\r\n\r\n" + Key("B", "[-") + "\r\n" + Key("C") + "\r\n");

    EXPECT_TRUE(state().IsSigned);
    EXPECT_TRUE(state().NoUndo);
    EXPECT_FALSE(state().IsUndoFile);
    EXPECT_EQ(state().HeaderLine, "REGEDIT4");
    EXPECT_EQ(state().CommentText, "\r\n two words\r\n");
    EXPECT_EQ(state().ContentText,
              Key("A") + "\r\n@=\"x\"\r\n" + Key("B", "[-") + "\r\n\r\n" + Key("C") + "\r\n");

    // The next file has no header: the previous one stays; everything else starts afresh.
    Analyse("# Sign:Other\r\n# Sign:MySig\r\n# Undofile\r\n", "second.reg");
    EXPECT_TRUE(state().IsSigned);
    EXPECT_TRUE(state().NoUndo);
    EXPECT_TRUE(state().IsUndoFile);
    EXPECT_EQ(state().HeaderLine, "REGEDIT4");
    EXPECT_EQ(state().CommentText, "");
    EXPECT_EQ(state().ContentText, "");

    Analyse("# Sign:MySig\r\n# Sign:mysig\r\n", "third.reg");
    EXPECT_FALSE(state().IsSigned) << "the last directive decides, letter case counts";
    EXPECT_FALSE(state().NoUndo);

    engine_->startup.Signature.clear();
    Analyse("# Sign:MySig\r\n", "fourth.reg");
    EXPECT_FALSE(state().IsSigned) << "an empty signature marks no file as the user's";
}

TEST_P(AnalysisTest, EveryLineEndAndEveryByteSurvives) {
    world_->SetValue(world_->KeyPath("Bytes"), "v\u00E9", kRegDword, DwordBytes(4));
    std::string text = "REGEDIT4\r# \x80\xFF\n\r" + Key("Bytes") + "\r\"v\xE9\"=dword:1\r\n" +
                       std::string(1 << 20, '#') + "\r";

    Analyse(text);

    EXPECT_EQ(state().CommentText, " \x80\xFF\r\n" + std::string((1 << 20) - 1, '#') + "\r\n");
    EXPECT_EQ(state().ContentText, Key("Bytes") + "\r\n\"v\xE9\"=dword:1\r\n");
    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Bytes") + "\r\n\"v\xE9\"=dword:00000004\r\n");
    EXPECT_EQ(state().RestoreEncoding, TextEncoding::Ansi);

    // The importer reads on past a NUL from wherever its read buffer ends: such a file is shown, not merged.
    Analyse("REGEDIT4\r\n# nul\0 here\r\n"s + Key("Bytes") + "\r\n\"v\xE9\"=dword:1\r\n", "zero.reg");
    EXPECT_EQ(state().CommentText, " nul\0 here\r\n"s);
    EXPECT_TRUE(state().ImportBlocked);
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(
        world_->prompt.shown()[0].text,
        "Le fichier zero.reg ne peut pas être fusionné : ligne 2, caractère nul : la suite du fichier serait "
        "lue de façon imprévisible.\r\nSa restauration ne pourrait pas être sûre.");
}

TEST_P(AnalysisTest, SavesWhatTheImporterReadsWhereverLinesEnd) {
    world_->SetValue(world_->KeyPath("A"), "v", kRegSz, SzBytes("old A"));
    world_->SetValue(world_->KeyPath("B"), "v", kRegSz, SzBytes("old B"));

    // A lone LF ends a line for the importer. Hex data continued onto a key line is dropped, and
    // so is the key line: "v" below is written to A, and by an importer that reads B's line, to B.
    Analyse("REGEDIT4\r\n" + Key("A") + "\r\n\"bin\"=hex:01,\\\r\n" + Key("B") +
            "\r\n\"v\"=\"new\"\n\"w\"=-\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("A") + "\r\n\"bin\"=-\r\n\r\n" + Key("A") +
                                       "\r\n\"v\"=\"old A\"\r\n\"w\"=-\r\n\r\n" + Key("B") +
                                       "\r\n\"v\"=\"old B\"\r\n\"w\"=-\r\n");

    // A file with LF line ends throughout shows and saves every one of its lines.
    Analyse("REGEDIT4\n# Sign:MySig\n#note\n" + Key("B") + "\n\"v\"=dword:1\n", "unix.reg");
    EXPECT_EQ(state().RestoreText, "\r\n" + Key("B") + "\r\n\"v\"=\"old B\"\r\n");
    EXPECT_EQ(state().HeaderLine, "REGEDIT4");
    EXPECT_EQ(state().CommentText, "note\r\n");
    EXPECT_EQ(state().ContentText, Key("B") + "\r\n\"v\"=dword:1\r\n");
    EXPECT_TRUE(state().IsSigned);
}

TEST_P(AnalysisTest, DeletedNamesAreSavedUnderTheirStoredSpelling) {
    world_->SetValue(world_->KeyPath("Sub\\Deep"), "Val", kRegDword, DwordBytes(1));
    world_->SetValue(world_->KeyPath("A"), "Val", kRegDword, DwordBytes(2));

    Analyse("REGEDIT4\r\n" + Key("SUB", "[-") + "\r\n" + Key("A") + "\r\n\"VAL\"=-\r\n\"NEW\"=-\r\n");

    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Sub") + "\r\n\r\n" + Key("Sub\\Deep") +
                                       "\r\n\"Val\"=dword:00000001\r\n\r\n" + Key("A") +
                                       "\r\n\"Val\"=dword:00000002\r\n\"NEW\"=-\r\n");
}

TEST_P(AnalysisTest, UnreadableFilesAreReportedAndBlockTheImport) {
    AnalyseRegFile(*engine_, world_->directory(), "absent.reg");

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_TRUE(world_->prompt.shown()[0].text.starts_with("Erreur "));
    EXPECT_EQ(world_->prompt.shown()[0].title, "Ouverture de " + world_->directory() + "\\absent.reg");
    EXPECT_TRUE(state().ImportBlocked);
    EXPECT_EQ(state().RestoreText, "");
}

std::string Utf16File(std::u16string_view text) {
    return "\xFF\xFE" + platform::Utf16Bytes(text);
}

TEST_P(AnalysisTest, UnicodeFilesAreAnalysedInUnicode) {
    world_->SetValue(world_->KeyPath("Wide"), "\u00E9t\u00E9", kRegDword, DwordBytes(2));
    std::u16string key = platform::Utf8ToUtf16(world_->KeyPath());
    Analyse(Utf16File(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + key +
                      u"\\Wide]\r\n\"\u00E9t\u00E9\"=dword:1\r\n"),
            "wide.reg");
    EXPECT_FALSE(state().ImportBlocked);
    EXPECT_EQ(state().Encoding, TextEncoding::Utf16);
    EXPECT_EQ(state().HeaderLine, "Windows Registry Editor Version 5.00");
    EXPECT_EQ(state().RestoreEncoding, TextEncoding::Ansi) << "everything fits the code page";
    EXPECT_EQ(state().RestoreText, "\r\n" + Key("Wide") + "\r\n\"\xE9t\xE9\"=dword:00000002\r\n");

    // Characters outside the code page in a key, a name and a comment: shown and saved exactly.
    world_->SetValue(world_->KeyPath("\u4E2D"), "\u0416\U0001F600", kRegSz, SzBytes("\u03A9"));
    Analyse(Utf16File(u"REGEDIT4\r\n# \u2192 \xD800\r\n[HKEY_CURRENT_USER\\" + key +
                      u"\\\u4E2D]\r\n\"\u0416\U0001F600\"=\"x\"\r\n"),
            "foreign.reg");
    EXPECT_FALSE(state().ImportBlocked) << "a lone surrogate in a comment blocks nothing";
    EXPECT_EQ(state().CommentText, " \u2192 \uFFFD\r\n");
    EXPECT_EQ(state().ContentText, Key("\u4E2D") + "\r\n\"\u0416\U0001F600\"=\"x\"\r\n");
    EXPECT_EQ(state().RestoreEncoding, TextEncoding::Utf16);
    EXPECT_EQ(state().RestoreText, "\r\n" + Key("\u4E2D") + "\r\n\"\u0416\U0001F600\"=\"\u03A9\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());

    // Corrupt UTF-16 is refused: an odd byte count, a lone surrogate where the importer reads.
    Analyse(Utf16File(u"REGEDIT4\r\n") + "x", "odd.reg");
    EXPECT_TRUE(state().ImportBlocked);
    Analyse(Utf16File(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\" + key + u"\\\xDC00]\r\n"), "lone.reg");
    EXPECT_TRUE(state().ImportBlocked);
    ASSERT_EQ(world_->prompt.shown().size(), 2u);
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Le fichier odd.reg ne peut pas être fusionné : c'est un fichier UTF-16 corrompu, au nombre "
              "d'octets impair.\r\nSa restauration ne pourrait pas être sûre.");
    EXPECT_EQ(world_->prompt.shown()[1].text,
              "Le fichier lone.reg ne peut pas être fusionné : ligne 2, UTF-16 corrompu : demi-caractère "
              "isolé.\r\nSa restauration ne pourrait pas être sûre.");
}

TEST_P(AnalysisTest, RenameCheckOffersTheRecordedNameBack) {
    std::string text = "REGEDIT4\r\n# FileName:original.reg\r\n# Sign:MySig\r\n" + Key("R") + "\r\n";

    world_->prompt.AnswerYesNo(false);
    Analyse(text, "copy.reg");
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Le fichier copy.reg a été renommé depuis sa dernière utilisation. \r\n"
              "Voulez-vous rétablir le nom original.reg ?");
    EXPECT_EQ(world_->prompt.shown()[0].title, "AVERTISSEMENT");
    EXPECT_EQ(world_->prompt.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(state().FileName, "copy.reg");
    EXPECT_TRUE(state().IsSigned) << "No lets the analysis go on";

    world_->prompt.Clear();
    world_->prompt.AnswerYesNo(true);
    AnalyseRegFile(*engine_, world_->directory(), "copy.reg");
    EXPECT_EQ(state().FileName, "original.reg");
    EXPECT_TRUE(state().IsSigned);
    EXPECT_EQ(state().ContentText, Key("R") + "\r\n");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"original.reg"});
    EXPECT_EQ(world_->prompt.shown().size(), 1u) << "the restored name matches: no second question";
}

TEST_P(AnalysisTest, RenameCheckKeepsTheNameWhenTheRecordedOneCannotBeUsed) {
    world_->WriteFile(world_->directory() + "\\taken.reg", "someone else");
    world_->prompt.AnswerYesNo(true);
    Analyse("REGEDIT4\r\n# FileName:taken.reg\r\n" + Key("T") + "\r\n", "mine.reg");

    EXPECT_EQ(state().FileName, "mine.reg");
    EXPECT_EQ(state().ContentText, Key("T") + "\r\n") << "the analysis goes on";
    EXPECT_EQ(world_->ReadFile(world_->directory() + "\\taken.reg"), "someone else");
    ASSERT_EQ(world_->prompt.shown().size(), 2u);
    EXPECT_EQ(world_->prompt.shown()[1].text,
              "Impossible de rétablir le nom taken.reg : un autre fichier porte déjà ce nom.\r\n"
              "Le fichier garde son nom actuel, mine.reg.");

    world_->prompt.Clear();
    world_->prompt.AnswerYesNo(true);
    Analyse("# FileName:..\\..\\escaped.reg\r\n", "mine.reg");
    EXPECT_EQ(state().FileName, "mine.reg");
    ASSERT_EQ(world_->prompt.shown().size(), 2u);
    EXPECT_EQ(world_->prompt.shown()[1].text,
              "Impossible de rétablir le nom ..\\..\\escaped.reg : ce n'est pas un nom de fichier valide.\r\n"
              "Le fichier garde son nom actuel, mine.reg.");
    EXPECT_EQ(world_->FilesIn(world_->directory()), (std::set<std::string>{"mine.reg", "taken.reg"}));
}

TEST_P(AnalysisTest, RenameCheckHonoursLetterCase) {
    world_->prompt.AnswerYesNo(true);
    Analyse("# FileName:Cle.reg\r\n", "cle.reg");

    EXPECT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(state().FileName, "Cle.reg");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"Cle.reg"});
}

INSTANTIATE_TEST_SUITE_P(Worlds, AnalysisTest, ::testing::ValuesIn(tests::WorldKinds()), tests::WorldName);

class AnalysisRegistryErrorTest : public ::testing::Test {
protected:
    tests::MemoryWorld world_;
    Engine engine_{world_.platform(), {"", world_.directory(), "MySig"}, {}};

    void Analyse(std::string_view text) {
        world_.WriteFile(world_.directory() + "\\cle.reg", text);
        AnalyseRegFile(engine_, world_.directory(), "cle.reg");
    }
};

TEST_F(AnalysisRegistryErrorTest, AccessDeniedAndOtherErrorsAreReported) {
    world_.memoryRegistry.RefuseOpen(RootKey::LocalMachine, "Software\\Locked", kRegAccessDenied);
    world_.memoryRegistry.RefuseOpen(RootKey::LocalMachine, "Software\\Broken", 1018);
    world_.memoryRegistry.SetValue(RootKey::LocalMachine, "Software\\Open", "v", kRegDword, DwordBytes(8));

    Analyse(
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Locked]\r\n\"a\"=\"1\"\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Broken]\r\n\"b\"=\"2\"\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Open]\r\n\"v\"=dword:9\r\n");

    const auto& shown = world_.prompt.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text,
              "Vous n'avez pas accès à la base de registre. L'opération d'analyse est interrompue");
    EXPECT_EQ(shown[0].title, "Claverix");
    EXPECT_EQ(shown[1].text, "Erreur 1018 à la lecture de la clé HKEY_LOCAL_MACHINE\\Software\\Broken")
        << "\"a\", the latest value read, belongs to another key";
    EXPECT_EQ(engine_.state.RestoreText,
              "\r\n[HKEY_LOCAL_MACHINE\\Software\\Open]\r\n\"v\"=dword:00000008\r\n");
}

TEST_F(AnalysisRegistryErrorTest, AbbreviationsInsideAPathDoNotChangeTheRoot) {
    world_.memoryRegistry.SetValue(RootKey::LocalMachine, "Software\\HKCU", "v", kRegDword, DwordBytes(1));
    world_.memoryRegistry.SetValue(RootKey::CurrentUser, "Software\\HKCU", "v", kRegDword, DwordBytes(2));

    Analyse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\HKCU]\r\n\"v\"=dword:3\r\n");

    EXPECT_EQ(engine_.state.RestoreText,
              "\r\n[HKEY_LOCAL_MACHINE\\Software\\HKCU]\r\n\"v\"=dword:00000001\r\n");
}

}  // namespace
}  // namespace claverix::engine
