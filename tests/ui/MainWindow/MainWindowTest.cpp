#include "ui/MainWindow/MainWindow.h"

#include <gtest/gtest.h>

#include <commdlg.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>

#include "app/Settings.h"
#include "platform/win32/Text.h"
#include "program/ProgramWindows.h"
#include "tests/ui/support/Dpi.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"
#include "ui/PreviewWindow/PreviewWindowIds.h"
#include "ui/SearchDialog/SearchDialogIds.h"
#include "ui/common/Dpi.h"
#include "ui/common/Geometry.h"
#include "ui/common/MessageLoop.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;
using tests::WindowWorld;

std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(directory, missing)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::optional<std::string> RegistryString(const std::string& key, const char* name) {
    char value[256] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

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

class MainWindowTest : public ::testing::Test {
protected:
    void Open() {
        window_ = std::make_unique<MainWindow>(world_.engine(), dialogs_);
        ASSERT_TRUE(window_->Load());
        window_->Show();
        ui::PumpWaitingMessages();
    }

    HWND Control(int id) const { return ::GetDlgItem(window_->hwnd(), id); }
    void Command(int id) { ::SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::wstring Shown(int id) const { return tests::TextOf(Control(id)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Control(id)) != FALSE; }

    std::string RegFile(std::string_view name) const {
        return world_.RegDirectory() + "\\" + std::string(name);
    }
    std::string Read(const std::string& path) { return world_.ReadFile(path).value_or("<missing>"); }
    // A key line naming `sub` below the test's own key.
    std::string Key(std::string_view sub) const {
        return "[HKEY_CURRENT_USER\\" + world_.key() + "\\" + std::string(sub) + "]\r\n";
    }

    std::vector<std::wstring> ListedFiles() const {
        std::vector<std::wstring> names;
        HWND list = Control(IDC_MAIN_FILE_LIST);
        for (int i = 0; i < static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0)); ++i) {
            wchar_t name[MAX_PATH] = {};
            ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
            names.emplace_back(name);
        }
        return names;
    }

    WindowWorld world_;
    program::ProgramWindows dialogs_{world_.engine()};
    std::unique_ptr<MainWindow> window_;
};

using MainWindowAtEveryDpiTest = MainWindowTest;

TEST_F(MainWindowAtEveryDpiTest, LayoutFollowsTheClientAreaAndStaysInIt) {
    Open();
    UINT dpi = DpiOf(window_->hwnd());
    if (UINT requested = tests::RequestedDpi()) {
        ASSERT_EQ(dpi, requested);
    }
    auto pixels = [dpi](double twips) { return TwipsToPixels(twips, dpi); };
    struct Expected {
        int id;
        double left, top, width, height;
    };
    // The layout table for an outer size of 9600 x 7200 twips with the classic frame.
    const Expected table[] = {
        {IDC_MAIN_FILE_LIST, 50, 425, 2415, 6150},
        {IDC_MAIN_LIST_MODE, 50, 0, 2415, 375},
        {IDC_MAIN_MERGE, 2515, 0, 1095, 375},
        {IDC_MAIN_SIGNED, 2515, 360, 855, 255},
        {IDC_MAIN_NO_RESTORATION, 3370, 360, 1815, 255},
        {IDC_MAIN_COMMENT, 2515, 665, 6830, 2910},
        {IDC_MAIN_CONTENT, 2515, 3625, 6830, 2910},
        {IDC_MAIN_VIEW_RESTORATION, 8250, 0, 1095, 375},
    };
    auto checkLayout = [&](const char* when) {
        RECT client{};
        ::GetClientRect(window_->hwnd(), &client);
        RECT outer{};
        ::GetWindowRect(window_->hwnd(), &outer);
        bool classicFrame = std::abs((outer.bottom - outer.top - client.bottom) - pixels(690)) <= 1 &&
                            std::abs((outer.right - outer.left - client.right) - pixels(120)) <= 1;
        for (const Expected& control : table) {
            RECT rect = tests::RectInParent(Control(control.id));
            EXPECT_LE(rect.right, client.right) << when << ", control " << control.id;
            EXPECT_LE(rect.bottom, client.bottom) << when << ", control " << control.id;
            if (!classicFrame) {
                continue;
            }
            EXPECT_NEAR(rect.left, pixels(control.left), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.top, pixels(control.top), 1) << when << ", control " << control.id;
            EXPECT_NEAR(rect.right - rect.left, pixels(control.width), 1)
                << when << ", control " << control.id;
            // The table's list and content box go a few pixels past the client area's bottom.
            int height =
                std::min(pixels(control.height), static_cast<int>(client.bottom) - pixels(control.top));
            EXPECT_NEAR(rect.bottom - rect.top, height, 1) << when << ", control " << control.id;
        }
    };
    auto resize = [&](double width, double height) {
        ::SetWindowPos(window_->hwnd(), nullptr, 0, 0, pixels(width), pixels(height), SWP_NOZORDER);
        ui::PumpWaitingMessages();
    };

    resize(9600, 7200);
    checkLayout("9600 x 7200");
    // In restoration mode the hidden check boxes still follow, and the result
    // depends on the size alone, whatever came before.
    tests::Click(Control(IDC_MAIN_LIST_MODE));
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ::ShowWindow(window_->hwnd(), SW_MINIMIZE);
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    resize(1000, 800);
    resize(9600, 7200);
    checkLayout("after maximise, minimise and a tiny size");
}

