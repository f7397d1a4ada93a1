#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <shlobj.h>
#include <functional>

#include "platform/win32/Text.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;

// What the user sees of a shortcut menu: where it is, its items, its default.
struct SeenMenu {
    RECT rect{};
    std::vector<std::wstring> captions;
    UINT defaultId = 0;
};

// Acts on the next shortcut menu from a helper thread: looks at it, then
// types `key`, an item's access key or Esc.
std::function<void(HWND)> LookThenType(SeenMenu& seen, WPARAM key) {
    return [&seen, key](HWND menuWindow) {
        ::GetWindowRect(menuWindow, &seen.rect);
        auto menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t caption[128] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
            seen.captions.emplace_back(caption);
        }
        seen.defaultId = ::GetMenuDefaultItem(menu, FALSE, 0);
        ::PostMessageW(menuWindow, key == VK_ESCAPE ? WM_KEYDOWN : WM_CHAR, key, 0);
    };
}

long long RecycleBinItems() {
    SHQUERYRBINFO bin{};
    bin.cbSize = sizeof bin;
    ::SHQueryRecycleBinW(nullptr, &bin);
    return bin.i64NumItems;
}

TEST_F(MainWindowTest, TheShortcutMenuActsOnTheFileItOpensOn) {
    for (const char* name : {"a", "b", "c"}) {
        world_.WriteFile(RegFile(std::string(name) + ".reg"), "REGEDIT4\r\n" + Key(name));
    }
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);
    SeenMenu seen;
    {
        tests::UserThread user(L"", LookThenType(seen, VK_ESCAPE), L"#32768");
        tests::RightClickListItem(list, 1);
        ASSERT_TRUE(user.Found());
    }
    EXPECT_EQ(tests::SelectedIndex(list), 1) << "a right click selects first, as a left click does";
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("b")));
    EXPECT_EQ(seen.captions, (std::vector<std::wstring>{L"&Fusionner", L"A&per\u00E7u de la fusion",
                                                        L"&Voir la restauration", L"&Supprimer\tSuppr", L"",
                                                        L"&Ouvrir l'emplacement du fichier"}));
    EXPECT_EQ(seen.defaultId, static_cast<UINT>(IDM_MERGE)) << "what a double click does";

    // From the keyboard at the selected entry; "S" puts the file in the Recycle Bin, once asked.
    RECT entry{};
    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
    POINT corner{entry.left, entry.bottom};
    ::ClientToScreen(list, &corner);
    long long binned = RecycleBinItems();
    world_.prompt.AnswerYesNo(true);
    {
        tests::UserThread user(L"", LookThenType(seen, 's'), L"#32768");
        ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
        ASSERT_TRUE(user.Found());
    }
    EXPECT_NEAR(seen.rect.left, corner.x, 2);
    EXPECT_NEAR(seen.rect.top, corner.y, 2);
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Voulez-vous mettre le fichier b.reg à la corbeille ?");
    EXPECT_EQ(world_.prompt.shown()[0].title, "AVERTISSEMENT");
    EXPECT_EQ(world_.ReadFile(RegFile("b.reg")), std::nullopt);
    EXPECT_EQ(RecycleBinItems(), binned + 1) << "in the Recycle Bin, not deleted for good";
    EXPECT_EQ(ListedFiles(), (std::vector<std::wstring>{L"a.reg", L"c.reg"}));
    EXPECT_EQ(tests::SelectedIndex(list), -1);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), L"");
    EXPECT_FALSE(Enabled(IDC_MAIN_SIGNED));

    // The Delete key asks the same; No keeps the file.
    tests::ClickListItem(list, 0);
    tests::PressKey(list, VK_DELETE);
    EXPECT_EQ(world_.prompt.shown().size(), 2u);
    EXPECT_NE(world_.ReadFile(RegFile("a.reg")), std::nullopt);

    // A right click below the entries acts on no file: no menu (a timer would
    // close one), the selection stays.
    static bool menuShown;
    menuShown = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        menuShown = true;
        ::EndMenu();
    });
    RECT client{};
    ::GetClientRect(list, &client);
    ::SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, client.bottom - 5));
    ::KillTimer(nullptr, timer);
    EXPECT_FALSE(menuShown);
    EXPECT_EQ(tests::SelectedIndex(list), 0);
}

TEST_F(MainWindowTest, TheShortcutMenuOpensTheFileFolderInExplorer) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A"));
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);
    SeenMenu seen;
    tests::UserThread user(L"", LookThenType(seen, 'o'), L"#32768");
    ::SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), -1);
    ASSERT_TRUE(user.Found());
    HWND explorer = nullptr;
    for (int wait = 0; wait < 1000 && explorer == nullptr; ++wait, ::Sleep(10)) {
        explorer = ::FindWindowW(nullptr, L"Reg");
    }
    ASSERT_NE(explorer, nullptr) << "an Explorer window on the archive's Reg folder";
    ::PostMessageW(explorer, WM_CLOSE, 0, 0);
}

}  // namespace
}  // namespace claverix::ui
