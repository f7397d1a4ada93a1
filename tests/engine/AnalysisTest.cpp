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
        engine_ = std::make_unique<Engine>(Engine{world_->platform(), {"", world_->directory(), "MySig"}});
    }

    // "[HKEY_CURRENT_USER\<test key>\relative]" with the given opening.
    std::string Key(std::string_view relative, std::string_view opening = "[") {
        return std::string(opening) + "HKEY_CURRENT_USER\\" + world_->KeyPath(relative) + "]";
    }

    void Analyse(std::string_view text, const std::string& name = "cle.reg") {
        world_->WriteFile(world_->directory() + "\\" + name, text);
        Reanalyse(name);
    }

    // The file as it is on disk, and the restoration a merge would save of it now.
    void Reanalyse(const std::string& name) {
        analysis_ = AnalyseRegFile(*engine_, world_->directory(), name);
        restoration_ = analysis_ ? CurrentRestoration(*engine_, *analysis_) : RestorationText{};
    }

    const Analysis& analysis() const { return *analysis_; }
    const RestorationText& restoration() const { return restoration_; }
    bool blocked() const { return !analysis_ || !analysis_->refusal.empty(); }

    std::unique_ptr<TestWorld> world_;
    std::unique_ptr<Engine> engine_;
    std::optional<Analysis> analysis_;
    RestorationText restoration_;
};

