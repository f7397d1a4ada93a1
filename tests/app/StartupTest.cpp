#include "app/Startup.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using platform::kRegDword;

TEST(ArgumentsTest, WhatFollowsTheProgramName) {
    EXPECT_EQ(ArgumentsOf("claverix.exe"), "");
    EXPECT_EQ(ArgumentsOf("\"C:\\Mes outils\\claverix.exe\" \"C:\\a b\\cle.reg\""), "\"C:\\a b\\cle.reg\"");
    EXPECT_EQ(ArgumentsOf("claverix.exe C:\\cle.reg"), "C:\\cle.reg");
    EXPECT_EQ(ArgumentsOf("claverix.exe   "), "  ") << "blanks only are not empty";
}

TEST(SplitFileArgumentTest, DirectoryAndName) {
    struct Case {
        std::string_view arguments;
        std::string directory;
        std::string fileName;
    };
    const Case cases[] = {
        {"\"C:\\Reg files\\cle.reg\"", "C:\\Reg files", "cle.reg"},
        {"C:\\Reg files\\cle.reg", "C:\\Reg files", "cle.reg"},
        {"  \"C:\\Reg files\\cle.reg\"  ", "C:\\Reg files", "cle.reg"},
        {"\"cle.reg\"", "D:\\Travail", "cle.reg"},
        {"cle.reg", "D:\\Travail", "cle.reg"},
        {"sub\\cle.reg", "sub", "cle.reg"},
        {"\\cle.reg", "", "cle.reg"},
        {"C:\\Reg\\", "C:\\Reg", ""},
        {"C:\\Reg\\cle.reg\"", "C:\\Reg", "cle.reg"},
        {"\"C:\\Reg\\cle.reg", "C:\\Reg", "cle.reg"},
        {"C:\\Reg\\dit \"oui\".reg", "C:\\Reg", "dit \"oui\".reg"},
        {"  ", "D:\\Travail", ""},
    };
    for (const Case& c : cases) {
        FileArgument file = SplitFileArgument(c.arguments, "D:\\Travail");
        EXPECT_EQ(file.directory, c.directory) << c.arguments;
        EXPECT_EQ(file.fileName, c.fileName) << c.arguments;
    }
}

// Windows whose options dialog runs a scripted action; the main window only counts.
class ScriptedWindows final : public StartupWindows {
public:
    bool ShowOptionsDialog(engine::Engine&) override {
        ++optionsShown;
        return onOptions ? onOptions() : false;
    }
    bool ShowMainWindow(engine::Engine&) override {
        ++mainShown;
        return true;
    }
    void ShowPreview(const std::string& fileName, std::vector<PreviewRow> rows, const std::string&) override {
        previews.push_back({fileName, std::move(rows)});
    }

    std::function<bool()> onOptions;
    int optionsShown = 0;
    int mainShown = 0;
    std::vector<std::pair<std::string, std::vector<PreviewRow>>> previews;
};

class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        world_.environment.executablePath = world_.directory() + "\\claverix.exe";
        iniFile_ = world_.directory() + "\\claverix.Ini";
    }

    void Store(std::string_view key, std::string_view value) {
        EXPECT_FALSE(world_.platform().profile.Write(iniFile_, "Options", key, value).Failed());
    }

    tests::MemoryWorld world_;
    ScriptedWindows windows_;
    std::string iniFile_;
};

TEST_F(StartupTest, FirstStartAsksForTheOptionsAndUsesWhatTheyStored) {
    windows_.onOptions = [&] {
        Store("ArchivePath", "E:\\Nouvelle");
        Store("Signature", "Moi");
        return true;
    };

    std::unique_ptr<engine::Engine> engine = Main(world_.platform(), windows_, "").engine;

    ASSERT_TRUE(engine);
    EXPECT_EQ(windows_.optionsShown, 1);
    EXPECT_EQ(windows_.mainShown, 1);
    EXPECT_EQ(engine->startup.IniFile, iniFile_);
    EXPECT_EQ(engine->startup.ArchivePath, "E:\\Nouvelle");
    EXPECT_EQ(engine->startup.Signature, "Moi");
}

TEST_F(StartupTest, FirstStartEndsWhenTheOptionsCloseWithoutASignature) {
    windows_.onOptions = [&] {
        Store("ArchivePath", "E:\\Nouvelle");
        return true;
    };
    Started started = Main(world_.platform(), windows_, "");
    EXPECT_FALSE(started.engine);
    EXPECT_EQ(started.exitCode, ExitCode::Declined);
    EXPECT_EQ(windows_.optionsShown, 1) << "asked once, not again and again";
    EXPECT_EQ(windows_.mainShown, 0);
}

