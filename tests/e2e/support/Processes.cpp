#include "tests/e2e/support/Processes.h"

#include <windows.h>

#include <tlhelp32.h>  // needs windows.h first

#include <stdexcept>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::e2e {

using platform::win32::UniqueFileHandle;
using platform::win32::UniqueKernelHandle;

namespace {

constexpr DWORD kPollMilliseconds = 20;
// Wine fails about one process start in several thousand (ERROR_INTERNAL_ERROR
// when the new process dies while it starts): a start is tried again, a run never.
constexpr int kStartAttempts = 4;
constexpr DWORD kStartRetryMilliseconds = 250;

bool IsRunning(std::string_view executableName) {
    // A snapshot reports failure as INVALID_HANDLE_VALUE, as CreateFile does.
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        throw std::runtime_error("CreateToolhelp32Snapshot failed with error " +
                                 std::to_string(::GetLastError()));
    }
    std::string name(executableName);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.Get(), &entry); more;
         more = ::Process32Next(snapshot.Get(), &entry)) {
        if (::lstrcmpiA(entry.szExeFile, name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

std::string WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return platform::win32::WideToUtf8(text);
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM texts) {
    if (std::string text = WindowText(child); !text.empty()) {
        *reinterpret_cast<std::string*>(texts) += " | " + text;
    }
    return TRUE;
}

struct WindowSearch {
    DWORD processId;
    std::string texts;
    HWND first = nullptr;
};

BOOL CALLBACK AppendWindowTexts(HWND window, LPARAM search) {
    auto* found = reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == found->processId && ::IsWindowVisible(window)) {
        found->first = found->first ? found->first : window;
        found->texts += "[" + WindowText(window) + "]";
        ::EnumChildWindows(window, AppendChildText, reinterpret_cast<LPARAM>(&found->texts));
    }
    return TRUE;
}

// The title and texts of the windows the process shows, empty when it shows none.
WindowSearch ShownWindows(DWORD processId) {
    WindowSearch search{processId, {}};
    ::EnumWindows(AppendWindowTexts, reinterpret_cast<LPARAM>(&search));
    return search;
}

// Presses the button and waits for the window to go, as a user's click does.
void Press(HWND window, int buttonId) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    for (int wait = 0; wait < 500 && ::IsWindow(window) && ::IsWindowVisible(window); ++wait) {
        ::Sleep(kPollMilliseconds);
    }
}

}  // namespace

::testing::AssertionResult StartProcess(const std::string& commandLine, const std::string& directory,
                                        PROCESS_INFORMATION& started) {
    DWORD error = 0;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        std::wstring wideCommandLine =
            platform::win32::Utf8ToWide(commandLine);  // CreateProcessW may write into it
        std::wstring wideDirectory = platform::win32::Utf8ToWide(directory);
        if (::CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             directory.empty() ? nullptr : wideDirectory.c_str(), &startup, &started)) {
            return ::testing::AssertionSuccess();
        }
        error = ::GetLastError();
        ::Sleep(kStartRetryMilliseconds);
    }
    return ::testing::AssertionFailure() << "cannot start " << commandLine << ": error " << error;
}

::testing::AssertionResult RunAnswering(const std::string& commandLine, std::chrono::milliseconds timeout,
                                        const Answering& answer, RunResult& run) {
    PROCESS_INFORMATION started{};
    if (auto startedOrNot = StartProcess(commandLine, {}, started); !startedOrNot) {
        return startedOrNot;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::WaitForSingleObject(process.Get(), kPollMilliseconds) != WAIT_OBJECT_0) {
        WindowSearch windows = ShownWindows(started.dwProcessId);
        int button = windows.first && answer ? answer(windows.texts) : 0;
        if (button > 0) {
            run.answered.push_back(windows.texts);
            Press(windows.first, button);
        } else if ((windows.first && button != kLeaveShown) || std::chrono::steady_clock::now() > deadline) {
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), INFINITE);
            return ::testing::AssertionFailure()
                   << commandLine << (windows.first ? " showed " + windows.texts : " did not end in time")
                   << " and was ended";
        }
    }
    ::GetExitCodeProcess(process.Get(), &run.exitCode);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult RunToEnd(const std::string& commandLine, std::chrono::milliseconds timeout) {
    RunResult run;
    if (auto ended = RunAnswering(commandLine, timeout, {}, run); !ended) {
        return ended;
    }
    if (run.exitCode != 0) {
        return ::testing::AssertionFailure() << commandLine << " ended with exit code " << run.exitCode;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WaitUntilNoneRuns(std::string_view executableName,
                                             std::chrono::milliseconds timeout) {
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
