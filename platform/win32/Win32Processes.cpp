#include "platform/win32/Win32Processes.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

// ERROR_ELEVATION_REQUIRED, which MinGW-w64's headers lack.
constexpr DWORD kErrorElevationRequired = 740;

using Status = ProcessStart::Status;

class Win32Process final : public StartedProcess {
public:
    Win32Process(HANDLE process, ProcessWait wait) : process_(process), wait_(std::move(wait)) {}

    bool WaitForExit() override { return process_ && wait_(process_.Get()); }

private:
    UniqueKernelHandle process_;
    ProcessWait wait_;
};

// Where a program asks for elevation, as the registry editor does for an
// administrator, CreateProcess refuses it (kErrorElevationRequired) and only
// the shell can start it, after the system's consent prompt; declined, the
// prompt leaves ERROR_CANCELLED.
ProcessStart StartElevated(const std::wstring& application, const std::wstring& parameters,
                           const ProcessWait& wait) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = application.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWMINIMIZED;
    EnsureComInitialized();
    static const auto shellExecute =
        SystemFunction<decltype(&::ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (!shellExecute(&info)) {
        return {::GetLastError() == ERROR_CANCELLED ? Status::ElevationRefused : Status::Failed, nullptr};
    }
    // Without a handle the process cannot be waited for, nor its work checked.
    if (info.hProcess == nullptr) {
        return {Status::Failed, nullptr};
    }
    return {Status::Started, std::make_unique<Win32Process>(info.hProcess, wait)};
}

// The command line without its first word, the program's name.
std::wstring ParametersOf(const std::wstring& commandLine) {
    auto blank = commandLine.find(L' ');
    return blank == std::wstring::npos ? std::wstring{} : commandLine.substr(blank + 1);
}

}  // namespace

ProcessStart Win32ProcessLauncher::StartMinimized(const std::string& application,
                                                  const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    std::wstring wideApplication = Utf8ToWide(application);
    std::wstring wideCommandLine = Utf8ToWide(commandLine);  // CreateProcessW may write into it
    if (::CreateProcessW(wideApplication.c_str(), wideCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        return {Status::Started, std::make_unique<Win32Process>(process.hProcess, wait_)};
    }
    if (::GetLastError() == kErrorElevationRequired) {
        return StartElevated(wideApplication, ParametersOf(Utf8ToWide(commandLine)), wait_);
    }
    return {Status::Failed, nullptr};
}

}  // namespace claverix::platform::win32