TEST_F(StartupTest, AStoredArchiveTooLongToBeReadWholeIsSaidAndNotUsed) {
    Store("Signature", "Moi");
    Store("ArchivePath", "D:\\" + std::string(300, 'a'));

    std::unique_ptr<engine::Engine> engine = Main(world_.platform(), windows_, "").engine;

    ASSERT_TRUE(engine);
    EXPECT_EQ(engine->startup.ArchivePath, world_.directory()) << "the program's directory";
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_NE(world_.prompt.shown()[0].text.find(iniFile_ + " dépasse 254 caractères :\r\nD:\\" +
                                                 std::string(57, 'a') + "…\r\n"),
              std::string::npos);
}

TEST_F(StartupTest, ProgramEndsWhenTheOptionsDialogCannotBeShown) {
    EXPECT_FALSE(Main(world_.platform(), windows_, "\"C:\\x\\cle.reg\"").engine);
    EXPECT_EQ(windows_.optionsShown, 1);
    EXPECT_TRUE(world_.prompt.shown().empty()) << "no analysis without a signature";
}

TEST_F(StartupTest, CommandLineFileIsAnalysedAndMergedUnderItsRestoredName) {
    Store("Signature", "MySig");
    Store("ArchivePath", world_.directory());
    world_.MakeDirectory(world_.directory() + "\\RegUnDO");
    ASSERT_FALSE(world_.memoryFiles.ChangeCurrentDirectory(world_.directory()).Failed());
    world_.SetValue(world_.KeyPath("S"), "v", kRegDword, tests::DwordBytes(1));
    world_.WriteFile(world_.directory() + "\\copie.reg",
                     "REGEDIT4\r\n# Sign:MySig\r\n# FileName:cle.reg\r\n[HKEY_CURRENT_USER\\" +
                         world_.KeyPath("S") + "]\r\n\"v\"=dword:2\r\n");
    world_.prompt.AnswerYesNo(true);

    EXPECT_FALSE(Main(world_.platform(), windows_, "copie.reg").engine);

    EXPECT_EQ(windows_.mainShown, 0);
    ASSERT_EQ(world_.launcher.starts.size(), 1u);
    EXPECT_EQ(world_.launcher.starts[0].commandLine,
              "regedit /s \"" + world_.directory() + "\\RegUnDO\\20260306-142501-cle.reg.tmp\"")
        << "a copy of the file, named after its restoration under the restored name";
    EXPECT_EQ(world_.FilesIn(world_.directory() + "\\RegUnDO"),
              std::set<std::string>{"20260306-142501-cle.reg"});
    EXPECT_TRUE(world_.ReadFile(world_.directory() + "\\cle.reg"));
}

// An unsigned file, whose question offers the preview; scripts tell what took by the exit code.
TEST_F(StartupTest, TheCommandLineEndsWithACodeForWhatTheImportDid) {
    Store("Signature", "MySig");
    Store("ArchivePath", world_.directory());
    world_.MakeDirectory(world_.directory() + "\\RegUnDO");
    world_.SetValue(world_.KeyPath("S"), "v", kRegDword, tests::DwordBytes(1));
    world_.WriteFile(
        world_.directory() + "\\cle.reg",
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + world_.KeyPath("S") + "]\r\n\"v\"=dword:2\r\n\"w\"=dword:3\r\n");
    auto merge = [&](std::function<void()> importer) {
        world_.launcher.onExit = std::move(importer);
        world_.prompt.AnswerYesNo(true);  // the merge question; the undo offer is answered No
        ExitCode code = Main(world_.platform(), windows_, "\"" + world_.directory() + "\\cle.reg\"").exitCode;
        world_.SetValue(world_.KeyPath("S"), "v", kRegDword, tests::DwordBytes(1));
        world_.DeleteValue(world_.KeyPath("S"), "w");
        return code;
    };

    world_.prompt.PressMoreButton();
    EXPECT_EQ(merge(world_.Importer()), ExitCode::AllTook);
    ASSERT_EQ(windows_.previews.size(), 1u);
    EXPECT_EQ(windows_.previews[0].first, "cle.reg");
    EXPECT_EQ(PreviewSummary(windows_.previews[0].second),
              "1 valeur ajoutée, 1 modifiée, 0 supprimée, 0 inchangée ; 0 clé créée, 0 supprimée ; 0 ligne "
              "ignorée.");

    EXPECT_EQ(merge(world_.Importer(2)), ExitCode::PartlyTook);
    EXPECT_EQ(merge(nullptr), ExitCode::NothingTook);
    world_.launcher.refuseStarts = platform::ProcessStart::Status::ElevationRefused;
    EXPECT_EQ(merge(nullptr), ExitCode::ElevationRefused);
    world_.launcher.refuseStarts = platform::ProcessStart::Status::Failed;
    EXPECT_EQ(merge(nullptr), ExitCode::NotStarted);
    world_.prompt.AnswerYesNo(false);  // before the merge's own question: that one is then answered No
    EXPECT_EQ(merge(nullptr), ExitCode::Declined);
}

}  // namespace
}  // namespace claverix::app
