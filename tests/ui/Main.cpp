// The window tests. Run as "claverix_ui_tests --dpi=N [gtest flags]", they
// run again in a child process started while the system's DPI (the
// LogPixels setting of Wine and of Windows) is N, and the setting is put
// back afterwards: a process reads it when it starts. The child finds N in
// the environment variable CLAVERIX_TEST_DPI.
#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "ui/common/Unexpected.h"

#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

std::optional<DWORD> ReadLogPixels() {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, RRF_RT_REG_DWORD, nullptr, &value,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

void WriteLogPixels(std::optional<DWORD> value) {
    if (value) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels, REG_DWORD, &*value, sizeof *value);
    } else {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopKey, kLogPixels);
    }
}

// The command line without its first argument (the program) and the second (--dpi=N).
std::wstring ChildArguments() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring line = L"\"" + std::wstring(arguments[0]) + L"\"";
    for (int i = 2; i < count; ++i) {
        line += L" \"" + std::wstring(arguments[i]) + L"\"";
    }
    ::LocalFree(arguments);
    return line;
}

int RunAtDpi(DWORD dpi) {
    std::optional<DWORD> saved = ReadLogPixels();
    WriteLogPixels(dpi);
    // The tests check that they run at the DPI asked for.
    ::SetEnvironmentVariableW(L"CLAVERIX_TEST_DPI", std::to_wstring(dpi).c_str());
    std::wstring commandLine = ChildArguments();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    DWORD exitCode = 1;
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &child)) {
        ::WaitForSingleObject(child.hProcess, INFINITE);
        ::GetExitCodeProcess(child.hProcess, &exitCode);
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);
    }
    WriteLogPixels(saved);
    return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]).starts_with("--dpi=")) {
        return RunAtDpi(static_cast<DWORD>(std::stoul(std::string(argv[1]).substr(6))));
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    // An error a window did not expect fails the test that caused it, rather
    // than waiting for somebody to close a message box.
    claverix::ui::SetUnexpectedErrorSink(
        [](HWND, std::string_view what) { ADD_FAILURE() << "unexpected error in a window: " << what; });
    return RUN_ALL_TESTS();
}
