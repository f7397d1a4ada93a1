#include <windows.h>

#include <algorithm>
#include <future>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/support/RoundTripTest.h"

namespace claverix::e2e {
namespace {

// Answers each window that shows one of the texts with its button, the first
// text found winning; any other window is not answered.
Answering Pressing(std::vector<std::pair<std::string, int>> buttons) {
    return [buttons = std::move(buttons)](const std::string& shown) {
        for (const auto& [text, button] : buttons) {
            if (shown.find(text) != std::string::npos) {
                return button;
            }
        }
        return 0;
    };
}

constexpr char kUnsigned[] = "n'est pas signé";
constexpr char kTookInPart[] = "n'a été importé qu'en partie";
constexpr char kCreatedSince[] = "ne font pas partie de ce que cette fusion a créé";
constexpr char kWaitingItsTurn[] = "Une autre fusion est en cours";

// A merge through claverix: how it ended, and the restoration files it added.
struct Ran {
    RunResult run;
    std::vector<std::string> added;
};

class TransactionTest : public RoundTripTest {
protected:
    void Run(const std::string& path, const Answering& answer, Ran& ran) const {
        std::set<std::string> before = sandbox().RestorationFiles();
        ran = {};
        ASSERT_TRUE(sandbox().Run(path, answer, ran.run));
        std::set<std::string> after = sandbox().RestorationFiles();
        std::ranges::set_difference(after, before, std::back_inserter(ran.added));
    }

    std::string StateText() const { return TreeText(State()); }
    std::string Restored(const std::string& name) const {
        return ReadFileBytes(sandbox().RestorationPath(name));
    }
};

// An undo deletes the keys its merge created: what was added below them
// since is named first, No by default, and saved in the undo's own
// restoration file when the user goes on.
TEST_F(TransactionTest, AnUndoNamesWhatWasAddedSinceUnderAKeyItDeletesAndSavesIt) {
    SetState({{L"", {}}});
    const std::string before = StateText();
    Restoration merged;
    ASSERT_NO_FATAL_FAILURE(Merge({"options.reg", SignedFile(R"([HKEY_CURRENT_USER\{key}\Vendor\App\Options]
"a"="1"
)")},
                                  merged));
    // Added by hand since, below the keys the merge created: a key, and a value beside its own.
    const std::wstring app = std::wstring(key().begin(), key().end()) + L"\\Vendor\\App";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (app + L"\\Settings").c_str(), L"s", REG_SZ, L"x", 4),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, (app + L"\\Options").c_str(), L"later", REG_SZ, L"y", 4),
              ERROR_SUCCESS);
    const std::string later = StateText();

    Ran ran;
    Run(sandbox().RestorationPath(merged.name), Pressing({{kCreatedSince, IDNO}}), ran);
    EXPECT_EQ(ran.run.exitCode, 6u);
    ASSERT_EQ(ran.run.answered.size(), 1u);
    EXPECT_NE(ran.run.answered[0].find("\\Vendor\\App\\Settings"), std::string::npos) << ran.run.answered[0];
    EXPECT_NE(ran.run.answered[0].find("later"), std::string::npos) << ran.run.answered[0];
    EXPECT_EQ(StateText(), later);
    EXPECT_TRUE(ran.added.empty());

    Run(sandbox().RestorationPath(merged.name), Pressing({{kCreatedSince, IDYES}}), ran);
    EXPECT_EQ(ran.run.exitCode, 0u);
    EXPECT_EQ(StateText(), before);
    ASSERT_EQ(ran.added.size(), 1u);
    Restoration redo{ran.added[0], Restored(ran.added[0])};
    EXPECT_NE(redo.text.find("\\Vendor\\App\\Settings]"), std::string::npos) << redo.text;
    EXPECT_NE(redo.text.find("\"later\""), std::string::npos) << redo.text;
    ASSERT_NO_FATAL_FAILURE(Undo(redo));
    EXPECT_EQ(StateText(), later);
}