TEST_P(AnalysisTest, ExistingValuesAreSavedAndNewOnesMarkedForDeletion) {
    world_->SetValue(world_->KeyPath("Demo"), "Count", kRegDword, DwordBytes(5));
    world_->SetValue(world_->KeyPath("Demo"), "Gone", kRegSz, SzBytes("old"));

    Analyse("REGEDIT4\r\n\r\n" + Key("Demo") + "\r\n\"Count\"=dword:00000009\r\n\"Fresh\"=\"x\"\r\n" +
            "\"Gone\"=-\r\n");

    EXPECT_EQ(restoration().text, "\r\n" + Key("Demo") + "\r\n\"Count\"=dword:00000005\r\n\"Fresh\"=-\r\n" +
                                      "\"Gone\"=\"old\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(AnalysisTest, MissingKeysAreDeletedFromTheirTopmostMissingAncestor) {
    world_->CreateKey(world_->KeyPath("Existing"));

    Analyse("REGEDIT4\r\n" + Key("Existing\\New\\Sub\\Deeper") + "\r\n\"v\"=\"x\"\r\n" +
            Key("Existing\\New\\Other") + "\r\n" + Key("Existing") + "\r\n");

    std::string deletion = "\r\n" + Key("Existing\\New", "[-") + "\r\n";
    EXPECT_EQ(restoration().text, deletion + deletion + "\r\n" + Key("Existing") + "\r\n");
}

TEST_P(AnalysisTest, KeyDeletionSavesTheWholePresentKey) {
    world_->SetValue(world_->KeyPath("Tree"), "top", kRegBinary, "\x01\x02");
    world_->SetValue(world_->KeyPath("Tree\\Leaf"), "", kRegSz, SzBytes("leaf"));

    Analyse("REGEDIT4\r\n" + Key("Tree", "[-") + "\r\n\"orphan\"=\"x\"\r\n" + Key("Absent", "[-") + "\r\n");

    EXPECT_EQ(restoration().text, "\r\n" + Key("Tree") + "\r\n\"top\"=hex:01,02\r\n\r\n" + Key("Tree\\Leaf") +
                                      "\r\n@=\"leaf\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());
}

TEST_P(AnalysisTest, RootNamesInAnyCaseAndEscapedValueNames) {
    world_->SetValue(world_->KeyPath("Case"), "say \"hi\"\\", kRegDword, DwordBytes(7));

    Analyse("REGEDIT4\r\n[hkey_current_user\\" + world_->KeyPath("Case") +
            "]\r\n\"say \\\"hi\\\"\\\\\"=dword:1\r\n");

    EXPECT_EQ(restoration().text, "\r\n" + Key("Case") + "\r\n\"say \\\"hi\\\"\\\\\"=dword:00000007\r\n");
}

TEST_P(AnalysisTest, ValuesOutsideAnOpenKeyAddNothing) {
    world_->SetValue(world_->KeyPath("Real"), "v", kRegDword, DwordBytes(1));

    Analyse("REGEDIT4\r\n\"before\"=\"x\"\r\n" + Key("Real") +
            "\r\n[HKEY_NOWHERE\\x]\r\n\"after\"=\"x\"\r\n");

    EXPECT_EQ(restoration().text, "\r\n" + Key("Real") + "\r\n");
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

    EXPECT_EQ(restoration().text,
              "\r\n" + Key("Abbr") + "\r\n\"a\"=dword:00000001\r\n\"new\"=-\r\n\"s\"=-\r\n\r\n" +
                  Key("Kept") + "\r\n\r\n" + Key("Kept") + "\r\n\"v\"=dword:00000003\r\n\r\n" +
                  Key("Unclosed") + "\r\n\"v\"=\"u\"\r\n\r\n" + Key("Gone") + "\r\n\r\n" + Key("Gone\\Sub") +
                  "\r\n\"g\"=dword:00000002\r\n\r\n" + Key("Missing", "[-") + "\r\n");
}

TEST_P(AnalysisTest, FlagsCommentHeaderAndContent) {
    Analyse("REGEDIT4\r\n\r\n# Sign:MySig\r\n# NoUndo\r\n#\r\n# two words\r\n" + Key("A") +
            "\r\n@=\"x\"\r\n\r\n" + Key("B", "[-") + "\r\n" + Key("C") + "\r\n");

    EXPECT_TRUE(analysis().marks.IsSigned);
    EXPECT_TRUE(analysis().marks.NoUndo);
    EXPECT_FALSE(analysis().marks.IsUndoFile);
    EXPECT_EQ(analysis().HeaderLine, "REGEDIT4");
    EXPECT_EQ(analysis().CommentText, "\r\n two words\r\n");
    EXPECT_EQ(analysis().ContentText,
              Key("A") + "\r\n@=\"x\"\r\n" + Key("B", "[-") + "\r\n\r\n" + Key("C") + "\r\n");

    // Every analysis is of one file: a file without a header has none.
    Analyse("# Sign:Other\r\n# Sign:  MySig \r\n# Undofile\r\n", "second.reg");
    EXPECT_TRUE(analysis().marks.IsSigned) << "blanks around the signature do not count";
    EXPECT_TRUE(analysis().marks.NoUndo);
    EXPECT_TRUE(analysis().marks.IsUndoFile);
    EXPECT_EQ(analysis().HeaderLine, "");
    EXPECT_EQ(analysis().CommentText, "");
    EXPECT_EQ(analysis().ContentText, "");

    Analyse("# Sign:MySig\r\n# Sign:mysig\r\n", "third.reg");
    EXPECT_FALSE(analysis().marks.IsSigned) << "the last directive decides, letter case counts";
    EXPECT_FALSE(analysis().marks.NoUndo);

    // Only a "#" line whose text after the keyword is the signature signs: a downloaded file's
    // ";" comment, or a "#" line that merely holds the signature among other words, does not,
    // and marks nothing else either.
    Analyse("REGEDIT4\r\n; sign: MySig\r\n; NoUndo\r\n; Undofile\r\n# sign: admin MySig user\r\n" + Key("A") +
                "\r\n; a REGEDIT4 mention\r\n",
            "downloaded.reg");
    EXPECT_FALSE(analysis().marks.IsSigned);
    EXPECT_FALSE(analysis().marks.NoUndo);
    EXPECT_FALSE(analysis().marks.IsUndoFile);
    EXPECT_EQ(analysis().HeaderLine, "REGEDIT4") << "the header is the first line, not a later mention";
    EXPECT_EQ(analysis().ContentText,
              "; sign: MySig\r\n; NoUndo\r\n; Undofile\r\n\r\n" + Key("A") + "\r\n; a REGEDIT4 mention\r\n");
    Analyse("\r\n  \r\nREGEDIT 4\r\n" + Key("A") + "\r\n", "wrong.reg");
    EXPECT_EQ(analysis().HeaderLine, "REGEDIT 4") << "a wrong header is the file's header all the same";
    EXPECT_EQ(
        analysis().refusal,
        "Le fichier wrong.reg ne peut pas être fusionné : l'éditeur du Registre n'en importerait rien.\r\n"
        "    ligne 1 : pas d'en-tête « REGEDIT4 » ni « Windows Registry Editor Version 5.00 » : rien "
        "n'est importé");

    engine_->startup.Signature.clear();
    Analyse("# Sign:\r\n", "fourth.reg");
    EXPECT_FALSE(analysis().marks.IsSigned) << "an empty signature marks no file as the user's";
}

TEST_P(AnalysisTest, EveryLineEndAndEveryByteSurvives) {
    world_->SetValue(world_->KeyPath("Bytes"), "v\u00E9", kRegDword, DwordBytes(4));
    std::string text = "REGEDIT4\r# \x80\xFF\n\r" + Key("Bytes") + "\r\"v\xE9\"=dword:1\r\n" +
                       std::string(1 << 20, '#') + "\r";

    Analyse(text);

    EXPECT_EQ(analysis().CommentText, " \x80\xFF\r\n" + std::string((1 << 20) - 1, '#') + "\r\n");
    EXPECT_EQ(analysis().ContentText, Key("Bytes") + "\r\n\"v\xE9\"=dword:1\r\n");
    EXPECT_EQ(restoration().text, "\r\n" + Key("Bytes") + "\r\n\"v\xE9\"=dword:00000004\r\n");
    EXPECT_EQ(restoration().encoding, TextEncoding::Ansi);

    // The importer reads on past a NUL from wherever its read buffer ends: such a file is shown, not merged.
    Analyse("REGEDIT4\r\n# nul\0 here\r\n"s + Key("Bytes") + "\r\n\"v\xE9\"=dword:1\r\n", "zero.reg");
    EXPECT_EQ(analysis().CommentText, " nul\0 here\r\n"s);
    EXPECT_TRUE(blocked());
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

    EXPECT_EQ(restoration().text, "\r\n" + Key("A") + "\r\n\"bin\"=-\r\n\r\n" + Key("A") +
                                       "\r\n\"v\"=\"old A\"\r\n\"w\"=-\r\n\r\n" + Key("B") +
                                       "\r\n\"v\"=\"old B\"\r\n\"w\"=-\r\n");

    // A file with LF line ends throughout shows and saves every one of its lines.
    Analyse("REGEDIT4\n# Sign:MySig\n#note\n" + Key("B") + "\n\"v\"=dword:1\n", "unix.reg");
    EXPECT_EQ(restoration().text, "\r\n" + Key("B") + "\r\n\"v\"=\"old B\"\r\n");
    EXPECT_EQ(analysis().HeaderLine, "REGEDIT4");
    EXPECT_EQ(analysis().CommentText, "note\r\n");
    EXPECT_EQ(analysis().ContentText, Key("B") + "\r\n\"v\"=dword:1\r\n");
    EXPECT_TRUE(analysis().marks.IsSigned);
}

TEST_P(AnalysisTest, DeletedNamesAreSavedUnderTheirStoredSpelling) {
    world_->SetValue(world_->KeyPath("Sub\\Deep"), "Val", kRegDword, DwordBytes(1));
    world_->SetValue(world_->KeyPath("A"), "Val", kRegDword, DwordBytes(2));

    Analyse("REGEDIT4\r\n" + Key("SUB", "[-") + "\r\n" + Key("A") + "\r\n\"VAL\"=-\r\n\"NEW\"=-\r\n");

    EXPECT_EQ(restoration().text, "\r\n" + Key("Sub") + "\r\n\r\n" + Key("Sub\\Deep") +
                                      "\r\n\"Val\"=dword:00000001\r\n\r\n" + Key("A") +
                                      "\r\n\"Val\"=dword:00000002\r\n\"NEW\"=-\r\n");
}

TEST_P(AnalysisTest, UnreadableFilesAreReportedAndBlockTheImport) {
    Reanalyse("absent.reg");

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_TRUE(world_->prompt.shown()[0].text.starts_with("Erreur "));
    EXPECT_EQ(world_->prompt.shown()[0].title, "Ouverture de " + world_->directory() + "\\absent.reg");
    EXPECT_TRUE(blocked());
    EXPECT_EQ(restoration().text, "");
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
    EXPECT_FALSE(blocked());
    EXPECT_EQ(analysis().Encoding(), TextEncoding::Utf16);
    EXPECT_EQ(analysis().HeaderLine, "Windows Registry Editor Version 5.00");
    EXPECT_EQ(restoration().encoding, TextEncoding::Ansi) << "everything fits the code page";
    EXPECT_EQ(restoration().text, "\r\n" + Key("Wide") + "\r\n\"\xE9t\xE9\"=dword:00000002\r\n");

    // Characters outside the code page in a key, a name and a comment: shown and saved exactly.
    world_->SetValue(world_->KeyPath("\u4E2D"), "\u0416\U0001F600", kRegSz, SzBytes("\u03A9"));
    Analyse(Utf16File(u"REGEDIT4\r\n# \u2192 \xD800\r\n[HKEY_CURRENT_USER\\" + key +
                      u"\\\u4E2D]\r\n\"\u0416\U0001F600\"=\"x\"\r\n"),
            "foreign.reg");
    EXPECT_FALSE(blocked()) << "a lone surrogate in a comment blocks nothing";
    EXPECT_EQ(analysis().CommentText, " \u2192 \uFFFD\r\n");
    EXPECT_EQ(analysis().ContentText, Key("\u4E2D") + "\r\n\"\u0416\U0001F600\"=\"x\"\r\n");
    EXPECT_EQ(restoration().encoding, TextEncoding::Utf16);
    EXPECT_EQ(restoration().text, "\r\n" + Key("\u4E2D") + "\r\n\"\u0416\U0001F600\"=\"\u03A9\"\r\n");
    EXPECT_TRUE(world_->prompt.shown().empty());

    // Corrupt UTF-16 is refused: an odd byte count, a lone surrogate where the importer reads.
    Analyse(Utf16File(u"REGEDIT4\r\n") + "x", "odd.reg");
    EXPECT_TRUE(blocked());
    Analyse(Utf16File(u"REGEDIT4\r\n[HKEY_CURRENT_USER\\" + key + u"\\\xDC00]\r\n"), "lone.reg");
    EXPECT_TRUE(blocked());
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
    EXPECT_EQ(analysis().fileName, "copy.reg");
    EXPECT_TRUE(analysis().marks.IsSigned) << "No lets the analysis go on";

    world_->prompt.Clear();
    world_->prompt.AnswerYesNo(true);
    Reanalyse("copy.reg");
    EXPECT_EQ(analysis().fileName, "original.reg");
    EXPECT_TRUE(analysis().marks.IsSigned);
    EXPECT_EQ(analysis().ContentText, Key("R") + "\r\n");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"original.reg"});
    EXPECT_EQ(world_->prompt.shown().size(), 1u) << "the restored name matches: no second question";
}

