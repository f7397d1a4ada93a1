#include "app/Console.h"

#include <gtest/gtest.h>

#include "tests/support/TestWorld.h"

namespace claverix::app {
namespace {

using platform::RegistryView;

// Keeps what the command prints.
struct CapturedOutput final : ConsoleOutput {
    void Out(std::string_view text) override { out += text; }
    void Err(std::string_view text) override { err += text; }
    std::string out;
    std::string err;
};

class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest() {
        world_.environment.executablePath = world_.directory() + "\\claverix.com";
        world_.launcher.onExit = world_.Importer();
    }

    // A file that sets `value` to `data` in the test's key.
    std::string File(const std::string& name, std::string_view value, std::string_view data) {
        std::string path = world_.directory() + "\\" + name;
        world_.WriteFile(path, "REGEDIT4\r\n[HKEY_CURRENT_USER\\" + world_.KeyPath("C") + "]\r\n\"" +
                                   std::string(value) + "\"=" + std::string(data) + "\r\n");
        return path;
    }

    RunReport Run(const std::vector<std::string>& arguments) {
        output_ = {};
        return RunConsoleCommand(world_.platform(), ParseConsoleCommand(arguments), output_);
    }

    tests::MemoryWorld world_;
    CapturedOutput output_;
};

TEST_F(ConsoleTest, ACommandLineNotUnderstoodEndsWith12) {
    EXPECT_EQ(Run({"/whatif"}).exitCode, kExitBadCommandLine);
    EXPECT_EQ(Run({"/undo", "a.reg", "b.reg"}).exitCode, kExitBadCommandLine);
    RunReport report = Run({"/bogus", "a.reg"});
    EXPECT_EQ(report.exitCode, kExitBadCommandLine);
    ASSERT_EQ(report.errors.size(), 1u);
    EXPECT_EQ(report.errors[0], "Option non reconnue : /bogus. Voir claverix /?.");
    EXPECT_EQ(Run({"/?"}).exitCode, 0);
    EXPECT_EQ(output_.out, HelpText());
}

// Without settings, quiet: the archive is the program's directory, every
// file unsigned, and a question nobody answers ends the run, naming its flag.
TEST_F(ConsoleTest, WhatIfVerifyMergeAndUndoWithoutAWindow) {
    std::string file = File("a.reg", "v", "dword:00000001");
    EXPECT_EQ(Run({"/whatif", file}).exitCode, kExitChangesPending);
    EXPECT_TRUE(world_.launcher.starts.empty());
    EXPECT_EQ(Run({"/verify", file}).exitCode, kExitNotApplied);

    RunReport declined = Run({"/quiet", file});
    EXPECT_EQ(declined.exitCode, 6);
    EXPECT_EQ(declined.files.at(0).declinedQuestion, "unsigned-file");
    EXPECT_EQ(declined.files.at(0).answeringFlag, "/yes");

    RunReport merged = Run({"/quiet", "/yes", "/json", file});
    EXPECT_EQ(merged.exitCode, 0);
    EXPECT_EQ(merged.archive, world_.directory());
    EXPECT_TRUE(output_.out.starts_with("{\"schemaVersion\":1,")) << output_.out;
    EXPECT_EQ(Run({"/verify", file}).exitCode, 0);
    EXPECT_EQ(output_.out, "Appliqué\r\n");
    EXPECT_EQ(Run({"/whatif", file}).exitCode, 0);

    // Merged within the same second, the later file is the one /undo:last undoes.
    std::string later = File("b.reg", "w", "dword:00000002");
    ASSERT_EQ(Run({"/quiet", "/yes", later}).exitCode, 0);
    EXPECT_EQ(Run({"/quiet", "/yes", "/undo:last"}).exitCode, 0);
    EXPECT_EQ(Run({"/verify", later}).exitCode, kExitNotApplied);
    EXPECT_EQ(Run({"/verify", file}).exitCode, 0);
}

// Three files, the second of which does not take: the first is undone, the
// third never merged; with /keep-partial, what took stays.
TEST_F(ConsoleTest, ABatchIsUndoneWhenOneFileDoesNotTake) {
    std::string first = File("1.reg", "a", "dword:00000001");
    std::string second = File("2.reg", "b", "dword:0x2");  // a line the importer passes over
    std::string third = File("3.reg", "c", "dword:00000003");

    RunReport report = Run({"/quiet", "/yes", first, second, third});
    EXPECT_EQ(report.exitCode, 3) << "nothing of the second took";
    ASSERT_EQ(report.files.size(), 3u);
    EXPECT_EQ(report.files[0].outcome, "undone");
    EXPECT_EQ(report.files[2].outcome, "not-run");
    EXPECT_EQ(Run({"/verify", first}).exitCode, kExitNotApplied);

    report = Run({"/quiet", "/yes", "/keep-partial", "/log:" + world_.directory() + "\\run.log", first,
                  second, third});
    EXPECT_EQ(report.exitCode, 3);
    EXPECT_EQ(Run({"/verify", first, third}).exitCode, 0);
    std::string log = world_.ReadFile(world_.directory() + "\\run.log").value_or("");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
}

// The 32-bit view: its own importer, recorded in the restoration file, which
// an undo then reads in the same view.
TEST_F(ConsoleTest, TheRegistryViewGoesFromTheMergeToItsUndo) {
    world_.memoryRegistry.view = RegistryView::Bits32;
    std::string file = File("a.reg", "v", "dword:00000001");
    RunReport merged = Run({"/quiet", "/yes", "/reg:32", file});
    ASSERT_EQ(merged.exitCode, 0);
    EXPECT_EQ(merged.registryView, 32);
    EXPECT_EQ(world_.launcher.starts.at(0).application, "C:\\windows\\SysWOW64\\regedit.exe");
    std::string restoration = merged.files.at(0).restorationPath;
    EXPECT_NE(world_.ReadFile(restoration).value_or("").find("#~claverix view 32\r\n"), std::string::npos);

    ConsoleCommand undo = ParseConsoleCommand({"/undo", restoration});
    EXPECT_EQ(ViewOfRun(undo, world_.platform().files, world_.directory()), RegistryView::Bits32);
    world_.memoryRegistry.view = RegistryView::Bits64;
    RunReport refused = Run({"/quiet", "/yes", "/undo", restoration});
    EXPECT_EQ(refused.exitCode, 7) << "a 32-bit restoration is not merged into the 64-bit view";
}

}  // namespace
}  // namespace claverix::app
