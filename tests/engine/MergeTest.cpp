#include "engine/Merge.h"

#include <gtest/gtest.h>

#include "engine/Analysis.h"
#include "platform/Unicode.h"
#include "tests/support/TestWorld.h"

namespace claverix::engine {
namespace {

using namespace platform;
using tests::DwordBytes;
using tests::TestWorld;
using tests::WorldKind;

class MergeTest : public ::testing::TestWithParam<WorldKind> {
protected:
    void SetUp() override {
        world_ = GetParam().make();
        archive_ = world_->directory() + "\\Archive";
        undoDirectory_ = archive_ + "\\RegUnDO";
        world_->MakeDirectory(archive_);
        world_->MakeDirectory(undoDirectory_);
        engine_ = std::make_unique<Engine>(Engine{world_->platform(), {"", archive_, "MySig"}});
        world_->SetValue(world_->KeyPath("M"), "v", kRegDword, DwordBytes(5));
        world_->launcher.onExit = world_->Importer();
    }

    std::string FilePath(const std::string& name) const { return world_->directory() + "\\" + name; }

    // Writes and merges a file that sets one value.
    MergeOutcome WriteAndMerge(std::string_view directives, const std::string& name = "cle.reg") {
        world_->WriteFile(FilePath(name), "REGEDIT4\r\n" + std::string(directives) + "[HKEY_CURRENT_USER\\" +
                                              world_->KeyPath("M") + "]\r\n\"v\"=dword:00000009\r\n");
        return Merge(world_->directory(), name);
    }

    MergeOutcome Merge(const std::string& directory, const std::string& name) {
        return MergeRegFile(*engine_, {directory, name}).outcome;
    }

    std::set<std::string> RestorationFiles() { return world_->FilesIn(undoDirectory_); }

    // The importer reads a copy of the file beside its restoration file.
    std::string ImporterCommandLine(const std::string& restorationName) const {
        return "regedit /s \"" + undoDirectory_ + "\\" + restorationName + ".tmp\"";
    }

