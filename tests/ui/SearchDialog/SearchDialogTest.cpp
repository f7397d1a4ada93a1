#include "ui/SearchDialog/SearchDialog.h"

#include <gtest/gtest.h>

#include "app/Archive.h"
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
        ListDirectory(world_.RegDirectory());
    }

    // The list the search goes through, as the main window lists it; nothing selected.
    void ListDirectory(const std::string& directory) {
        directory_ = directory;
        names_ = app::ListRegFiles(world_.platform(), directory).value_or(std::vector<std::string>{});
        selected_ = -1;
    }

    // Find empties the text first, Find next does not; `user` acts when the dialog shows.
    bool Find(bool next, std::function<void(HWND)> user = {}) {
        state_.SearchText = next ? state_.SearchText : "";
        std::optional<tests::UserThread> thread;
        if (user) {
            thread.emplace(L"Recherche", std::move(user), kWindowClassName);
        }
        bool searched = dialog_.Run(hwnd(), state_, app::ListedFiles{directory_, names_, selected_});
        EXPECT_TRUE(!thread || thread->Found());
        return searched;
    }

    static std::function<void(HWND)> Typing(std::wstring text) {
        return [text](HWND dialog) {
            ::SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, text.c_str());
            tests::PostClick(dialog, IDOK);
        };
    }

    tests::WindowWorld world_;
    std::string directory_;
    std::vector<std::string> names_;
    std::ptrdiff_t selected_ = -1;
    app::SearchState state_;
    SearchDialog dialog_{world_.platform()};
};

TEST_F(SearchDialogAtEveryDpiTest, FindAndFindNextWalkDownTheListThenFromTheTop) {
    EXPECT_TRUE(Find(false, Typing(L"hkey_local")));
    EXPECT_EQ(state_.SearchIndex, 0);
    selected_ = 0;
    EXPECT_TRUE(Find(true));
    EXPECT_EQ(state_.SearchIndex, 1)
        << "UTF-16 files by their text, characters outside the code page included";
    selected_ = 2;
    EXPECT_TRUE(Find(true));
    EXPECT_EQ(state_.SearchIndex, 2) << "d.reg has it across two lines; No at the end of the list";
    selected_ = 3;
    world_.prompt.AnswerYesNo(true);
    EXPECT_TRUE(Find(false, Typing(L"seul")));
    EXPECT_EQ(state_.SearchIndex, 0) << "from the top, once the user agrees";
    ListDirectory(world_.UndoDirectory());
    EXPECT_TRUE(Find(false, Typing(L"H")));
    EXPECT_EQ(state_.SearchIndex, -1);
    ListDirectory(world_.RegDirectory());
    EXPECT_TRUE(Find(false, Typing(L"\u4E2D")));
    EXPECT_EQ(state_.SearchIndex, 1) << "a text the code page lacks, in a UTF-16 file";
    using Kind = platform::ScriptedPrompt::Kind;
    std::vector<Kind> kinds;
    for (const platform::ScriptedPrompt::Shown& shown : world_.prompt.shown()) {
        kinds.push_back(shown.kind);
    }
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Question, Kind::Question, Kind::Message}));
    const platform::ScriptedPrompt::Shown& shown = world_.prompt.shown().back();
    EXPECT_EQ(shown.text, "Chaine non trouvée");
    EXPECT_EQ(shown.title, "Claverix");
    EXPECT_EQ(shown.icon, platform::PromptIcon::None);
}

TEST_F(SearchDialogAtEveryDpiTest, FindAsksAfreshAndAnnulerChangesNothing) {
    std::vector<std::string> cut{"not measured"};
    bool emptyWithFocus = false;
    bool dialogActive = true;
    bool focusInBox = true;
    auto cancel = [&](HWND dialog) {
        cut = tests::TextsCutShort(dialog);
        HWND box = ::GetDlgItem(dialog, IDC_SEARCH_TEXT);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &thread);
        emptyWithFocus = tests::TextOf(box).empty();
        dialogActive = dialogActive && thread.hwndActive == dialog;
        focusInBox = focusInBox && thread.hwndFocus == box;
        ::PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    selected_ = 0;
    EXPECT_TRUE(Find(false, Typing(L"machine")));
    EXPECT_TRUE(dialog_.IsLoaded()) << "hidden, not unloaded";
    EXPECT_EQ(state_.SearchIndex, 3);
    EXPECT_FALSE(Find(false, cancel));
    EXPECT_TRUE(emptyWithFocus);
    EXPECT_FALSE(dialog_.IsLoaded());
    EXPECT_EQ(cut, std::vector<std::string>{});
    EXPECT_EQ(state_.SearchIndex, 3);
    EXPECT_TRUE(Find(false, Typing(L"")));
    EXPECT_EQ(state_.SearchIndex, 0) << "the selection the search started from";
    emptyWithFocus = false;
    EXPECT_FALSE(Find(true, cancel)) << "after an empty search, Find next asks";
    EXPECT_TRUE(emptyWithFocus);
    EXPECT_TRUE(world_.prompt.shown().empty());
    // Where the test's process may not take the foreground, no window of it is active.
    if (!dialogActive) {
        GTEST_SKIP() << "the dialog was not the active window (Wine without a window manager): "
                        "where the focus went is not checked";
    }
    EXPECT_TRUE(focusInBox) << "each time the dialog shows, the focus is in its box";
}

TEST_F(SearchDialogAtEveryDpiTest, EnterOnAnnulerCancelsAndNoIconShows) {
    LONG_PTR classIcon = -1;
    LRESULT windowIcon = -1;
    EXPECT_FALSE(Find(false, [&](HWND dialog) {
        classIcon = ::GetClassLongPtrW(dialog, GCLP_HICON);
        windowIcon = ::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0);
        ::SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, L"hkey");
        tests::PostEnterOn(dialog, IDCANCEL);
    }));
    EXPECT_FALSE(dialog_.IsLoaded());
    EXPECT_EQ(classIcon, 0);
    EXPECT_EQ(windowIcon, 0);
}

}  // namespace
}  // namespace claverix::ui
