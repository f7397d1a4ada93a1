#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <filesystem>

#include "platform/win32/Text.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;

TEST_F(MainWindowTest, ListsTheArchiveAndShowsWhatTheSelectedFileHolds) {
    world_.WriteFile(RegFile("b.reg"),
                     "REGEDIT4\r\n\r\n# Sign:Testeur\r\n# NoUndo\r\n#premier\r\n# second\r\n\r\n" + Key("B") +
                         "\"v\"=\"1\"\r\n");
    world_.WriteFile(RegFile("a10.reg"), "REGEDIT4\r\n");
    world_.WriteFile(RegFile("a2.reg"), "REGEDIT4\r\n" + Key("A") + "\"v\"=dword:00000001\r\n");
    world_.WriteFile(RegFile("notes.txt"), "REGEDIT4\r\n");
    world_.WriteFile(RegFile("b.regx"), "REGEDIT4\r\n");
    std::string signedFile = Read(RegFile("b.reg"));
    Open();

    EXPECT_EQ(ListedFiles(), (std::vector<std::wstring>{L"a2.reg", L"a10.reg", L"b.reg"}));
    EXPECT_EQ(tests::SelectedIndex(Control(IDC_MAIN_FILE_LIST)), 0);
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"Pas de commentaire");
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("A") + "\"v\"=dword:00000001\r\n"));
    EXPECT_FALSE(tests::IsChecked(Control(IDC_MAIN_SIGNED)));
    EXPECT_TRUE(Enabled(IDC_MAIN_SIGNED));

    tests::ClickListItem(Control(IDC_MAIN_FILE_LIST), 2);
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"premier\r\n second\r\n");
    EXPECT_TRUE(tests::IsChecked(Control(IDC_MAIN_SIGNED)));
    EXPECT_TRUE(tests::IsChecked(Control(IDC_MAIN_NO_RESTORATION)));
    EXPECT_EQ(Read(RegFile("b.reg")), signedFile) << "selecting never rewrites";

    std::string program = world_.ProgramDirectory();
    std::string escaped;
    for (char c : program) {
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    }
    EXPECT_EQ(
        Read(program + "\\reg\\Enregistre CLAVERIX.REG"),
        "REGEDIT4\r\n\r\n# sign:Testeur\r\n#Enregistre CLAVERIX comme gestionnaire de fichiers reg par d\xE9"
        "faut\r\n[HKEY_CLASSES_ROOT\\regfile\\shell\\open\\command]\r\n@=\"\\\"" +
            escaped + "\\\\claverix.exe\\\" \\\"%1\\\"\"\r\n\r\n");
    EXPECT_TRUE(world_.prompt.shown().empty());
}

TEST_F(MainWindowTest, AnEmptyOrMissingListLeavesTheWindowUsable) {
    std::filesystem::remove_all(world_.ProgramDirectory() + "\\reg");
    std::filesystem::remove_all(world_.UndoDirectory());
    Open();
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Impossible de créer \"Enregistre CLAVERIX.reg\"");
    world_.prompt.Clear();

    auto expectNothingShown = [&](const char* when) {
        EXPECT_TRUE(ListedFiles().empty()) << when;
        EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"") << when;
        EXPECT_EQ(Shown(IDC_MAIN_CONTENT), L"") << when;
        EXPECT_FALSE(tests::IsChecked(Control(IDC_MAIN_SIGNED))) << when;
        EXPECT_FALSE(tests::IsChecked(Control(IDC_MAIN_NO_RESTORATION))) << when;
        EXPECT_FALSE(Enabled(IDC_MAIN_SIGNED)) << when;
        EXPECT_FALSE(Enabled(IDC_MAIN_NO_RESTORATION)) << when;
    };
    expectNothingShown("registry files");
    Command(IDM_MERGE);
    Command(IDM_SIGN);
    tests::TypeText(Control(IDC_MAIN_COMMENT), L"rien");
    tests::FocusOn(Control(IDC_MAIN_FILE_LIST));
    tests::Click(Control(IDC_MAIN_LIST_MODE));
    expectNothingShown("restoration files");
    EXPECT_TRUE(world_.prompt.shown().empty());
    EXPECT_TRUE(FilesIn(world_.RegDirectory()).empty());
}

TEST_F(MainWindowTest, OnlyAnEntryMergesOnADoubleClickAndACleardViewHasNoRestoration) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A"));
    Open();
    tests::DoubleClick(Control(IDC_MAIN_FILE_LIST));  // the middle of the list, below its one entry
    EXPECT_TRUE(world_.prompt.shown().empty()) << "no merge question";

    std::filesystem::remove(RegFile("a.reg"));
    Command(IDM_REFRESH);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), L"");
    Command(IDM_VIEW_RESTORATION);
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_EQ(world_.prompt.shown()[0].text, "Aucun fichier n'est sélectionné.");
}

TEST_F(MainWindowTest, RestorationFilesHaveTheirOwnList) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n#de a\r\n" + Key("A"));
    const std::string undoName = "20260306-142501-a.reg";
    const std::string undoPath = world_.UndoDirectory() + "\\" + undoName;
    world_.WriteFile(undoPath, "REGEDIT4\r\n\r\n# Sign: Testeur\r\n# Undofile\r\n# FileName:" + undoName +
                                   "\r\n\r\n\r\n" + Key("A"));
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);

    tests::Click(Control(IDC_MAIN_LIST_MODE));
    EXPECT_EQ(Shown(IDC_MAIN_LIST_MODE), L"Fichiers &Restauration");
    EXPECT_FALSE(::IsWindowVisible(Control(IDC_MAIN_SIGNED)));
    EXPECT_FALSE(::IsWindowVisible(Control(IDC_MAIN_NO_RESTORATION)));
    EXPECT_EQ(ListedFiles(), std::vector<std::wstring>{AnsiToWide(undoName)});
    EXPECT_EQ(tests::SelectedIndex(list), -1);
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"de a\r\n") << "the registry file stays in view";
    Command(IDM_MERGE);
    EXPECT_TRUE(world_.prompt.shown().empty()) << "nothing selected, nothing merged";
    EXPECT_EQ(FilesIn(world_.UndoDirectory()).size(), 1u);

    // Leaving the comment box of a restoration file rewrites it, as one
    // still, once the comment has changed; not before.
    tests::ClickListItem(list, 0);
    std::string original = Read(undoPath);
    tests::FocusOn(Control(IDC_MAIN_COMMENT));
    tests::FocusOn(list);
    EXPECT_EQ(Read(undoPath), original);
    tests::FocusOn(Control(IDC_MAIN_COMMENT));
    tests::TypeText(Control(IDC_MAIN_COMMENT), L"mot");
    tests::FocusOn(list);
    EXPECT_EQ(Read(undoPath), "REGEDIT4\r\n\r\n# Sign:Testeur\r\n# NoUndo\r\n# Undofile\r\n# FileName:" +
                                  undoName + "\r\n#mot\r\n\r\n" + Key("A"));

    tests::Click(Control(IDC_MAIN_LIST_MODE));
    EXPECT_EQ(Shown(IDC_MAIN_LIST_MODE), L"Fichiers &REG");
    EXPECT_TRUE(::IsWindowVisible(Control(IDC_MAIN_SIGNED)));
    EXPECT_TRUE(::IsWindowVisible(Control(IDC_MAIN_NO_RESTORATION)));
    EXPECT_EQ(tests::SelectedIndex(list), 0);
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"de a\r\n");
}

}  // namespace
}  // namespace claverix::ui
