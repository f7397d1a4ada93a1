// claverix.exe started without a file and without settings: the signature
// prompt, the options dialog, then the main window over the new archive,
// driven from this process by window messages as a user would drive them.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/Handles.h"
#include "tests/e2e/support/ClaverixSandbox.h"
#include "tests/e2e/support/Processes.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/ui/support/UserActions.h"
#include "ui/MainWindow/MainWindowIds.h"
#include "ui/OptionsDialog/OptionsDialogIds.h"
#include "ui/common/InputDialogIds.h"

namespace claverix::e2e {
namespace {

using platform::win32::UniqueKernelHandle;

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    ::SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// The text of a message box: its one label that holds text (its id differs
// between Windows and Wine).
std::wstring MessageText(HWND box) {
    std::wstring text;
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM found) {
            wchar_t className[16] = {};
            ::GetClassNameW(child, className, 16);
            std::wstring label = TextOf(child);
            if (::lstrcmpiW(className, L"Static") == 0 && !label.empty()) {
                *reinterpret_cast<std::wstring*>(found) = label;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

class FirstStartTest : public ::testing::Test {
protected:
    FirstStartTest() {
        std::filesystem::copy_file(tests::FileSystemPath(TestProgramDirectory() + "\\claverix.exe"),
                                   tests::FileSystemPath(directory_ + "\\claverix.exe"));
    }

    void Start() {
        ASSERT_TRUE(StartProcess("\"" + directory_ + "\\claverix.exe\"", directory_, process_));
        ::CloseHandle(process_.hThread);
        processHandle_.Reset(process_.hProcess);
    }

    HWND WaitForWindow(const wchar_t* title, const wchar_t* className = nullptr) const {
        return tests::WaitForWindow(process_.dwProcessId, title, className);
    }

    std::string Setting(const char* key) const {
        char value[256] = {};
        ::GetPrivateProfileStringA("Options", key, "<missing>", value, 256,
                                   (directory_ + "\\claverix.Ini").c_str());
        return value;
    }

    tests::ScratchDirectory scratch_{"first-start"};
    const std::string& directory_ = scratch_.Path();
    PROCESS_INFORMATION process_{};
    UniqueKernelHandle processHandle_;
};

TEST_F(FirstStartTest, SignatureThenOptionsThenTheMainWindow) {
    Start();
    HWND prompt = WaitForWindow(L"Initialisation");
    ASSERT_NE(prompt, nullptr);
    wchar_t login[256] = {};
    DWORD size = 256;
    ::GetUserNameW(login, &size);
    HWND entry = ::GetDlgItem(prompt, ui::IDC_INPUT_ENTRY);
    EXPECT_EQ(TextOf(entry), login);
    ::SendMessageW(entry, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Signataire"));
    ::PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    HWND options = WaitForWindow(L"Options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(options, ui::IDC_OPTIONS_SIGNATURE)), L"Signataire");
    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(ui::IDC_OPTIONS_OK, BN_CLICKED), 0);

    HWND main = WaitForWindow(L"Claverix");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Setting("ArchivePath"), directory_) << "the program's directory, as proposed";
    EXPECT_EQ(Setting("Signature"), "Signataire");
    EXPECT_TRUE(std::filesystem::is_directory(directory_ + "\\RegUnDO"));
    // The archive is the program's directory: its handler-registration file,
    // signed with what was just applied, is the one file listed.
    std::string registration = ReadFileBytes(directory_ + "\\Reg\\Enregistre CLAVERIX.REG");
    EXPECT_NE(registration.find("# sign:Signataire\r\n"), std::string::npos) << registration;
    HWND list = ::GetDlgItem(main, ui::IDC_MAIN_FILE_LIST);
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    wchar_t listed[MAX_PATH] = {};
    ::SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(listed));
    EXPECT_STREQ(listed, L"Enregistre CLAVERIX.REG");

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(processHandle_.Get(), 30000), WAIT_OBJECT_0)
        << "closing it ends the program";
    DWORD exitCode = 1;
    ::GetExitCodeProcess(processHandle_.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(FirstStartTest, NoEmptySignatureNoSettingsFileThatCannotBeWrittenAndCancelEnds) {
    // A directory where the settings file should be: it cannot be written.
    std::filesystem::create_directory(directory_ + "\\claverix.Ini");
    Start();
    HWND prompt = WaitForWindow(L"Initialisation");
    ASSERT_NE(prompt, nullptr);
    ::PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    HWND options = WaitForWindow(L"Options");
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(TextOf(::GetDlgItem(options, ui::IDC_OPTIONS_SIGNATURE)), L"") << "the prompt was cancelled";

    // Each refusal is a message over the dialog, which stays open.
    auto applyAndReadMessage = [&] {
        ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(ui::IDC_OPTIONS_OK, BN_CLICKED), 0);
        HWND message = WaitForWindow(L"Claverix", L"#32770");
        if (message == nullptr) {
            return std::wstring(L"<no message>");
        }
        std::wstring text = MessageText(message);
        ::PostMessageW(message, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int wait = 0; wait < 500 && ::IsWindow(message); ++wait) {
            ::Sleep(10);
        }
        return text;
    };
    EXPECT_NE(applyAndReadMessage().find(L"La signature ne peut pas être vide"), std::wstring::npos);
    ::SendMessageW(::GetDlgItem(options, ui::IDC_OPTIONS_SIGNATURE), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"Signataire"));
    std::wstring refusal = applyAndReadMessage();
    EXPECT_NE(refusal.find(L"Les réglages ne peuvent pas être enregistrés dans"), std::wstring::npos)
        << refusal;
    EXPECT_NE(refusal.find(L"claverix.Ini"), std::wstring::npos) << refusal;
    EXPECT_TRUE(::IsWindowVisible(options));

    ::PostMessageW(options, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_EQ(::WaitForSingleObject(processHandle_.Get(), 30000), WAIT_OBJECT_0)
        << "Annuler at the first start ends the program, rather than asking again";
}

}  // namespace
}  // namespace claverix::e2e
