#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <commctrl.h>
#include <chrono>

#include "app/Preview.h"
#include "platform/win32/Text.h"
#include "ui/PreviewWindow/PreviewWindowIds.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;

// A merge from the window follows the marks as ticked: unticked, "Pas de
// restauration" no longer spares the restoration, nor "Signé" the question.
TEST_F(MainWindowTest, AMergeFollowsTheMarksAsTicked) {
    world_.WriteFile(RegFile("a.reg"),
                     "REGEDIT4\r\n# Sign:Testeur\r\n# NoUndo\r\n" + Key("A") + "\"v\"=\"1\"\r\n");
    Open();
    tests::Click(Control(IDC_MAIN_NO_RESTORATION));
    Command(IDM_MERGE);
    EXPECT_TRUE(world_.prompt.shown().empty());
    EXPECT_EQ(FilesIn(world_.UndoDirectory()).size(), 1u);

    tests::Click(Control(IDC_MAIN_SIGNED));
    Command(IDM_MERGE);  // answered No
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_TRUE(world_.prompt.shown()[0].text.starts_with("Ce fichier n'est pas signé."))
        << world_.prompt.shown()[0].text;
    EXPECT_EQ(FilesIn(world_.UndoDirectory()).size(), 1u);
}

TEST_F(MainWindowTest, MergingFromTheWindowAndThenItsRestorationPutsTheRegistryBack) {
    const std::string keyA = world_.key() + "\\A";
    const std::string keyB = world_.key() + "\\B";
    ::RegSetKeyValueA(HKEY_CURRENT_USER, keyA.c_str(), "v", REG_SZ, "avant", 6);
    world_.WriteFile(RegFile("f.reg"), "REGEDIT4\r\n" + Key("A") + "\"v\"=\"apr\xE8s\"\r\n");
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);

    // The body gains a key after the selection, saved by ticking "Signé": the
    // merge is of the file as the window shows it, signed, and saves that key too.
    tests::TypeText(Control(IDC_MAIN_CONTENT),
                    AnsiToWide(Key("A") + "\"v\"=\"apr\xE8s\"\r\n" + Key("B") + "\"w\"=\"x\"\r\n"));
    tests::Click(Control(IDC_MAIN_SIGNED));
    tests::DoubleClickListItem(list, 0);
    EXPECT_TRUE(world_.prompt.shown().empty()) << "the file merged is signed: no question";
    std::vector<std::string> restorations = FilesIn(world_.UndoDirectory());
    ASSERT_EQ(restorations.size(), 1u);
    EXPECT_NE(
        Read(world_.UndoDirectory() + "\\" + restorations[0]).find("[-HKEY_CURRENT_USER\\" + keyB + "]\r\n"),
        std::string::npos);
    // The importer runs on its own: the test waits for what it writes.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (RegistryString(keyB, "w") != "x" && std::chrono::steady_clock::now() < deadline) {
        ui::PumpWaitingMessages();
        ::Sleep(20);
    }
    ASSERT_EQ(RegistryString(keyA, "v"), "apr\xE8s");

    // Merging its restoration file waits for the importer, the window answering
    // meanwhile (a timer's messages come through) but taking no input.
    tests::Click(Control(IDC_MAIN_LIST_MODE));
    static HWND mainWindow;
    static int ticksWhileDisabled;
    mainWindow = window_->hwnd();
    ticksWhileDisabled = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 5, [](HWND, UINT, UINT_PTR, DWORD) {
        ticksWhileDisabled += ::IsWindowEnabled(mainWindow) ? 0 : 1;
    });
    tests::DoubleClickListItem(list, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_GT(ticksWhileDisabled, 0);
    EXPECT_TRUE(::IsWindowEnabled(window_->hwnd()));
    EXPECT_EQ(RegistryString(keyA, "v"), "avant");
    EXPECT_EQ(RegistryString(keyB, "w"), std::nullopt);
    std::vector<std::string> redo = FilesIn(world_.UndoDirectory());
    ASSERT_EQ(redo.size(), 1u) << "a merged restoration file goes, and what it undid is saved";
    EXPECT_NE(redo[0], restorations[0]);
    EXPECT_EQ(ListedFiles(), std::vector<std::wstring>{AnsiToWide(redo[0])});
    EXPECT_TRUE(world_.prompt.shown().empty()) << "a restoration file of one's own asks nothing";
}

