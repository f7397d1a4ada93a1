#include <gtest/gtest.h>

#include <utility>

#include "tests/ui/MainWindow/MainWindowFixture.h"
#include "ui/SearchDialog/SearchDialogIds.h"

namespace claverix::ui {
namespace {

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