TEST_P(AnalysisTest, RenameCheckKeepsTheNameWhenTheRecordedOneCannotBeUsed) {
    world_->WriteFile(world_->directory() + "\\taken.reg", "someone else");
    world_->prompt.AnswerYesNo(true);
    Analyse("REGEDIT4\r\n# FileName:taken.reg\r\n" + Key("T") + "\r\n", "mine.reg");

    EXPECT_EQ(analysis().fileName, "mine.reg");
    EXPECT_EQ(analysis().ContentText, Key("T") + "\r\n") << "the analysis goes on";
    EXPECT_EQ(world_->ReadFile(world_->directory() + "\\taken.reg"), "someone else");
    ASSERT_EQ(world_->prompt.shown().size(), 2u);
    EXPECT_EQ(world_->prompt.shown()[1].text,
              "Impossible de rétablir le nom taken.reg : un autre fichier porte déjà ce nom.\r\n"
              "Le fichier garde son nom actuel, mine.reg.");

    world_->prompt.Clear();
    world_->prompt.AnswerYesNo(true);
    Analyse("# FileName:..\\..\\escaped.reg\r\n", "mine.reg");
    EXPECT_EQ(analysis().fileName, "mine.reg");
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
    EXPECT_EQ(analysis().fileName, "Cle.reg");
    EXPECT_EQ(world_->FilesIn(world_->directory()), std::set<std::string>{"Cle.reg"});
}