// The preview opens from the button, the menu and the merge's question, and
// changes nothing. The registry refuses a key name of 300 characters
// (Windows takes 255, Wine a few more): the importer takes the rest of the
// file, the check says so, and Yes undoes it at once. The preview button goes
// where the window is too narrow for it.
TEST_F(MainWindowTest, PreviewMergeThatTookInPartAndItsUndoAtOnce) {
    const std::string keyA = world_.key() + "\\A";
    ::RegSetKeyValueA(HKEY_CURRENT_USER, keyA.c_str(), "v", REG_SZ, "avant", 6);
    world_.WriteFile(RegFile("f.reg"), "REGEDIT4\r\n" + Key("A") + "\"v\"=\"apr\xE8s\"\r\n" +
                                           Key("A\\Neu\\" + std::string(300, 'K')) + "\"w\"=\"x\"\r\n");
    Open();
    std::vector<std::wstring> changes;
    auto previewUser = [&] {
        return std::make_unique<tests::UserThread>(L"Aper\u00E7u de la fusion de f.reg", [&](HWND window) {
            HWND list = ::GetDlgItem(window, IDC_PREVIEW_LIST);
            wchar_t text[64] = {};
            LVITEMW cell{};
            cell.iSubItem = static_cast<int>(app::PreviewColumn::Change);
            cell.pszText = text;
            cell.cchTextMax = 64;
            ::SendMessageW(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&cell));
            changes.push_back(std::to_wstring(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) + L" " + text);
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        });
    };
    ASSERT_TRUE(::IsWindowVisible(Control(IDC_MAIN_PREVIEW)));
    auto user = previewUser();
    tests::Click(Control(IDC_MAIN_PREVIEW));
    EXPECT_TRUE(user->Found());
    user = previewUser();
    Command(IDM_PREVIEW);
    EXPECT_TRUE(user->Found());
    // From the question, the preview opens over it; No then merges nothing.
    world_.prompt.PressMoreButton();
    world_.prompt.AnswerYesNo(false);
    user = previewUser();
    Command(IDM_MERGE);
    EXPECT_TRUE(user->Found());
    // v changed; the long key created, w added.
    EXPECT_EQ(changes, std::vector<std::wstring>(
                           3, L"3 " + platform::win32::Utf8ToWide(app::ChangeName(app::Change::Changed))));
    EXPECT_EQ(RegistryString(keyA, "v"), "avant");
    EXPECT_TRUE(FilesIn(world_.UndoDirectory()).empty());

    world_.prompt.AnswerYesNo(true);  // merge the unsigned file
    world_.prompt.AnswerYesNo(true);  // undo at once
    Command(IDM_MERGE);
    ASSERT_EQ(world_.prompt.shown().size(), 3u);
    EXPECT_TRUE(world_.prompt.shown()[2].text.starts_with(
        "Le fichier f.reg n'a été importé qu'en partie : 1 clé et 1 valeur ne sont pas comme il le demande."))
        << world_.prompt.shown()[2].text;
    EXPECT_EQ(RegistryString(keyA, "v"), "avant");
    EXPECT_EQ(FilesIn(world_.UndoDirectory()).size(), 1u)
        << "merged in full, the restoration file goes; what its merge overwrote is saved";
    EXPECT_TRUE(::IsWindowEnabled(window_->hwnd()));

    ::SetWindowPos(window_->hwnd(), nullptr, 0, 0, 360, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(::IsWindowVisible(Control(IDC_MAIN_PREVIEW)));
    EXPECT_TRUE(::IsWindowVisible(Control(IDC_MAIN_VIEW_RESTORATION)));
}

TEST_F(MainWindowTest, RegisteringAsTheOpenerGoesThroughTheSafeMerge) {
    constexpr char kOpenCommand[] = "regfile\\shell\\open\\command";
    auto openCommand = [&]() -> std::optional<std::string> {
        char value[1024] = {};
        DWORD size = sizeof value;
        if (::RegGetValueA(HKEY_CLASSES_ROOT, kOpenCommand, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        return value;
    };
    const std::optional<std::string> before = openCommand();
    const std::string ours = "\"" + world_.ProgramDirectory() + "\\claverix.exe\" \"%1\"";
    Open();

    Command(IDM_REGISTER_OPENER);
    EXPECT_TRUE(world_.prompt.shown().empty()) << "signed: no question";
    ASSERT_EQ(FilesIn(world_.UndoDirectory()).size(), 1u) << "the way back";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (openCommand() != ours && std::chrono::steady_clock::now() < deadline) {
        ::Sleep(20);
    }
    EXPECT_EQ(openCommand(), ours);

    // Merging the restoration file brings the previous opener back.
    tests::Click(Control(IDC_MAIN_LIST_MODE));
    tests::DoubleClickListItem(Control(IDC_MAIN_FILE_LIST), 0);
    EXPECT_EQ(openCommand(), before);
}

}  // namespace
}  // namespace claverix::ui
