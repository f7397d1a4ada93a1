#include "ui/SearchDialog/SearchDialog.h"

#include <gtest/gtest.h>

#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

using namespace std::string_literals;

class SearchDialogAtEveryDpiTest : public ::testing::Test, public Window {
protected:
    SearchDialogAtEveryDpiTest() {
        for (auto [name, text] : {std::pair{"a", "[HKEY_LOCAL_MACHINE\\Seul]"s},
                                  {"b", "\xFF\xFEH\0K\0E\0Y\0_\0L\0O\0C\0A\0L\0\x2D\x4E"s},
                                  {"c", "\xFF\xFEH\0K\0E\0Y\0_\0L\0O\0C\0A\0L\0!"s},
                                  {"d", "HKEY_LOC\r\nAL_MACHINE"s}}) {
            world_.WriteFile(world_.RegDirectory() + "\\" + name + ".reg", text);
        }
        Create({});
        list_.Create(*this, 1, {});
        list_.SetDirectory(world_.RegDirectory());
    }

    // Find empties the text first, Find next does not; `user` acts when the dialog shows.
    bool Find(bool next, std::function<void(HWND)> user = {}) {
        state_.SearchText = next ? state_.SearchText : "";
        std::optional<tests::UserThread> thread;
        if (user) {
            thread.emplace(L"Recherche", std::move(user), L"ClaverixWindow");
        }
        bool searched = dialog_.ShowModal(hwnd());
        EXPECT_TRUE(!thread || thread->Found());
        return searched;
    }

    static std::function<void(HWND)> Typing(std::wstring text) {
        return [text](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_SEARCH_FIND, text.c_str());
            tests::PostClick(dialog, IDOK);
        };
    }

    tests::WindowWorld world_;
    FileList list_;
    SearchState state_;
    SearchDialog dialog_{world_.engine(), state_, list_};
};

TEST_F(SearchDialogAtEveryDpiTest, FindAndFindNextWalkDownTheListBelowTheSelection) {
    EXPECT_TRUE(Find(false, Typing(L"hkey_local")));
    EXPECT_EQ(state_.SearchIndex, 0);
    list_.Select(0);
    EXPECT_TRUE(Find(true));
    EXPECT_EQ(state_.SearchIndex, 1)
        << "UTF-16 files by their text, characters outside the code page included";
    list_.Select(2);
    EXPECT_TRUE(Find(true) && Find(true)) << "d.reg has it across two lines";
    EXPECT_EQ(state_.SearchIndex, 2);
    list_.Select(0);
    EXPECT_TRUE(Find(false, Typing(L"seul")));
    EXPECT_EQ(state_.SearchIndex, 0) << "the selected entry is not searched";
    list_.Select(3);
    EXPECT_TRUE(Find(false, Typing(L"H")));
    list_.SetDirectory(world_.UndoDirectory());
    EXPECT_TRUE(Find(false, Typing(L"H")));
    EXPECT_EQ(state_.SearchIndex, -1);
    list_.SetDirectory(world_.RegDirectory());
    EXPECT_TRUE(Find(false, Typing(L"\u4E2D")));
    EXPECT_EQ(state_.SearchIndex, 1) << "a text the code page lacks, in a UTF-16 file";
    ASSERT_EQ(world_.prompt.shown().size(), 5u);
    const platform::ScriptedPrompt::Shown& shown = world_.prompt.shown()[4];
    EXPECT_TRUE(shown.text == "Chaine non trouvée" && shown.title == "Claverix" &&
                shown.icon == platform::PromptIcon::None);
}

TEST_F(SearchDialogAtEveryDpiTest, FindAsksAfreshAndAnnulerChangesNothing) {
    std::vector<std::string> cut{"not measured"};
    bool emptyWithFocus = false;
    auto cancel = [&](HWND dialog) {
        cut = tests::TextsCutShort(dialog);
        HWND box = ::GetDlgItem(dialog, IDC_SEARCH_FIND);
        // Where the test's process may not take the foreground, no window of it is active.
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &thread);
        emptyWithFocus =
            tests::TextOf(box).empty() && (thread.hwndActive != dialog || thread.hwndFocus == box);
        ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    list_.Select(0);
    EXPECT_TRUE(Find(false, Typing(L"machine")) && dialog_.IsLoaded()) << "hidden, not unloaded";
    EXPECT_EQ(state_.SearchIndex, 3);
    EXPECT_FALSE(Find(false, cancel));
    EXPECT_TRUE(emptyWithFocus && !dialog_.IsLoaded());
    EXPECT_EQ(cut, std::vector<std::string>{});
    EXPECT_EQ(state_.SearchIndex, 3);
    EXPECT_TRUE(Find(false, Typing(L"")));
    EXPECT_EQ(state_.SearchIndex, 0) << "the selection the search started from";
    emptyWithFocus = false;
    EXPECT_FALSE(Find(true, cancel) || !emptyWithFocus) << "after an empty search, Find next asks";
    EXPECT_TRUE(world_.prompt.shown().empty());
}

}  // namespace
}  // namespace claverix::ui
