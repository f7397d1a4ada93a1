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

class FirstStartTest : public ::testing::Test {
protected:
    FirstStartTest() {
        std::filesystem::copy_file(ProgramDirectory() + "\\claverix.exe", directory_ + "\\claverix.exe");
    }

    static std::string ProgramDirectory() {
        char path[MAX_PATH];
        std::string program(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
        return program.substr(0, program.rfind('\\'));
    }

    void Start() {
        ASSERT_TRUE(StartProcess("\"" + directory_ + "\\claverix.exe\"", directory_, process_));
        ::CloseHandle(process_.hThread);
        processHandle_.Reset(process_.hProcess);
    }

    HWND WaitForWindow(const wchar_t* title) const {
        return tests::WaitForWindow(process_.dwProcessId, title);
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
    // The archive is the program's directory: its handler-registration file, written
    // while no signature was known yet, is the one file listed.
    std::string registration = ReadFileBytes(directory_ + "\\Reg\\Enregistre CLAVERIX.REG");
    EXPECT_NE(registration.find("# sign:\r\n"), std::string::npos) << registration;
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

}  // namespace
}  // namespace claverix::e2e
