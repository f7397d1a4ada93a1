// The window tests. Run as "claverix_ui_tests --dpi=N [gtest flags]" or
// "claverix_ui_tests --thick-frame [gtest flags]", they run again in a child
// process started while the system's DPI (the LogPixels setting of Wine and
// of Windows) is N, or while window frames are much thicker than the classic
// ones, and the setting is put back afterwards: a process reads it when it
// starts. The child finds N in the environment variable CLAVERIX_TEST_DPI.
#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/common/Unexpected.h"

namespace {

// One value of the user's desktop settings, as stored.
struct DesktopSetting {
    const wchar_t* key;
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::optional<DesktopSetting> Read(const wchar_t* key, const wchar_t* name) {
    DesktopSetting setting{key, name, REG_NONE, std::vector<BYTE>(256)};
    auto size = static_cast<DWORD>(setting.data.size());
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &setting.type, setting.data.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    setting.data.resize(size);
    return setting;
}

void Write(const DesktopSetting& setting) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, setting.key, setting.name, setting.type, setting.data.data(),
                      static_cast<DWORD>(setting.data.size()));
}

DesktopSetting Text(const wchar_t* key, const wchar_t* name, std::wstring_view text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    std::vector<BYTE> data(bytes, bytes + text.size() * sizeof(wchar_t));
    data.insert(data.end(), sizeof(wchar_t), 0);
    return {key, name, REG_SZ, std::move(data)};
}

constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
constexpr wchar_t kWindowMetrics[] = L"Control Panel\\Desktop\\WindowMetrics";

// The settings a run asks for, from its first argument; none for a plain run.
std::optional<std::vector<DesktopSetting>> RequestedSettings(std::string_view argument) {
    if (argument.starts_with("--dpi=")) {
        auto dpi = static_cast<DWORD>(std::stoul(std::string(argument.substr(6))));
        // The tests check that they run at the DPI asked for.
        ::SetEnvironmentVariableW(L"CLAVERIX_TEST_DPI", std::to_wstring(dpi).c_str());
        const auto* bytes = reinterpret_cast<const BYTE*>(&dpi);
        return std::vector<DesktopSetting>{{kDesktop, L"LogPixels", REG_DWORD, {bytes, bytes + sizeof dpi}}};
    }
    if (argument == "--thick-frame") {
        // Negative values are twips: 10-pixel borders and a 30-pixel caption.
        return std::vector<DesktopSetting>{Text(kWindowMetrics, L"BorderWidth", L"-150"),
                                           Text(kWindowMetrics, L"CaptionHeight", L"-450")};
    }
    return std::nullopt;
}

// The command line without its first argument (the program) and the second (the setting).
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

int RunWith(const std::vector<DesktopSetting>& settings) {
    std::vector<std::pair<const DesktopSetting*, std::optional<DesktopSetting>>> saved;
    for (const DesktopSetting& setting : settings) {
        saved.emplace_back(&setting, Read(setting.key, setting.name));
        Write(setting);
    }
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
    for (const auto& [setting, before] : saved) {
        if (before) {
            Write(*before);
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, setting->key, setting->name);
        }
    }
    return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        if (std::optional<std::vector<DesktopSetting>> settings = RequestedSettings(argv[1])) {
            return RunWith(*settings);
        }
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    // An error a window did not expect fails the test that caused it, rather
    // than waiting for somebody to close a message box.
    claverix::ui::SetUnexpectedErrorSink([](HWND, std::string_view what) {
        ADD_FAILURE() << "unexpected error in a window: " << what;
    });
    return RUN_ALL_TESTS();
}
