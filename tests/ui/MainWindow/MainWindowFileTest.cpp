#include "tests/ui/MainWindow/MainWindowFixture.h"

#include <commctrl.h>

#include "platform/win32/Text.h"

namespace claverix::ui {
namespace {

using platform::win32::AnsiToWide;

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

}  // namespace
}  // namespace claverix::ui
