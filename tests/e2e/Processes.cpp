#include "tests/e2e/Processes.h"

#include <windows.h>
#include <tlhelp32.h>

#include <stdexcept>

#include "platform/win32/Handles.h"

namespace claverix::e2e {

using platform::win32::UniqueFileHandle;
using platform::win32::UniqueKernelHandle;

namespace {

constexpr DWORD kPollMilliseconds = 20;

bool IsRunning(std::string_view executableName) {
    // A snapshot reports failure as INVALID_HANDLE_VALUE, as CreateFile does.
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        throw std::runtime_error("CreateToolhelp32Snapshot failed with error " + std::to_string(::GetLastError()));
    }
    std::string name(executableName);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more; more = ::Process32Next(snapshot.Get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

::testing::AssertionResult RunToEnd(const std::string& commandLine, std::chrono::milliseconds timeout) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    std::string mutableCommandLine = commandLine;  // CreateProcessA may write into it
    if (!::CreateProcessA(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &started)) {
        return ::testing::AssertionFailure() << "cannot start " << commandLine << ": error " << ::GetLastError();
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    if (::WaitForSingleObject(process.Get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), INFINITE);
        return ::testing::AssertionFailure() << commandLine << " was still running after " << timeout.count()
                                             << " ms and was ended";
    }
    DWORD exitCode = 0;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    if (exitCode != 0) {
        return ::testing::AssertionFailure() << commandLine << " ended with exit code " << exitCode;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WaitUntilNoneRuns(std::string_view executableName, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (IsRunning(executableName)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return ::testing::AssertionFailure()
                   << executableName << " was still running after " << timeout.count() << " ms";
        }
        ::Sleep(kPollMilliseconds);
    }
    return ::testing::AssertionSuccess();
}

}  // namespace claverix::e2e