// Two merges started at once take their turns: the later one saves what the
// earlier one set, and the undos, latest first, give back each state.
TEST_F(TransactionTest, TwoMergesStartedAtOnceTakeTurns) {
    SetState({{L"", {{L"v", Sz(L"original")}}}});
    const std::string original = StateText();
    const std::vector<std::string> data = {"first", "second"};
    std::vector<std::future<std::pair<::testing::AssertionResult, RunResult>>> runs;
    for (const std::string& value : data) {
        std::string path = sandbox().WriteFile(
            value + ".reg", SignedFile("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"" + value + "\"\n"));
        runs.push_back(std::async(std::launch::async, [this, path] {
            RunResult run;
            ::testing::AssertionResult ran =
                sandbox().Run(path, Pressing({{kWaitingItsTurn, kLeaveShown}}), run);
            return std::pair{ran, run};
        }));
    }
    for (auto& run : runs) {
        auto [ran, result] = run.get();
        EXPECT_TRUE(ran);
        EXPECT_EQ(result.exitCode, 0u);
    }
    std::set<std::string> written = sandbox().RestorationFiles();
    ASSERT_EQ(written.size(), 2u);
    std::vector<Restoration> restorations;
    for (const std::string& value : data) {
        auto name = std::ranges::find_if(
            written, [&](const std::string& file) { return file.ends_with("-" + value + ".reg"); });
        ASSERT_NE(name, written.end()) << value;
        restorations.push_back({*name, Restored(*name)});
    }
    auto saves = [&](std::size_t restoration, const std::string& value) {
        return restorations[restoration].text.find("\"v\"=\"" + value + "\"") != std::string::npos;
    };
    // The later merge's restoration holds the earlier one's data, the earlier's the original.
    std::size_t later = saves(0, data[1]) ? 0 : 1;
    std::size_t earlier = 1 - later;
    ASSERT_TRUE(saves(later, data[earlier]) && saves(earlier, "original")) << restorations[0].text << "\n"
                                                                           << restorations[1].text;

    ASSERT_NO_FATAL_FAILURE(Undo(restorations[later]));
    EXPECT_EQ(StateText(),
              TreeText({{L"", {{L"v", Sz(std::wstring(data[earlier].begin(), data[earlier].end()))}}}}));
    ASSERT_NO_FATAL_FAILURE(Undo(restorations[earlier]));
    EXPECT_EQ(StateText(), original);
}

// Only a "#" line is a directive: a ";" line is a comment to the importer,
// whatever it says.
TEST_F(TransactionTest, SemicolonLinesNeitherSignNorSpareTheRestoration) {
    SetState({{L"", {}}});
    Ran ran;
    Run(sandbox().WriteFile("semicolon.reg",
                            "REGEDIT4\r\n; sign: " + std::string(ClaverixSandbox::kSignature) +
                                "\r\n; noundo\r\n\r\n" +
                                WithKey("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"1\"\n")),
        Pressing({{kUnsigned, IDYES}}), ran);
    EXPECT_EQ(ran.run.exitCode, 0u);
    EXPECT_EQ(ran.run.answered.size(), 1u);
    EXPECT_EQ(ran.added.size(), 1u);
}

// The importer passes over a value line it cannot read: a signed file's merge
// says so after the import, naming the line, and ends as taken in part, or
// as nothing taken when it passes over every value line. A file of which it
// would import nothing is refused.
TEST_F(TransactionTest, LinesTheImporterPassesOverCountAsNotTaken) {
    SetState({{L"", {{L"kept", Sz(L"before")}}}});
    const std::string before = StateText();
    const std::string keyLine = "[HKEY_CURRENT_USER\\{key}]\n";
    Ran ran;
    Run(sandbox().WriteFile("header.reg", "REGEDIT 4\r\n# Sign:" + std::string(ClaverixSandbox::kSignature) +
                                              "\r\n\r\n" + WithKey(keyLine + "\"kept\"=\"after\"\n")),
        Pressing({{"ne peut pas être fusionné", IDOK}}), ran);
    EXPECT_EQ(ran.run.exitCode, 7u);
    EXPECT_EQ(ran.run.answered.size(), 1u);
    EXPECT_TRUE(ran.added.empty());
    EXPECT_EQ(StateText(), before);

    // The head takes three lines, the key line the fourth.
    for (const char* passedOver : {"\"w\"=dword:0x1", "\"x\"=\"y\" #note"}) {
        Run(sandbox().WriteFile("skipped.reg", SignedFile(keyLine + "\"good\"=\"1\"\n" + passedOver + "\n")),
            Pressing({{kTookInPart, IDNO}}), ran);
        EXPECT_EQ(ran.run.exitCode, 2u) << passedOver;
        ASSERT_EQ(ran.run.answered.size(), 1u) << passedOver;
        EXPECT_NE(ran.run.answered[0].find("ligne 6 :"), std::string::npos) << ran.run.answered[0];
        EXPECT_EQ(ran.added.size(), 1u) << passedOver;
    }

    Run(sandbox().WriteFile("all skipped.reg", SignedFile(keyLine + "\"w\"=dword:0x1\n\"x\"=\"y\" #note\n")),
        Pressing({{"n'a pas été importé", IDNO}}), ran);
    EXPECT_EQ(ran.run.exitCode, 3u);
    EXPECT_EQ(ran.run.answered.size(), 1u);
}