    std::unique_ptr<TestWorld> world_;
    std::unique_ptr<Engine> engine_;
    std::string archive_;
    std::string undoDirectory_;
};

TEST_P(MergeTest, SignedFileIsSavedThenImportedWithoutQuestion) {
    WriteAndMerge("# Sign:MySig\r\n");

    EXPECT_TRUE(world_->prompt.shown().empty());
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-cle.reg"});
    EXPECT_EQ(world_->ReadFile(undoDirectory_ + "\\20260306-142501-cle.reg"),
              "REGEDIT4\r\n\r\n# Sign: MySig\r\n# Undofile\r\n# FileName:20260306-142501-cle.reg\r\n\r\n"
              "\r\n[HKEY_CURRENT_USER\\" +
                  world_->KeyPath("M") + "]\r\n\"v\"=dword:00000005\r\n\r\n" +
                  // What the merge sets, for a later undo: dword 9 and the hash of its bytes.
                  "#~claverix [HKEY_CURRENT_USER\\" + world_->KeyPath("M") +
                  "]\r\n#~claverix \"v\"=4:4:" + "7ccbae8c\r\n");
    ASSERT_EQ(world_->launcher.starts.size(), 1u);
    EXPECT_EQ(world_->launcher.starts[0].application, "C:\\windows\\regedit.exe");
    EXPECT_EQ(world_->launcher.starts[0].commandLine, ImporterCommandLine("20260306-142501-cle.reg"));
    EXPECT_TRUE(world_->launcher.starts[0].waitedFor) << "the import is checked once it has ended";
    EXPECT_TRUE(world_->ReadFile(FilePath("cle.reg"))) << "an ordinary file stays";
}

// A signature and a file name outside the code page: the restoration file
// holds both exactly, as a version 5 file, and reads back signed and unrenamed.
TEST_P(MergeTest, ASignatureAndANameOutsideTheCodePageMakeAVersion5Restoration) {
    engine_->startup.Signature = "\u0141ukasz";
    world_->WriteFile(FilePath("\u0416.reg"),
                      "\xFF\xFE" + Utf16Bytes(u"Windows Registry Editor Version 5.00\r\n"
                                              u"# Sign:\u0141ukasz\r\n[HKEY_CURRENT_USER\\" +
                                              Utf8ToUtf16(world_->KeyPath("M")) + u"]\r\n\"v\"=dword:9\r\n"));
    Merge(world_->directory(), "\u0416.reg");

    std::string restoration = "20260306-142501-\u0416.reg";
    EXPECT_TRUE(
        world_->ReadFile(undoDirectory_ + "\\" + restoration)
            .value_or("")
            .starts_with("\xFF\xFE" + Utf16Bytes(u"Windows Registry Editor Version 5.00\r\n\r\n# Sign: "
                                                 u"\u0141ukasz\r\n# Undofile\r\n# FileName:20260306-"
                                                 u"142501-\u0416.reg\r\n")));
    EXPECT_TRUE(AnalyseRegFile(*engine_, undoDirectory_, restoration)->marks.IsSigned);
    EXPECT_TRUE(world_->prompt.shown().empty()) << "the recorded name is the file's own";

    world_->WriteFile(FilePath("ansi.reg"), "REGEDIT4\r\n# Sign:?ukasz\r\n");
    EXPECT_FALSE(AnalyseRegFile(*engine_, world_->directory(), "ansi.reg")->marks.IsSigned)
        << "the code page's stand-in for a character signs nothing";
}

// What the code page cannot hold makes the restoration file a version 5
// UTF-16 file, which is a restoration file like any other.
TEST_P(MergeTest, AVersion5RestorationFileIsARestorationFileLikeAnyOther) {
    world_->SetValue(world_->KeyPath("\u0416"), "\u03A9", kRegSz, tests::SzBytes("\u4E2D"));
    std::u16string text = u"Windows Registry Editor Version 5.00\r\n# Sign:MySig\r\n[HKEY_CURRENT_USER\\" +
                          platform::Utf8ToUtf16(world_->KeyPath("\u0416")) + u"]\r\n\"\u03A9\"=-\r\n";
    world_->WriteFile(FilePath("cle.reg"), "\xFF\xFE" + platform::Utf16Bytes(text));
    Merge(world_->directory(), "cle.reg");

    std::string restoration = "20260306-142501-cle.reg";
    EXPECT_EQ(
        world_->ReadFile(undoDirectory_ + "\\" + restoration),
        "\xFF\xFE" + platform::Utf16Bytes(u"Windows Registry Editor Version 5.00\r\n\r\n# Sign: MySig\r\n"
                                          u"# Undofile\r\n# FileName:20260306-142501-cle.reg\r\n\r\n"
                                          u"\r\n[HKEY_CURRENT_USER\\" +
                                          platform::Utf8ToUtf16(world_->KeyPath("\u0416")) +
                                          u"]\r\n\"\u03A9\"=\"\u4E2D\"\r\n\r\n"
                                          u"#~claverix [HKEY_CURRENT_USER\\" +
                                          platform::Utf8ToUtf16(world_->KeyPath("%d0%96")) +
                                          u"]\r\n#~claverix \"%ce%a9\"=-\r\n"));
    std::optional<Analysis> analysis = AnalyseRegFile(*engine_, undoDirectory_, restoration);
    EXPECT_TRUE(analysis->marks.IsSigned);
    EXPECT_TRUE(analysis->marks.IsUndoFile);
    EXPECT_EQ(analysis->CommentText, "");
    EXPECT_EQ(CurrentRestoration(*engine_, *analysis).text,
              "\r\n[HKEY_CURRENT_USER\\" + world_->KeyPath("\u0416") + "]\r\n\"\u03A9\"=-\r\n")
        << "the value the merge deleted";
}

TEST_P(MergeTest, UnsignedFileAsksFirstAndAlwaysGetsItsRestorationFile) {
    world_->prompt.AnswerYesNo(false);
    WriteAndMerge("# NoUndo\r\n");
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Ce fichier n'est pas signé. Si vous validez son exécution, le fichier de\r\nrestauration "
              "20260306-142501-cle.reg va être créé dans\r\nle répertoire " +
                  archive_ + "\\RegUndo\r\nVoulez-vous poursuivre ?");
    EXPECT_EQ(world_->prompt.shown()[0].title, "AVERTISSEMENT");
    EXPECT_EQ(world_->prompt.shown()[0].icon, PromptIcon::None);
    EXPECT_TRUE(RestorationFiles().empty()) << "No: nothing written";
    EXPECT_TRUE(world_->launcher.starts.empty()) << "No: nothing imported";