TEST_F(MainWindowAtEveryDpiTest, EveryTextShowsWhole) {
    Open();
    EXPECT_EQ(tests::TextsCutShort(window_->hwnd()), std::vector<std::string>{});
}

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

TEST_F(MainWindowTest, MarksAndCommentRewriteTheFileTheyBelongTo) {
    const std::string body = Key("A") + "\"v\"=\"1\"\r\n";
    const std::string head = "REGEDIT4\r\n\r\n";
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + body);
    world_.WriteFile(RegFile("b.reg"), "REGEDIT4\r\n#de b\r\n" + Key("B"));
    Open();

    tests::Click(Control(IDC_MAIN_SIGNED));
    EXPECT_EQ(Read(RegFile("a.reg")), head + "# Sign:Testeur\r\n# FileName:a.reg\r\n\r\n" + body);
    Command(IDM_NO_RESTORATION);
    EXPECT_TRUE(tests::IsChecked(Control(IDC_MAIN_NO_RESTORATION)));
    EXPECT_EQ(Read(RegFile("a.reg")), head + "# Sign:Testeur\r\n# NoUndo\r\n# FileName:a.reg\r\n\r\n" + body);
    Command(IDM_SIGN);
    EXPECT_EQ(Read(RegFile("a.reg")), head + "# NoUndo\r\n# FileName:a.reg\r\n\r\n" + body);

    // A double click selects the whole comment, which the typed text replaces.
    HWND comment = Control(IDC_MAIN_COMMENT);
    tests::DoubleClick(comment);
    DWORD start = 1;
    DWORD end = 0;
    ::SendMessageW(comment, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, std::wstring_view(L"Pas de commentaire").size());
    tests::TypeText(comment, L"Tab");
    tests::PressKey(comment, VK_TAB);
    EXPECT_NE(::GetFocus(), comment);
    EXPECT_EQ(Read(RegFile("a.reg")), head + "# NoUndo\r\n# FileName:a.reg\r\n#Tab\r\n\r\n" + body);
    tests::TypeText(comment, L"abc\r\n\r\n");
    tests::ClickListItem(Control(IDC_MAIN_FILE_LIST), 1);
    EXPECT_EQ(Read(RegFile("a.reg")), head + "# NoUndo\r\n# FileName:a.reg\r\n#abc\r\n\r\n" + body)
        << "saved into the file it was typed for, its line ends gone";
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"de b\r\n");
    EXPECT_TRUE(world_.prompt.shown().empty());
}

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

// The file shown, rewritten behind the window's back, is what the window
// gives way to: ticking a mark does not overwrite it but offers to read it
// again, and a merge refuses it and shows it as it is now.
TEST_F(MainWindowTest, AFileChangedOnDiskIsNeitherOverwrittenNorMerged) {
    const std::string name = "d\u00E9j\u00E0 vu.reg";  // named in the messages as it is
    world_.WriteFile(RegFile(name), "REGEDIT4\r\n" + Key("A"));
    Open();
    const std::string outside = "REGEDIT4\r\n" + Key("Dehors");
    world_.WriteFile(RegFile(name), outside);
    world_.prompt.AnswerYesNo(true);
    tests::Click(Control(IDC_MAIN_SIGNED));
    EXPECT_EQ(Read(RegFile(name)), outside);
    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    EXPECT_TRUE(world_.prompt.shown()[0].text.starts_with("Le fichier " + name + " a été modifié en dehors"))
        << world_.prompt.shown()[0].text;
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("Dehors")));
    EXPECT_FALSE(tests::IsChecked(Control(IDC_MAIN_SIGNED)));

    const std::string again = "REGEDIT4\r\n" + Key("Encore");
    world_.WriteFile(RegFile(name), again);
    Command(IDM_MERGE);
    ASSERT_EQ(world_.prompt.shown().size(), 2u);
    EXPECT_EQ(world_.prompt.shown()[1].text,
              "Le fichier " + name + " a été modifié depuis son affichage : il n'est pas fusionné.");
    EXPECT_TRUE(FilesIn(world_.UndoDirectory()).empty());
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("Encore")));
    EXPECT_EQ(Read(RegFile(name)), again);
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