INSTANTIATE_TEST_SUITE_P(Worlds, AnalysisTest, ::testing::ValuesIn(tests::WorldKinds()), tests::WorldName);

class AnalysisRegistryErrorTest : public ::testing::Test {
protected:
    tests::MemoryWorld world_;
    Engine engine_{world_.platform(), {"", world_.directory(), "MySig"}};

    // The restoration a merge of `text` would save now.
    std::string Restore(std::string_view text) {
        world_.WriteFile(world_.directory() + "\\cle.reg", text);
        return CurrentRestoration(engine_, *AnalyseRegFile(engine_, world_.directory(), "cle.reg"))
            .text;
    }
};

TEST_F(AnalysisRegistryErrorTest, AccessDeniedAndOtherErrorsAreReported) {
    world_.memoryRegistry.RefuseOpen(RootKey::LocalMachine, "Software\\Locked", kRegAccessDenied);
    world_.memoryRegistry.RefuseOpen(RootKey::LocalMachine, "Software\\Broken", 1018);
    world_.memoryRegistry.SetValue(RootKey::LocalMachine, "Software\\Open", "v", kRegDword, DwordBytes(8));

    std::string restoration = Restore(
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
    EXPECT_EQ(restoration, "\r\n[HKEY_LOCAL_MACHINE\\Software\\Open]\r\n\"v\"=dword:00000008\r\n");
}

TEST_F(AnalysisRegistryErrorTest, AbbreviationsInsideAPathDoNotChangeTheRoot) {
    world_.memoryRegistry.SetValue(RootKey::LocalMachine, "Software\\HKCU", "v", kRegDword, DwordBytes(1));
    world_.memoryRegistry.SetValue(RootKey::CurrentUser, "Software\\HKCU", "v", kRegDword, DwordBytes(2));

    EXPECT_EQ(Restore("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\HKCU]\r\n\"v\"=dword:3\r\n"),
              "\r\n[HKEY_LOCAL_MACHINE\\Software\\HKCU]\r\n\"v\"=dword:00000001\r\n");
}

}  // namespace
}  // namespace claverix::engine