    world_->prompt.AnswerYesNo(true);
    WriteAndMerge("# NoUndo\r\n");
    EXPECT_EQ(RestorationFiles().size(), 1u) << "an unsigned no-restoration mark does not count";
    EXPECT_EQ(world_->launcher.starts.size(), 1u);
}

// Where the mark shows and can be unticked, in the main window; a file
// opened from the shell always gets its restoration file.
TEST_P(MergeTest, SignedNoUndoFileIsImportedWithoutRestorationFileFromTheMainWindowOnly) {
    WriteAndMerge("# Sign:MySig\r\n# NoUndo\r\n");
    EXPECT_EQ(RestorationFiles().size(), 1u);

    MergeRequest fromTheWindow{world_->directory(), "cle.reg"};
    fromTheWindow.honoursNoUndo = true;
    MergeRegFile(*engine_, fromTheWindow);
    EXPECT_TRUE(world_->prompt.shown().empty());
    EXPECT_EQ(RestorationFiles().size(), 1u);
    EXPECT_EQ(world_->launcher.starts.size(), 2u);
}

TEST_P(MergeTest, RestorationFileIsDeletedOnlyOnceTheImporterHasEnded) {
    WriteAndMerge("# Sign:MySig\r\n");
    std::string restoration = "20260306-142501-cle.reg";
    world_->launcher.starts.clear();

    bool presentWhileImporting = false;
    world_->launcher.onExit = [&, import = world_->Importer()] {
        presentWhileImporting = world_->ReadFile(undoDirectory_ + "\\" + restoration).has_value();
        import();
    };
    Merge(undoDirectory_, restoration);

    EXPECT_TRUE(world_->prompt.shown().empty());
    ASSERT_EQ(world_->launcher.starts.size(), 1u);
    std::string redo = "20260306-142501-" + restoration;
    EXPECT_EQ(world_->launcher.starts[0].commandLine, ImporterCommandLine(redo));
    EXPECT_TRUE(world_->launcher.starts[0].waitedFor);
    EXPECT_TRUE(presentWhileImporting);
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{redo})
        << "used once, then gone; what it overwrote is saved in a restoration of its own";
}

TEST_P(MergeTest, ForeignRestorationFileGetsItsOwnRestorationFile) {
    world_->WriteFile(undoDirectory_ + "\\20260101-000000-x.reg",
                      "REGEDIT4\r\n\r\n# Sign: SomeoneElse\r\n# Undofile\r\n# "
                      "FileName:20260101-000000-x.reg\r\n[HKEY_CURRENT_USER\\" +
                          world_->KeyPath("M") + "]\r\n");
    world_->prompt.AnswerYesNo(true);
    Merge(undoDirectory_, "20260101-000000-x.reg");

    EXPECT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-20260101-000000-x.reg"});
    EXPECT_TRUE(world_->launcher.starts[0].waitedFor);
}

TEST_P(MergeTest, MergesWithinOneSecondKeepEveryRestorationFile) {
    WriteAndMerge("# Sign:MySig\r\n");
    WriteAndMerge("# Sign:MySig\r\n");
    WriteAndMerge("# Sign:MySig\r\n");
    WriteAndMerge("# Sign:MySig\r\n", "noextension");

    EXPECT_EQ(RestorationFiles(),
              (std::set<std::string>{"20260306-142501-cle.reg", "20260306-142501-cle (2).reg",
                                     "20260306-142501-cle (3).reg", "20260306-142501-noextension"}));
    auto second = world_->ReadFile(undoDirectory_ + "\\20260306-142501-cle (2).reg");
    ASSERT_TRUE(second);
    EXPECT_NE(second->find("# FileName:20260306-142501-cle (2).reg\r\n"), std::string::npos);
}

