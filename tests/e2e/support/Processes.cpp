#include "tests/e2e/support/Processes.h"

#include <windows.h>

#include <tlhelp32.h>  // needs windows.h first

#include <functional>
#include <stdexcept>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"
#include "tests/ui/support/UserActions.h"

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
    return platform::win32::WideToUtf8(tests::TextOf(window));
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM texts) {
    if (std::string text = WindowText(child); !text.empty()) {
        *reinterpret_cast<std::string*>(texts) += " | " + text;
    }
    return TRUE;
}

// Whether a process is one of those watched, by its id.
using ProcessTest = std::function<bool(DWORD processId)>;

struct WindowSearch {
    const ProcessTest& watched;
    std::string texts;
    HWND first = nullptr;
};

BOOL CALLBACK AppendWindowTexts(HWND window, LPARAM search) {
    auto* found = reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (::IsWindowVisible(window) && found->watched(owner)) {
        found->first = found->first ? found->first : window;
        found->texts += "[" + WindowText(window) + "]";
        ::EnumChildWindows(window, AppendChildText, reinterpret_cast<LPARAM>(&found->texts));
    }
    return TRUE;
}

// The title and texts of the windows the processes show, empty when they show none.
WindowSearch ShownWindows(const ProcessTest& watched) {
    WindowSearch search{watched, {}};
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

// Starts `commandLine` as StartProcess does, created with `flags`; standard
// handles in `startup` are inherited.
::testing::AssertionResult Start(const std::string& commandLine, const std::string& directory, DWORD flags,
                                 STARTUPINFOW startup, PROCESS_INFORMATION& started) {
    startup.cb = sizeof startup;
    BOOL inherits = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
    std::wstring wideDirectory = platform::win32::Utf8ToWide(directory);
    DWORD error = 0;
    for (int attempt = 1; attempt <= kStartAttempts; ++attempt) {
        std::wstring wideCommandLine =
            platform::win32::Utf8ToWide(commandLine);  // CreateProcessW may write into it
        if (::CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, inherits, flags, nullptr,
                             directory.empty() ? nullptr : wideDirectory.c_str(), &startup, &started)) {
            return ::testing::AssertionSuccess();
        }
        error = ::GetLastError();
        ::Sleep(kStartRetryMilliseconds);
    }
    return ::testing::AssertionFailure() << "cannot start " << commandLine << ": error " << error;
}

// Waits for `process` to end, answering the windows of the `watched`
// processes as `answer` says; a window not answered, or `timeout`, calls
// `end` and fails, naming `what` ran.
::testing::AssertionResult WaitAnswering(HANDLE process, const ProcessTest& watched,
                                         const std::function<void()>& end, std::string_view what,
                                         std::chrono::milliseconds timeout, const Answering& answer,
                                         RunResult& run) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (::WaitForSingleObject(process, kPollMilliseconds) != WAIT_OBJECT_0) {
        WindowSearch windows = ShownWindows(watched);
        int button = windows.first && answer ? answer(windows.texts) : 0;
        if (button > 0) {
            run.answered.push_back(windows.texts);
            Press(windows.first, button);
        } else if ((windows.first && button != kLeaveShown) || std::chrono::steady_clock::now() > deadline) {
            end();
            return ::testing::AssertionFailure()
                   << what << (windows.first ? " showed " + windows.texts : " did not end in time")
                   << " and was ended";
        }
    }
    ::GetExitCodeProcess(process, &run.exitCode);
    return ::testing::AssertionSuccess();
}

// A file of the temporary directory that a child process can write to, gone when closed.
UniqueFileHandle InheritedTemporaryFile() {
    wchar_t directory[MAX_PATH + 1];
    wchar_t name[MAX_PATH + 1];
    if (!::GetTempPathW(MAX_PATH + 1, directory) || !::GetTempFileNameW(directory, L"cmd", 0, name)) {
        throw std::runtime_error("no temporary file: error " + std::to_string(::GetLastError()));
    }
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    UniqueFileHandle file(::CreateFileW(name, GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                                        CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!file) {
        throw std::runtime_error("cannot open a temporary file: error " + std::to_string(::GetLastError()));
    }
    return file;
}

std::string WrittenTo(const UniqueFileHandle& file) {
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.Get(), &size);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN);
    ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

}  // namespace

::testing::AssertionResult StartProcess(const std::string& commandLine, const std::string& directory,
                                        PROCESS_INFORMATION& started) {
    return Start(commandLine, directory, 0, {}, started);
}

::testing::AssertionResult RunAnswering(const std::string& commandLine, std::chrono::milliseconds timeout,
                                        const Answering& answer, RunResult& run) {
    PROCESS_INFORMATION started{};
    if (auto startedOrNot = StartProcess(commandLine, {}, started); !startedOrNot) {
        return startedOrNot;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    return WaitAnswering(
        process.Get(), [id = started.dwProcessId](DWORD owner) { return owner == id; },
        [&] {
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), INFINITE);
        },
        commandLine, timeout, answer, run);
}

// The programs cmd starts are in its job: their windows are watched, and a
// failed run ends them all.
::testing::AssertionResult RunCmd(const std::string& line, const std::string& directory,
                                  std::chrono::milliseconds timeout, CommandRun& run) {
    UniqueKernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ::SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    UniqueFileHandle input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                         OPEN_EXISTING, 0, nullptr));
    UniqueFileHandle output = InheritedTemporaryFile();
    UniqueFileHandle errors = InheritedTemporaryFile();
    STARTUPINFOW startup{};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input.Get();
    startup.hStdOutput = output.Get();
    startup.hStdError = errors.Get();
    PROCESS_INFORMATION started{};
    if (auto startedOrNot =
            Start("cmd.exe /c " + line, directory, CREATE_SUSPENDED | CREATE_NO_WINDOW, startup, started);
        !startedOrNot) {
        return startedOrNot;
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    ::AssignProcessToJobObject(job.Get(), process.Get());
    ::ResumeThread(thread.Get());
    auto inJob = [&](DWORD owner) {
        UniqueKernelHandle owning(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, owner));
        BOOL in = FALSE;
        return owning && ::IsProcessInJob(owning.Get(), job.Get(), &in) && in;
    };
    RunResult result;
    ::testing::AssertionResult ended = WaitAnswering(
        process.Get(), inJob,
        [&] {
            ::TerminateJobObject(job.Get(), 1);
            ::WaitForSingleObject(process.Get(), INFINITE);
        },
        line, timeout, {}, result);
    run = {result.exitCode, WrittenTo(output), WrittenTo(errors)};
    return ended;
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
