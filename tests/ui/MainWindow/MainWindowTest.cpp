#include "tests/ui/MainWindow/MainWindowFixture.h"

#include "platform/win32/Text.h"
#include "tests/ui/support/Readability.h"
#include "ui/SearchDialog/SearchDialogIds.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;
using MainWindowAtEveryDpiTest = MainWindowTest;

TEST_F(MainWindowAtEveryDpiTest, EveryTextShowsWhole) {
    Open();
    EXPECT_EQ(tests::TextsCutShort(window_->hwnd()), std::vector<std::string>{});
}

TEST_F(MainWindowTest, EnterPressesTheFocusedButtonAndTheWindowShowsItsIcon) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A"));
    Open();
    EXPECT_NE(::SendMessageW(window_->hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    tests::FocusOn(Control(IDC_MAIN_MERGE));
    tests::PressKey(Control(IDC_MAIN_MERGE), VK_RETURN);
    ASSERT_EQ(world_.prompt.shown().size(), 1u) << "the unsigned file's merge question";
    EXPECT_EQ(world_.prompt.shown()[0].title, "AVERTISSEMENT");
}

TEST_F(MainWindowTest, FindViewAndAboutOpenFromTheirCommands) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A") + "\"v\"=\"1\"\r\n");
    world_.WriteFile(RegFile("b.reg"), "REGEDIT4\r\n" + Key("Cible"));
    world_.WriteFile(RegFile("c.reg"), "REGEDIT4\r\n" + Key("Cible"));
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);

    tests::UserThread searcher(L"Recherche", [](HWND dialog) {
        ::SendMessageW(::GetDlgItem(dialog, IDC_SEARCH_TEXT), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"cible"));
        tests::PostClick(dialog, IDOK);
    });
    Command(IDM_FIND);
    ASSERT_TRUE(searcher.Found());
    EXPECT_EQ(tests::SelectedIndex(list), 1);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("Cible")));
    Command(IDM_FIND_NEXT);
    EXPECT_EQ(tests::SelectedIndex(list), 2) << "the same text, at once, from below the selection";

    std::wstring viewed;
    tests::UserThread viewer(L"Fichier de restauration", [&](HWND window) {
        viewed = tests::TextOf(::GetWindow(window, GW_CHILD));
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    tests::DoubleClick(Control(IDC_MAIN_CONTENT));
    ASSERT_TRUE(viewer.Found());
    // The test's key does not exist: the merge would create it, its restoration delete it.
    EXPECT_EQ(viewed, AnsiToWide("\r\n[-HKEY_CURRENT_USER\\" + world_.key() + "]\r\n"));

    tests::UserThread about(L"À propos de Claverix", [](HWND dialog) { tests::PostClick(dialog, IDOK); });
    Command(IDM_ABOUT);
    EXPECT_TRUE(about.Found());
    EXPECT_TRUE(::IsWindowEnabled(window_->hwnd()));
}

std::pair<DWORD, DWORD> Selection(HWND edit) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

// Where `text` first stands in the box, as a selection of it.
std::pair<DWORD, DWORD> Occurrence(HWND edit, std::wstring_view text) {
    auto at = static_cast<DWORD>(tests::TextOf(edit).find(text));
    return {at, at + static_cast<DWORD>(text.size())};
}

TEST_F(MainWindowTest, FindSelectsWhatItFoundInTheContentAndGoesOnFromTheTop) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A") + Key("cible"));
    // b.reg's content reaches its box in slices; the text sought stands in the last.
    std::string big = Key("Grand");
    while (big.size() < (1u << 20)) {
        big += "\"v" + std::to_string(big.size()) + "\"=\"" + std::string(40, 'x') + "\"\r\n";
    }
    world_.WriteFile(RegFile("b.reg"), "REGEDIT4\r\n" + big + Key("Cible"));
    Open();
    HWND content = Control(IDC_MAIN_CONTENT);
    tests::UserThread searcher(L"Recherche", [](HWND dialog) {
        ::SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, L"CIBLE");
        tests::PostClick(dialog, IDOK);
    });
    Command(IDM_FIND);
    ASSERT_TRUE(searcher.Found());
    EXPECT_EQ(tests::SelectedIndex(Control(IDC_MAIN_FILE_LIST)), 1);
    ui::PumpWaitingMessages();
    EXPECT_EQ(Selection(content), Occurrence(content, L"Cible")) << "once its slice has arrived";
    EXPECT_GT(::SendMessageW(content, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "scrolled to it";

    world_.prompt.AnswerYesNo(true);
    Command(IDM_FIND_NEXT);
    EXPECT_EQ(world_.prompt.shown().size(), 1u) << "asked whether to go on from the top";
    EXPECT_EQ(tests::SelectedIndex(Control(IDC_MAIN_FILE_LIST)), 0);
    EXPECT_EQ(Selection(content), Occurrence(content, L"cible"));
}

}  // namespace
}  // namespace claverix::ui