TEST_F(MainWindowTest, OnlyAMoveWithinTheWindowValidatesTheComment) {
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n" + Key("A"));
    std::string original = Read(RegFile("a.reg"));
    Open();
    tests::TypeText(Control(IDC_MAIN_COMMENT), L"en cours");
    // Another window takes the focus, as a message box or another program would.
    HWND other = ::CreateWindowExW(0, WC_EDITW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr,
                                   nullptr, nullptr);
    ::SetFocus(other);
    EXPECT_EQ(Read(RegFile("a.reg")), original);
    ::DestroyWindow(other);

    ::SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Read(RegFile("a.reg")), "REGEDIT4\r\n\r\n# FileName:a.reg\r\n#en cours\r\n\r\n" + Key("A"))
        << "closing keeps what was typed";
}

TEST_F(MainWindowTest, AnEditOfTheContentIsSavedOrDroppedAsTheUserSays) {
    const std::string original = "REGEDIT4\r\n" + Key("A");
    world_.WriteFile(RegFile("a.reg"), original);
    world_.WriteFile(RegFile("b.reg"), "REGEDIT4\r\n" + Key("B"));
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);
    const std::wstring edited = AnsiToWide(Key("Edite"));
    using platform::Answer;

    // Cancel stays on the file, its edit in the box.
    tests::TypeText(Control(IDC_MAIN_CONTENT), edited);
    world_.prompt.AnswerYesNoCancel(Answer::Cancel);
    tests::ClickListItem(list, 1);
    EXPECT_EQ(tests::SelectedIndex(list), 0);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), edited);
    world_.prompt.AnswerYesNoCancel(Answer::Cancel);
    ::SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(window_->hwnd())) << "closing waits for an answer too";
    world_.prompt.AnswerYesNoCancel(Answer::Cancel);
    Command(IDM_MERGE);
    world_.prompt.AnswerYesNoCancel(Answer::Cancel);
    EXPECT_FALSE(::SendMessageW(window_->hwnd(), WM_QUERYENDSESSION, 0, 0)) << "nor does log-off go on";
    ASSERT_EQ(world_.prompt.shown().size(), 4u) << "four questions, and no merge question";
    EXPECT_EQ(world_.prompt.shown()[0].text,
              "Le contenu du fichier a.reg a été modifié.\r\nVoulez-vous enregistrer ces modifications ?");
    EXPECT_EQ(Read(RegFile("a.reg")), original);

    // No drops the edit; Yes writes it, as ticking a mark would.
    world_.prompt.AnswerYesNoCancel(Answer::No);
    tests::ClickListItem(list, 1);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("B")));
    EXPECT_EQ(Read(RegFile("a.reg")), original);
    tests::ClickListItem(list, 0);
    tests::TypeText(Control(IDC_MAIN_CONTENT), edited);
    world_.prompt.AnswerYesNoCancel(Answer::Yes);
    EXPECT_TRUE(::SendMessageW(window_->hwnd(), WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(Read(RegFile("a.reg")), "REGEDIT4\r\n\r\n# FileName:a.reg\r\n\r\n" + Key("Edite"));

    // F5 shows what is on disk now, the selection kept by name.
    world_.WriteFile(RegFile("0.reg"), "REGEDIT4\r\n");
    world_.WriteFile(RegFile("a.reg"), "REGEDIT4\r\n#relu\r\n" + Key("A"));
    Command(IDM_REFRESH);
    EXPECT_EQ(tests::SelectedIndex(list), 1);
    EXPECT_EQ(Shown(IDC_MAIN_COMMENT), L"relu\r\n");
    EXPECT_EQ(world_.prompt.shown().size(), 6u);
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

TEST_F(MainWindowTest, WhatTheBoxesCannotHoldFaithfullyIsNeverWritten) {
    // A corrupt UTF-16 file, its byte count odd: the analysis refuses it.
    std::wstring refused = L"REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\\x0416]\r\n";
    world_.WriteFile(
        RegFile("a-refused.reg"),
        "\xFF\xFE" + std::string(reinterpret_cast<const char*>(refused.data()), refused.size() * 2) + "x");
    std::string big = "REGEDIT4\r\n";
    std::string bigBody = Key("Big");
    while (bigBody.size() < (10u << 20)) {
        bigBody += "\"value" + std::to_string(bigBody.size()) + "\"=\"" + std::string(40, 'x') + "\"\r\n";
    }
    world_.WriteFile(RegFile("b-big.reg"), big + bigBody);
    std::string unixKey = Key("Unix");
    unixKey.erase(unixKey.size() - 2, 1);  // LF alone
    world_.WriteFile(RegFile("c-unix.reg"), "REGEDIT4\n" + unixKey + "\"v\"=\"1\"\n");
    world_.WriteFile(RegFile("d-nul.reg"), std::string("REGEDIT4\r\n\"v\"=\"a\0b\"\r\n", 24));
    const std::string signedHead = "REGEDIT4\r\n\r\n# Sign:Testeur\r\n# FileName:";
    Open();
    HWND list = Control(IDC_MAIN_FILE_LIST);

    auto expectNeverRewritten = [&](const std::string& name) {
        std::string before = Read(RegFile(name));
        EXPECT_FALSE(Enabled(IDC_MAIN_SIGNED)) << name;
        EXPECT_FALSE(Enabled(IDC_MAIN_NO_RESTORATION)) << name;
        Command(IDM_SIGN);
        tests::TypeText(Control(IDC_MAIN_COMMENT), L"perdu");
        tests::FocusOn(list);
        EXPECT_EQ(Read(RegFile(name)), before) << name;
    };
    ASSERT_EQ(world_.prompt.shown().size(), 1u) << "the refused file is explained";
    expectNeverRewritten("a-refused.reg");

    // A long content arrives in slices while the window answers; until the last
    // one the file cannot be changed from the window.
    tests::ClickListItem(list, 1);
    EXPECT_LT(static_cast<std::size_t>(::GetWindowTextLengthW(Control(IDC_MAIN_CONTENT))), bigBody.size());
    EXPECT_FALSE(Enabled(IDC_MAIN_SIGNED));
    ui::PumpWaitingMessages();
    EXPECT_EQ(static_cast<std::size_t>(::GetWindowTextLengthW(Control(IDC_MAIN_CONTENT))), bigBody.size());
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(bigBody));
    tests::Click(Control(IDC_MAIN_SIGNED));
    EXPECT_EQ(Read(RegFile("b-big.reg")), signedHead + "b-big.reg\r\n\r\n" + bigBody);

    tests::ClickListItem(list, 2);
    EXPECT_EQ(Shown(IDC_MAIN_CONTENT), AnsiToWide(Key("Unix") + "\"v\"=\"1\"\r\n"));
    tests::Click(Control(IDC_MAIN_SIGNED));
    EXPECT_EQ(Read(RegFile("c-unix.reg")),
              signedHead + "c-unix.reg\r\n\r\n" + Key("Unix") + "\"v\"=\"1\"\r\n");

    tests::ClickListItem(list, 3);
    expectNeverRewritten("d-nul.reg");
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

RECT OuterRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

// Twips are whole pixels at 96 and 144 DPI: the place comes back to the pixel.
TEST_F(MainWindowAtEveryDpiTest, OpensWhereItWasClosedOrOnTheNearestMonitor) {
    Open();
    ::SetWindowPos(window_->hwnd(), nullptr, 40, 60, 700, 500, SWP_NOZORDER);
    RECT closed = OuterRect(window_->hwnd());
    ::SendMessageW(window_->hwnd(), WM_CLOSE, 0, 0);

    Open();
    RECT reopened = OuterRect(window_->hwnd());
    EXPECT_TRUE(::EqualRect(&reopened, &closed));
    // Maximised when the session ends: stored as maximised, over the place it had.
    ::ShowWindow(window_->hwnd(), SW_MAXIMIZE);
    ::SendMessageW(window_->hwnd(), WM_ENDSESSION, TRUE, 0);
    window_.reset();
    Open();
    EXPECT_TRUE(::IsZoomed(window_->hwnd()));
    ::ShowWindow(window_->hwnd(), SW_RESTORE);
    RECT restored = OuterRect(window_->hwnd());
    EXPECT_TRUE(::EqualRect(&restored, &closed));
    window_.reset();

    app::WriteMainWindowPlacement(world_.platform().profile, world_.engine().startup.IniFile,
                                  {900000, -200000, 6000, 3000, false});
    Open();
    RECT outer = OuterRect(window_->hwnd());
    RECT screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    RECT visible{};
    ::IntersectRect(&visible, &outer, &screen);
    EXPECT_TRUE(::EqualRect(&visible, &outer)) << "a place on no monitor comes back on the screen";
}

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