TEST_P(MergeTest, NothingIsImportedWhenTheRestorationFileCannotBeWritten) {
    engine_->startup.ArchivePath = world_->directory() + "\\NoArchive";
    WriteAndMerge("# Sign:MySig\r\n");

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_TRUE(world_->prompt.shown()[0].text.starts_with("Erreur "));
    EXPECT_EQ(world_->prompt.shown()[0].title, "Ouverture de 20260306-142501-cle.reg");
    EXPECT_TRUE(world_->launcher.starts.empty());
}

TEST_P(MergeTest, ImporterThatCannotStartIsReportedAndKeepsTheFile) {
    WriteAndMerge("# Sign:MySig\r\n");
    world_->launcher.refuseStarts = ProcessStart::Status::Failed;
    EXPECT_EQ(Merge(undoDirectory_, "20260306-142501-cle.reg"), MergeOutcome::NotStarted);

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Une anomalie s'est produite lors de la fusion du fichier 20260306-142501-cle.reg");
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-cle.reg"})
        << "the merged file stays; the restoration of a merge that never happened goes, and no copy is left";
}

TEST_P(MergeTest, BlockedFilesAreNeitherSavedNorImported) {
    EXPECT_EQ(Merge(world_->directory(), "absent.reg"), MergeOutcome::Blocked);

    EXPECT_EQ(world_->prompt.shown().size(), 1u) << "the file could not be read";
    EXPECT_TRUE(RestorationFiles().empty());
    EXPECT_TRUE(world_->launcher.starts.empty());
}

// The importer of a file that sets a value, adds one, and creates a key with a value of its own.
class ImportCheckTest : public MergeTest {
protected:
    MergeOutcome MergeChanges() {
        world_->WriteFile(FilePath("cle.reg"), "REGEDIT4\r\n# Sign:MySig\r\n" + Key("M") +
                                                   "\r\n\"v\"=dword:00000009\r\n\"w\"=\"neuf\"\r\n" +
                                                   Key("M\\Neu") + "\r\n\"x\"=dword:00000001\r\n");
        return Merge(world_->directory(), "cle.reg");
    }

    std::string Key(std::string_view relative) const {
        return "[HKEY_CURRENT_USER\\" + world_->KeyPath(relative) + "]";
    }

    // The registry as the file found it.
    void ExpectStartState() {
        std::unique_ptr<RegistryKey> key =
            world_->platform().registry.Open(RootKey::CurrentUser, world_->KeyPath("M")).key;
        ASSERT_TRUE(key);
        RegistryValue value;
        EXPECT_EQ(key->QueryValue("v", value), kRegSuccess);
        EXPECT_EQ(value.data, DwordBytes(5));
        EXPECT_EQ(key->QueryValue("w", value), kRegFileNotFound);
        EXPECT_EQ(world_->platform().registry.Open(RootKey::CurrentUser, world_->KeyPath("M\\Neu")).status,
                  kRegFileNotFound);
    }
};

TEST_P(ImportCheckTest, AnImporterStoppedHalfwayIsReportedAndItsMergeUndoneAtOnce) {
    int imports = 0;
    world_->launcher.onExit = [&, part = world_->Importer(2), whole = world_->Importer()] {
        ++imports == 1 ? part() : whole();
    };
    world_->prompt.AnswerYesNo(true);

    EXPECT_EQ(MergeChanges(), MergeOutcome::PartlyTook);

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    const std::string& report = world_->prompt.shown()[0].text;
    EXPECT_EQ(report,
              "Le fichier cle.reg n'a été importé qu'en partie : 1 clé et 2 valeurs ne sont pas comme il "
              "le demande.\r\n    HKEY_CURRENT_USER\\" +
                  world_->KeyPath("M") + "\\\"w\" : valeur non écrite\r\n    HKEY_CURRENT_USER\\" +
                  world_->KeyPath("M\\Neu") + " : clé non créée\r\n    HKEY_CURRENT_USER\\" +
                  world_->KeyPath("M\\Neu") +
                  "\\\"x\" : valeur non écrite\r\n\r\nVoulez-vous annuler cette fusion maintenant, en "
                  "fusionnant son fichier de restauration 20260306-142501-cle.reg ?");
    EXPECT_EQ(world_->prompt.shown()[0].kind, ScriptedPrompt::Kind::Question);
    EXPECT_EQ(world_->launcher.starts.size(), 2u) << "the undo is a merge of the restoration file";
    ExpectStartState();
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-20260306-142501-cle.reg"})
        << "merged in full, the restoration file goes";
}

