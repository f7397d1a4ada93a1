#include "ui/frmSearch/frmSearch.h"

#include <gtest/gtest.h>

#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

using namespace std::string_literals;
using testing::UserThread;

// The file list the dialog searches, in a window of its own.
class ListWindow final : public Window {
public:
    ListWindow() {
        Create({});
        list.Create(*this, 1, {0, 0, 1500, 1500});
    }

    FileList list;
};

class frmSearchTest : public ::testing::Test {
protected:
    frmSearchTest() {
        world_.WriteFile(world_.RegDirectory() + "\\a.reg", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Seul]\r\n");
        world_.WriteFile(world_.RegDirectory() + "\\b.reg", "\xFF\xFE[\0H\0K\0E\0Y\0_\0L\0O\0C\0A\0L\0_\0"s);
        world_.WriteFile(world_.RegDirectory() + "\\c.reg", "[HKEY_LOC\r\nAL_MACHINE]\r\n");
        host_.list.SetDirectory(world_.RegDirectory());
    }

    // Find (Ctrl+F) clears the text first, Find next (F3) does not; `act`
    // plays the user when the dialog shows.
    bool Find(bool next, std::function<void(HWND)> act = {}) {
        if (!next) {
            state_.SearchText.clear();
        }
        std::optional<UserThread> user;
        if (act) {
            user.emplace(L"Recherche", std::move(act), L"ClaverixWindow");
        }
        bool searched = dialog_.ShowModal(host_.hwnd());
        EXPECT_TRUE(!user || user->Found()) << "the dialog did not show";
        return searched;
    }

    // Types `text` and presses OK.
    static std::function<void(HWND)> Typing(std::wstring text) {
        return [text](HWND dialog) {
            ::SendMessageW(::GetDlgItem(dialog, IDC_SEARCH_FIND), WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(text.c_str()));
            testing::PostClick(dialog, IDOK);
        };
    }

    std::size_t NotFoundMessages() const {
        std::size_t count = 0;
        for (const auto& shown : world_.prompt.shown()) {
            count += shown.text == "Chaine non trouvée" && shown.title == "Claverix" &&
                     shown.icon == platform::PromptIcon::None;
        }
        return count;
    }

    testing::WindowWorld world_;
    ListWindow host_;
    SearchState state_;
    frmSearch dialog_{world_.engine(), state_, host_.list};
};

TEST_F(frmSearchTest, FindAndFindNextWalkDownTheList) {
    // Nothing selected: from the top, case ignored, a UTF-16 file by its text.
    EXPECT_TRUE(Find(false, Typing(L"hkey_local")));
    EXPECT_EQ(state_.SearchIndex, 0);
    host_.list.Select(0);
    EXPECT_TRUE(Find(true));
    EXPECT_EQ(state_.SearchIndex, 1);
    // c.reg has the text across two lines: nothing below b.reg matches, twice.
    host_.list.Select(1);
    EXPECT_TRUE(Find(true));
    EXPECT_TRUE(Find(true));
    EXPECT_EQ(state_.SearchIndex, 1);
    EXPECT_EQ(NotFoundMessages(), 2u);
    // From the first entry, what only the first file holds is not found; nor anything below the last.
    host_.list.Select(0);
    EXPECT_TRUE(Find(false, Typing(L"seul")));
    host_.list.Select(2);
    EXPECT_TRUE(Find(false, Typing(L"REGEDIT4")));
    EXPECT_EQ(state_.SearchIndex, 2);
    EXPECT_EQ(NotFoundMessages(), 4u);
}

TEST_F(frmSearchTest, FindAsksAfreshAndAnnulerChangesNothing) {
    std::wstring shownText = L"not shown";
    bool focusInBox = false;
    auto cancel = [&](HWND dialog) {
        shownText = testing::TextOf(::GetDlgItem(dialog, IDC_SEARCH_FIND));
        GUITHREADINFO thread{sizeof thread};
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &thread);
        focusInBox = thread.hwndFocus == ::GetDlgItem(dialog, IDC_SEARCH_FIND);
        ::PostMessageW(::GetDlgItem(dialog, IDC_SEARCH_FIND), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    host_.list.Select(0);
    EXPECT_TRUE(Find(false, Typing(L"machine")));
    EXPECT_EQ(state_.SearchIndex, 2);
    EXPECT_TRUE(dialog_.IsLoaded()) << "hidden after a search, not unloaded";

    EXPECT_FALSE(Find(false, cancel));
    EXPECT_EQ(shownText, L"") << "Find opens with an empty box";
    EXPECT_TRUE(focusInBox);
    EXPECT_FALSE(dialog_.IsLoaded());
    EXPECT_EQ(state_.SearchIndex, 2);

    // Find next after an empty search waits for input like Find.
    EXPECT_TRUE(Find(false, Typing(L"")));
    EXPECT_EQ(state_.SearchIndex, 0) << "the selection when the search started";
    EXPECT_FALSE(Find(true, [](HWND dialog) { testing::PostClick(dialog, IDCANCEL); }));
    // An empty list; a text the code page lacks.
    host_.list.SetDirectory(world_.UndoDirectory());
    EXPECT_TRUE(Find(false, Typing(L"REGEDIT4")));
    host_.list.SetDirectory(world_.RegDirectory());
    EXPECT_TRUE(Find(false, Typing(L"\u4E2D")));
    EXPECT_EQ(state_.SearchIndex, -1);
    EXPECT_EQ(NotFoundMessages(), 2u);
    EXPECT_EQ(world_.prompt.shown().size(), 2u);
}

TEST_F(frmSearchTest, AtEveryDpiEveryTextShowsWhole) {
    std::vector<std::string> cut{"not measured"};
    EXPECT_FALSE(Find(false, [&](HWND dialog) {
        cut = testing::TextsCutShort(dialog);
        testing::PostClick(dialog, IDCANCEL);
    }));
    EXPECT_EQ(cut, std::vector<std::string>{});
}

}  // namespace
}  // namespace claverix::ui
