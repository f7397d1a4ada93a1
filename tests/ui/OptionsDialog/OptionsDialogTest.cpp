#include "ui/OptionsDialog/OptionsDialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/Settings.h"
#include "tests/ui/support/Readability.h"
#include "tests/ui/support/UserActions.h"
#include "tests/ui/support/WindowWorld.h"

namespace claverix::ui {
namespace {

using platform::ScriptedPrompt;
using tests::UserThread;
using tests::WindowWorld;

class OptionsDialogTest : public ::testing::Test {
protected:
    // Apply moves the current directory into the archive, which goes with the test.
    OptionsDialogTest() { ::GetCurrentDirectoryW(MAX_PATH, startDirectory_); }
    ~OptionsDialogTest() override { ::SetCurrentDirectoryW(startDirectory_); }

    // Opens the dialog modal; `act` plays the user from another thread.
    void Open(std::function<void(HWND)> act) {
        OptionsDialog dialog(world_.platform(), world_.engine().startup.IniFile,
                             [this](const app::ArchiveOptions& applied) {
                                 pointedAt_.push_back(engine::RegistryFilesDirectory(applied.directory));
                             });
        UserThread user(L"Options", std::move(act), kWindowClassName);
        ASSERT_TRUE(dialog.ShowModal(nullptr));
        ASSERT_TRUE(user.Found());
    }

    void Store(std::string_view key, const std::string& value) {
        ASSERT_FALSE(
            world_.platform().profile.Write(world_.engine().startup.IniFile, "Options", key, value).Failed());
    }

    std::string Setting(std::string_view key) {
        return world_.platform().profile.Read(world_.engine().startup.IniFile, "Options", key, "<missing>",
                                              255);
    }

    static std::wstring ListEntry(HWND list, int index) {
        wchar_t text[MAX_PATH] = {};
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }

    wchar_t startDirectory_[MAX_PATH] = {};
    WindowWorld world_;
    std::vector<std::string> pointedAt_;
};

TEST_F(OptionsDialogTest, FirstOpeningProposesTheLoginNameAndApplyStoresTheArchive) {
    // The stored directory ends in two "Reg" directories, one inside the other: both go.
    std::string chosen = world_.root() + "\\choix";
    std::filesystem::create_directories(chosen + "\\Reg\\reg");
    Store("ArchivePath", chosen + "\\Reg\\reg");
    std::wstring shownSignature;
    std::wstring openedDirectory;
    Open([&](HWND dialog) {
        shownSignature = tests::TextOf(::GetDlgItem(dialog, IDC_OPTIONS_SIGNATURE));
        ::SendMessageW(::GetDlgItem(dialog, IDC_OPTIONS_SIGNATURE), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"Moi"));
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_APPLY, BN_CLICKED), 0);
        HWND directories = ::GetDlgItem(dialog, IDC_OPTIONS_DIRECTORY_LIST);
        openedDirectory =
            ListEntry(directories, static_cast<int>(::SendMessageW(directories, LB_GETCURSEL, 0, 0)));
        tests::PostClick(dialog, IDCANCEL);
    });

    ASSERT_EQ(world_.prompt.shown().size(), 1u);
    const ScriptedPrompt::Shown& question = world_.prompt.shown()[0];
    EXPECT_EQ(question.title, "Initialisation");
    EXPECT_EQ(question.text,
              "Choisissez un identifiant personnel, qui validera les\r\nfichier .REG qui seront autorisés");
    wchar_t login[256] = {};
    DWORD size = 256;
    ::GetUserNameW(login, &size);
    EXPECT_EQ(shownSignature, login) << "the unanswered prompt keeps the login name";

    EXPECT_EQ(Setting("ArchivePath"), chosen);
    EXPECT_EQ(Setting("Signature"), "Moi");
    EXPECT_TRUE(std::filesystem::is_directory(chosen + "\\Reg"));
    EXPECT_TRUE(std::filesystem::is_directory(chosen + "\\RegUnDO"));
    EXPECT_EQ(openedDirectory, L"choix") << "the list shows the directory stored";
    ASSERT_EQ(pointedAt_.size(), 1u);
    EXPECT_EQ(::lstrcmpiA(pointedAt_[0].c_str(), (chosen + "\\reg").c_str()), 0) << pointedAt_[0];
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(::lstrcmpiA(current, (chosen + "\\Reg").c_str()), 0) << current;
}