TEST_P(ImportCheckTest, AnImporterThatWroteNothingIsReportedAndTheRestorationFileStays) {
    world_->launcher.onExit = nullptr;

    EXPECT_EQ(MergeChanges(), MergeOutcome::NothingTook);

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_TRUE(world_->prompt.shown()[0].text.starts_with(
        "Le fichier cle.reg n'a pas été importé : 1 clé et 3 valeurs ne sont pas comme il le demande."));
    EXPECT_EQ(world_->launcher.starts.size(), 1u) << "No: no undo";
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-cle.reg"});
}

TEST_P(ImportCheckTest, AKeyPathTooLongForAMessageIsShortenedInTheMiddle) {
    world_->launcher.onExit = nullptr;
    std::string longKey = "M\\" + std::string(250, 'K') + "\xE9";  // the code page's é
    world_->WriteFile(FilePath("long.reg"), "REGEDIT4\r\n# Sign:MySig\r\n" + Key(longKey) + "\r\n");
    EXPECT_EQ(Merge(world_->directory(), "long.reg"), MergeOutcome::NothingTook);

    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    const std::string& report = world_->prompt.shown()[0].text;
    std::string line = report.substr(report.find("\r\n    ") + 6);
    line = line.substr(0, line.find("\r\n"));
    EXPECT_TRUE(line.starts_with("HKEY_CURRENT_USER\\" + world_->KeyPath("M").substr(0, 20))) << line;
    EXPECT_TRUE(line.ends_with("KKK\u00E9 : cl\u00E9 non cr\u00E9\u00E9e")) << line;
    EXPECT_NE(line.find("K\u2026"), std::string::npos) << line;
    EXPECT_LE(line.size(), 165u);
}

TEST_P(ImportCheckTest, AnImporterThatDidNotStartOrWasRefusedElevationIsNoSuccess) {
    world_->launcher.refuseStarts = ProcessStart::Status::ElevationRefused;
    EXPECT_EQ(MergeChanges(), MergeOutcome::ElevationRefused);
    world_->launcher.refuseStarts = ProcessStart::Status::Failed;
    EXPECT_EQ(MergeChanges(), MergeOutcome::NotStarted);

    ASSERT_EQ(world_->prompt.shown().size(), 2u);
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Le fichier cle.reg n'a pas été importé : l'éditeur du Registre demandait les droits "
              "d'administrateur, qui lui ont été refusés.");
    EXPECT_EQ(world_->prompt.shown()[1].text,
              "Une anomalie s'est produite lors de la fusion du fichier cle.reg");
    ExpectStartState();
}

// The restoration file records what its merge set; merged later, it names
// what has changed since, and the user chooses, No by default.
TEST_P(ImportCheckTest, UndoingALaterChangedValueIsAskedFirst) {
    ASSERT_EQ(MergeChanges(), MergeOutcome::AllTook);
    world_->SetValue(world_->KeyPath("M"), "w", kRegSz, tests::SzBytes("changé depuis"));
    std::string restoration = "20260306-142501-cle.reg";

    EXPECT_EQ(Merge(undoDirectory_, restoration), MergeOutcome::Declined);
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(world_->prompt.shown()[0].kind, ScriptedPrompt::Kind::QuestionDefaultNo);
    EXPECT_EQ(
        world_->prompt.shown()[0].text,
        "Ces valeurs ont été modifiées depuis cette fusion ; les restaurer écrasera ces modifications :\r\n"
        "    HKEY_CURRENT_USER\\" +
            world_->KeyPath("M") + "\\\"w\" : valeur modifiée\r\n\r\nVoulez-vous restaurer quand même ?");
    EXPECT_EQ(world_->launcher.starts.size(), 1u);
    EXPECT_EQ(RestorationFiles().size(), 1u);

    world_->prompt.AnswerYesNo(true);
    EXPECT_EQ(Merge(undoDirectory_, restoration), MergeOutcome::AllTook);
    ExpectStartState();
    EXPECT_EQ(RestorationFiles(), std::set<std::string>{"20260306-142501-" + restoration})
        << "what the undo overwrote is saved";
}