// Wine starts the registry editor from C:\windows\regedit.exe: while this
// lives the file is elsewhere, and no importer can start.
class ImporterMovedAway {
public:
    ImporterMovedAway() {
        wchar_t windows[MAX_PATH] = {};
        ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
        path_ = std::wstring(windows) + L"\\regedit.exe";
        away_ = path_ + L".away";
        moved_ = ::MoveFileW(path_.c_str(), away_.c_str()) != FALSE;
    }
    ~ImporterMovedAway() {
        if (moved_) {
            ::MoveFileW(away_.c_str(), path_.c_str());
        }
    }
    ImporterMovedAway(const ImporterMovedAway&) = delete;
    ImporterMovedAway& operator=(const ImporterMovedAway&) = delete;

    bool moved() const { return moved_; }

private:
    std::wstring path_;
    std::wstring away_;
    bool moved_ = false;
};

TEST_F(TransactionTest, AnImporterThatCannotStartLeavesNoRestorationFile) {
    SetState({{L"", {{L"v", Sz(L"before")}}}});
    const std::string before = StateText();
    std::string path =
        sandbox().WriteFile("not started.reg", SignedFile("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"after\"\n"));
    Ran ran;
    {
        ImporterMovedAway importer;
        ASSERT_TRUE(importer.moved());
        Run(path, Pressing({{"Une anomalie s'est produite", IDOK}}), ran);
    }
    EXPECT_EQ(ran.run.exitCode, 4u);
    EXPECT_EQ(ran.run.answered.size(), 1u);
    EXPECT_TRUE(ran.added.empty());
    EXPECT_EQ(StateText(), before);
}

// The registry refuses a key name of 300 characters: the record says what
// took, and the undo, declined at once and merged later, finds nothing
// changed since.
TEST_F(TransactionTest, AMergeThatTookInPartIsUndoneLaterWithoutAQuestion) {
    RegistryTree start = {{L"", {}}, {L"A", {{L"v", Sz(L"avant")}}}};
    SetState(start);
    Ran ran;
    Run(sandbox().WriteFile("long key.reg", SignedFile("[HKEY_CURRENT_USER\\{key}\\A]\n\"v\"=\"apr\xE8s\"\n"
                                                       "[HKEY_CURRENT_USER\\{key}\\A\\Neu\\" +
                                                       std::string(300, 'K') + "]\n\"w\"=\"x\"\n")),
        Pressing({{kTookInPart, IDNO}}), ran);
    EXPECT_EQ(ran.run.exitCode, 2u);
    ASSERT_EQ(ran.added.size(), 1u);
    ASSERT_NO_FATAL_FAILURE(Undo({ran.added[0], Restored(ran.added[0])}));
    EXPECT_EQ(StateText(), TreeText(start));
}

// The importer gets the bytes the question was about, whatever the file
// holds by the time the user answers.
TEST_F(TransactionTest, AnEditSavedWhileTheQuestionIsOpenIsNotImported) {
    SetState({{L"", {}}});
    const std::string edited = "REGEDIT4\r\n" + WithKey("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"edited\"\n");
    std::string path = sandbox().WriteFile(
        "edited.reg", "REGEDIT4\r\n" + WithKey("[HKEY_CURRENT_USER\\{key}]\n\"v\"=\"asked\"\n"));
    Ran ran;
    Answering answer = Pressing({{kUnsigned, IDYES}});
    Run(
        path,
        [&](const std::string& shown) {
            int button = answer(shown);
            if (button != 0) {
                sandbox().WriteFile("edited.reg", edited);
            }
            return button;
        },
        ran);
    EXPECT_EQ(ran.run.exitCode, 0u);
    EXPECT_EQ(ran.run.answered.size(), 1u);
    EXPECT_EQ(StateText(), TreeText({{L"", {{L"v", Sz(L"asked")}}}}));
    EXPECT_EQ(ReadFileBytes(path), edited);
}

}  // namespace
}  // namespace claverix::e2e