TEST_F(OptionsDialogTest, TheListsMoveButCancelAndEscWriteNothing) {
    Store("Signature", "Gardée");
    Store("ArchivePath", world_.root());
    std::wstring shownSignature;
    std::wstring openedAfterEnter;
    std::wstring rootAfterDriveChange = L"no other drive";
    std::wstring rootShown;
    Open([&](HWND dialog) {
        shownSignature = tests::TextOf(::GetDlgItem(dialog, IDC_OPTIONS_SIGNATURE));
        HWND signature = ::GetDlgItem(dialog, IDC_OPTIONS_SIGNATURE);
        ::SendMessageW(signature, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Changée"));
        // Enter on the highlighted sub-directory "archive" opens it.
        HWND directories = ::GetDlgItem(dialog, IDC_OPTIONS_DIRECTORY_LIST);
        auto count = static_cast<int>(::SendMessageW(directories, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (ListEntry(directories, i) == L"archive") {
                ::SendMessageW(directories, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
            }
        }
        ::SendMessageW(directories, WM_KEYDOWN, VK_RETURN, 0);
        openedAfterEnter =
            ListEntry(directories, static_cast<int>(::SendMessageW(directories, LB_GETCURSEL, 0, 0)));
        // Another drive: the list moves to that drive.
        HWND drives = ::GetDlgItem(dialog, IDC_OPTIONS_DRIVE_LIST);
        std::wstring firstRoot = ListEntry(directories, 0);
        for (int i = 0; i < static_cast<int>(::SendMessageW(drives, CB_GETCOUNT, 0, 0)); ++i) {
            wchar_t drive[MAX_PATH] = {};
            ::SendMessageW(drives, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(drive));
            if (drive[0] != firstRoot[0]) {
                ::SendMessageW(drives, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
                ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_DRIVE_LIST, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(drives));
                rootAfterDriveChange = std::wstring(drive, 2) + L"\\";
                rootShown = ListEntry(directories, 0);
                break;
            }
        }
        ::PostMessageW(signature, WM_KEYDOWN, VK_ESCAPE, 0);
    });

    EXPECT_TRUE(world_.prompt.shown().empty()) << "a stored signature is not asked for";
    EXPECT_EQ(shownSignature, L"Gardée");
    EXPECT_EQ(openedAfterEnter, L"archive");
    EXPECT_EQ(rootShown, rootAfterDriveChange);
    EXPECT_EQ(Setting("Signature"),
              "Gardé"
              "e");
    EXPECT_EQ(Setting("ArchivePath"), world_.root());
    EXPECT_TRUE(pointedAt_.empty());
}

TEST_F(OptionsDialogTest, EnterPressesTheFocusedButton) {
    Store("Signature", "Moi");
    bool stillOpen = false;
    Open([&](HWND dialog) {
        tests::PostEnterOn(dialog, IDC_OPTIONS_APPLY);
        for (int wait = 0; wait < 500 && pointedAt_.empty(); ++wait) {
            ::Sleep(10);
        }
        stillOpen = ::IsWindowVisible(dialog);
        tests::PostClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(pointedAt_.size(), 1u) << "Appliquer";
    EXPECT_TRUE(stillOpen);
}

using OptionsDialogAtEveryDpiTest = OptionsDialogTest;

TEST_F(OptionsDialogAtEveryDpiTest, AtEveryDpiEveryTextShowsWhole) {
    std::vector<std::string> cut{"not measured"};
    Open([&](HWND dialog) {
        cut = tests::TextsCutShort(dialog);
        tests::PostClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(cut, std::vector<std::string>{});
}

}  // namespace
}  // namespace claverix::ui