// A merge that took in part and was not undone at once records what took:
// undone later, it finds nothing changed since, and asks nothing.
TEST_P(ImportCheckTest, AMergeTakenInPartAndUndoneLaterAsksNothing) {
    world_->launcher.onExit = world_->Importer(2);
    ASSERT_EQ(MergeChanges(), MergeOutcome::PartlyTook);
    world_->prompt.Clear();
    world_->launcher.onExit = world_->Importer();

    EXPECT_EQ(Merge(undoDirectory_, "20260306-142501-cle.reg"), MergeOutcome::AllTook);
    EXPECT_TRUE(world_->prompt.shown().empty());
    ExpectStartState();
}

// A file creates App\Options under a Vendor key that does not exist, so its
// restoration deletes Vendor whole. What the application keeps there later
// is named before the undo, No by default, and saved by the undo.
TEST_P(ImportCheckTest, AnUndoNeverRemovesUnseenWhatCameLater) {
    world_->WriteFile(FilePath("vendor.reg"), "REGEDIT4\r\n# Sign:MySig\r\n" + Key("Vendor\\App\\Options") +
                                                  "\r\n\"a\"=dword:00000001\r\n");
    ASSERT_EQ(Merge(world_->directory(), "vendor.reg"), MergeOutcome::AllTook);
    world_->SetValue(world_->KeyPath("Vendor\\App\\Settings"), "s", kRegDword, DwordBytes(2));
    world_->SetValue(world_->KeyPath("Vendor\\App\\Options"), "b", kRegDword, DwordBytes(3));
    const std::string restoration = "20260306-142501-vendor.reg";

    EXPECT_EQ(Merge(undoDirectory_, restoration), MergeOutcome::Declined);
    ASSERT_EQ(world_->prompt.shown().size(), 1u);
    EXPECT_EQ(world_->prompt.shown()[0].kind, ScriptedPrompt::Kind::QuestionDefaultNo);
    std::string vendor = "HKEY_CURRENT_USER\\" + world_->KeyPath("Vendor\\App");
    EXPECT_EQ(world_->prompt.shown()[0].text,
              "Ces clés et valeurs ne font pas partie de ce que cette fusion a créé ; les restaurer les "
              "supprimera :\r\n    " +
                  vendor + "\\Options\\\"b\" : valeur créée depuis\r\n    " + vendor +
                  "\\Settings : clé créée depuis\r\n\r\nVoulez-vous les supprimer quand même ?");

    world_->prompt.AnswerYesNo(true);
    EXPECT_EQ(Merge(undoDirectory_, restoration), MergeOutcome::AllTook);
    EXPECT_EQ(world_->platform().registry.Open(RootKey::CurrentUser, world_->KeyPath("Vendor")).status,
              kRegFileNotFound);
    std::optional<std::string> redo = world_->ReadFile(undoDirectory_ + "\\20260306-142501-" + restoration);
    ASSERT_TRUE(redo) << "the undo saved what it removed";
    EXPECT_NE(redo->find(Key("Vendor\\App\\Settings") + "\r\n\"s\"=dword:00000002"), std::string::npos)
        << *redo;
    EXPECT_NE(redo->find("\"b\"=dword:00000003"), std::string::npos) << *redo;
}

INSTANTIATE_TEST_SUITE_P(Worlds, ImportCheckTest, ::testing::ValuesIn(tests::WorldKinds()), tests::WorldName);

INSTANTIATE_TEST_SUITE_P(Worlds, MergeTest, ::testing::ValuesIn(tests::WorldKinds()), tests::WorldName);

