#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <commdlg.h>
#include <shlobj.h>
#include <cstring>
#include <filesystem>

#include "platform/win32/Text.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;

// Files dropped from the desktop, as the shell hands them to a window.
HDROP DroppedFiles(const std::vector<std::string>& paths) {
    std::wstring names;
    for (const std::string& path : paths) {
        names += platform::win32::Utf8ToWide(path) + L'\0';
    }
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindowTest, ImportAndDropCopyIntoTheArchiveAskingBeforeReplacing) {
    const std::string outside = world_.root() + "\\dehors";
    std::filesystem::create_directories(outside);
    world_.WriteFile(outside + "\\nouveau.reg", "REGEDIT4\r\n" + Key("N"));
    world_.WriteFile(outside + "\\a.reg", "REGEDIT4\r\n" + Key("Autre"));
    world_.WriteFile(outside + "\\note.txt", "REGEDIT4\r\n");
    // A name the code page cannot hold is taken like any other.
    const std::string cyrillic = "\u043B\u044F\u0448\u0435.reg";
    world_.WriteFile(outside + "\\" + cyrillic, "REGEDIT4\r\n" + Key("L"));
    const std::string archived = "REGEDIT4\r\n# Sign:Testeur\r\n#mon commentaire\r\n";
    world_.WriteFile(RegFile("a.reg"), archived);
    Open();

    // Two files at once, typed in the folder they are in; the one named as an
    // archived file asks, and No keeps the archived one.
    std::wstring folder = AnsiToWide(outside);
    tests::UserThread user(L"Importation de fichiers Reg", [&](HWND dialog) {
        constexpr int kFileNameBox = 0x47C;
        HWND names = ::GetDlgItem(dialog, kFileNameBox);
        ::SendMessageW(names, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        tests::PostClick(dialog, IDOK);
        wchar_t shown[MAX_PATH] = {};
        for (int wait = 0; wait < 500 && folder != shown; ++wait) {
            ::Sleep(10);
            ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(shown));
        }
        ::SendMessageW(names, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\"nouveau.reg\" \"a.reg\""));
        tests::PostClick(dialog, IDOK);
    });
    Command(IDM_ADD_FILES);
    ASSERT_TRUE(user.Found());
    EXPECT_EQ(Read(RegFile("nouveau.reg")), "REGEDIT4\r\n" + Key("N"));
    EXPECT_EQ(ListedFiles(), (std::vector<std::wstring>{L"a.reg", L"nouveau.reg"}));
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_NE(world_.prompt.shown()[0].text.find("a.reg"), std::string::npos);
    EXPECT_EQ(Read(RegFile("a.reg")), archived);

    // Dropped, it asks again.
    world_.prompt.AnswerYesNo(false);
    ::SendMessageW(window_->hwnd(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(DroppedFiles(
                       {outside + "\\a.reg", outside + "\\note.txt", outside + "\\" + cyrillic})),
                   0);
    ASSERT_EQ(world_.prompt.shown().size(), 3u);
    EXPECT_EQ(world_.prompt.shown()[1].title, "AVERTISSEMENT");
    EXPECT_EQ(world_.prompt.shown()[2].text,
              "Ces fichiers n'ont pas été importés :\r\nnote.txt : ce n'est pas un fichier .reg.")
        << "what is not imported is said";
    EXPECT_EQ(Read(RegFile("a.reg")), archived);
    EXPECT_EQ(ListedFiles(),
              (std::vector<std::wstring>{L"a.reg", L"nouveau.reg", L"\u043B\u044F\u0448\u0435.reg"}));

    // Yes replaces the file shown: the window shows and analyses the new one,
    // and the next change of a mark writes the new body, not the old.
    world_.prompt.AnswerYesNo(true);
    ::SendMessageW(window_->hwnd(), WM_DROPFILES,
                   reinterpret_cast<WPARAM>(DroppedFiles({outside + "\\a.reg"})), 0);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("Autre")));
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"Pas de commentaire");
    EXPECT_FALSE(tests::IsChecked(Control(IDC_MAIN_SIGNED)));
    tests::Click(Control(IDC_MAIN_NO_RESTORATION));
    EXPECT_EQ(Read(RegFile("a.reg")), "REGEDIT4\r\n\r\n# NoUndo\r\n# FileName:a.reg\r\n\r\n" + Key("Autre"));
}

}  // namespace
}  // namespace claverix::ui