// Only the memory registry can refuse a key.
TEST(UncoveredKeysTest, AMergeWhoseRestorationCannotCoverAKeyIsAskedFirstNoByDefault) {
    tests::MemoryWorld world;
    std::string archive = world.directory() + "\\Archive";
    world.MakeDirectory(archive);
    world.MakeDirectory(archive + "\\RegUnDO");
    world.launcher.onExit = world.Importer();
    Engine engine{world.platform(), {"", archive, "MySig"}};
    world.memoryRegistry.RefuseOpen(RootKey::CurrentUser, world.KeyPath("Ferme"), kRegAccessDenied);
    world.memoryRegistry.RefuseOpen(RootKey::CurrentUser, world.KeyPath("Sup\\Fermee"), kRegAccessDenied);
    world.WriteFile(world.directory() + "\\cle.reg",
                    "REGEDIT4\r\n# Sign:MySig\r\n[HKEY_CURRENT_USER\\" + world.KeyPath("Ferme") +
                        "]\r\n\"v\"=\"x\"\r\n[-HKEY_CURRENT_USER\\" + world.KeyPath("Sup") + "]\r\n");

    EXPECT_EQ(MergeRegFile(engine, {world.directory(), "cle.reg"}).outcome, MergeOutcome::Declined);
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(world.prompt.shown()[0].kind, ScriptedPrompt::Kind::QuestionDefaultNo);
    EXPECT_EQ(
        world.prompt.shown()[0].text,
        "Ces clés n'ont pas pu être lues : le fichier de restauration ne les couvrira pas, et annuler la "
        "fusion ne les remettra pas en l'état.\r\n    HKEY_CURRENT_USER\\" +
            world.KeyPath("Ferme") + "\r\n    HKEY_CURRENT_USER\\" + world.KeyPath("Sup\\Fermee") +
            "\r\n\r\nVoulez-vous fusionner quand même ?");
    EXPECT_TRUE(world.launcher.starts.empty());
    EXPECT_TRUE(world.FilesIn(archive + "\\RegUnDO").empty());

    world.prompt.AnswerYesNo(true);
    EXPECT_NE(MergeRegFile(engine, {world.directory(), "cle.reg"}).outcome, MergeOutcome::Declined);
    EXPECT_EQ(world.launcher.starts.size(), 1u);

    // The restoration file keeps what it does not cover, and says it again when merged.
    world.prompt.Clear();
    EXPECT_EQ(MergeRegFile(engine, {archive + "\\RegUnDO", "20260306-142501-cle.reg"}).outcome,
              MergeOutcome::Declined);
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_NE(world.prompt.shown()[0].text.find("    HKEY_CURRENT_USER\\" + world.KeyPath("Sup\\Fermee") +
                                                "\r\n\r\nCe fichier de restauration ne remet donc pas tout"),
              std::string::npos)
        << world.prompt.shown()[0].text;
}

// The merge waits its turn behind another, then works on the bytes it asked
// about: an edit saved in the file while its question is open is not imported.
TEST(MergeTransactionTest, WaitsItsTurnAndImportsTheBytesItAskedAbout) {
    tests::MemoryWorld world;
    std::string undoDirectory = world.directory() + "\\RegUnDO";
    world.MakeDirectory(undoDirectory);
    Engine engine{world.platform(), {"", world.directory(), "MySig"}};
    std::string key = "[HKEY_CURRENT_USER\\" + world.KeyPath("T") + "]\r\n";
    std::string path = world.directory() + "\\cle.reg";
    std::string asked = "REGEDIT4\r\n" + key + "\"v\"=dword:00000001\r\n";
    world.WriteFile(path, asked);
    bool lockedWhileImporting = false;
    world.launcher.onExit = [&, import = world.Importer()] {
        lockedWhileImporting = world.locks.IsHeld("Claverix.Merge");
        import();
    };
    world.locks.heldElsewhere.insert("Claverix.Merge");
    MergeRequest request{world.directory(), "cle.reg"};
    request.preview = [&](const Analysis&) {
        world.WriteFile(path, "REGEDIT4\r\n" + key + "\"v\"=dword:00000002\r\n");
    };
    world.prompt.PressMoreButton();
    world.prompt.AnswerYesNo(true);

    EXPECT_EQ(MergeRegFile(engine, request).outcome, MergeOutcome::AllTook);
    ASSERT_EQ(world.prompt.shown().size(), 2u);
    EXPECT_EQ(world.prompt.shown()[0].kind, ScriptedPrompt::Kind::Notice);
    EXPECT_EQ(world.prompt.shown()[0].text,
              "Une autre fusion est en cours. Le fichier cle.reg sera fusionné dès qu'elle sera terminée.");
    EXPECT_EQ(world.locks.waits, 1);
    EXPECT_TRUE(lockedWhileImporting);
    EXPECT_FALSE(world.locks.IsHeld("Claverix.Merge"));
    RegistryValue value;
    world.platform().registry.Open(RootKey::CurrentUser, world.KeyPath("T")).key->QueryValue("v", value);
    EXPECT_EQ(value.data, DwordBytes(1)) << "the bytes asked about were imported";
    EXPECT_EQ(world.FilesIn(undoDirectory), std::set<std::string>{"20260306-142501-cle.reg"})
        << "no copy left";

    // Shown by a window before the edit, the file is not merged: the window shows it again.
    world.prompt.Clear();
    request = MergeRequest{world.directory(), "cle.reg"};
    request.shownBytes = asked;
    EXPECT_EQ(MergeRegFile(engine, request).outcome, MergeOutcome::FileChanged);
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(world.prompt.shown()[0].text,
              "Le fichier cle.reg a été modifié depuis son affichage : il n'est pas fusionné.");
    EXPECT_EQ(world.launcher.starts.size(), 1u);
}

// Key and value lines the importer passes over are named before an unsigned
// file's merge and count as not taken; a file it would import nothing of is refused.
TEST(MergeTransactionTest, LinesPassedOverAreNamedAndCounted) {
    tests::MemoryWorld world;
    world.MakeDirectory(world.directory() + "\\RegUnDO");
    world.launcher.onExit = world.Importer();
    Engine engine{world.platform(), {"", world.directory(), "MySig"}};
    std::string key = "[HKEY_CURRENT_USER\\" + world.KeyPath("S") + "]\r\n";
    world.WriteFile(world.directory() + "\\cle.reg",
                    "REGEDIT4\r\n" + key + "\"v\"=dword:00000001\r\n\"w\"=dword:0x1\r\n");
    world.prompt.AnswerYesNo(true);

    EXPECT_EQ(MergeRegFile(engine, {world.directory(), "cle.reg"}).outcome, MergeOutcome::PartlyTook);
    ASSERT_EQ(world.prompt.shown().size(), 2u);
    EXPECT_NE(world.prompt.shown()[0].text.find(
                  "\r\nL'éditeur du Registre ignorera ces lignes :\r\n    ligne 4 : nombre dword mal formé : "
                  "ligne ignorée\r\nVoulez-vous poursuivre ?"),
              std::string::npos)
        << world.prompt.shown()[0].text;
    EXPECT_TRUE(
        world.prompt.shown()[1].text.starts_with("Le fichier cle.reg n'a été importé qu'en partie : 0 clé et "
                                                 "1 valeur ne sont pas comme il le demande.\r\n"
                                                 "    ligne 4 : nombre dword mal formé : ligne ignorée"));

    world.prompt.Clear();
    world.WriteFile(world.directory() + "\\rien.reg", "REGEDIT 4\r\n" + key + "\"v\"=dword:00000002\r\n");
    EXPECT_EQ(MergeRegFile(engine, {world.directory(), "rien.reg"}).outcome, MergeOutcome::Blocked);
    ASSERT_EQ(world.prompt.shown().size(), 1u);
    EXPECT_EQ(
        world.prompt.shown()[0].text,
        "Le fichier rien.reg ne peut pas être fusionné : l'éditeur du Registre n'en importerait rien.\r\n"
        "    ligne 1 : pas d'en-tête « REGEDIT4 » ni « Windows Registry Editor Version 5.00 » : rien "
        "n'est importé");
    EXPECT_EQ(world.launcher.starts.size(), 1u);
}

TEST(RestorationFileNameTest, DateTimeAndName) {
    LocalTime time{2026, 3, 6, 14, 25, 1};
    EXPECT_EQ(RestorationFileName(time, "cle.reg", 1), "20260306-142501-cle.reg");
    EXPECT_EQ(RestorationFileName(time, "cle.reg", 2), "20260306-142501-cle (2).reg");
    EXPECT_EQ(RestorationFileName(time, "a.b.reg", 12), "20260306-142501-a.b (12).reg");
    EXPECT_EQ(RestorationFileName({999, 12, 31, 0, 0, 0}, "x", 3), "09991231-000000-x (3)");
}

}  // namespace
}  // namespace claverix::engine
