#include "bench/Answering.h"

#include <exception>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "bench/Measure.h"
#include "platform/win32/Handles.h"
#include "tests/ui/support/UserActions.h"
#include "ui/common/WindowClassName.h"

namespace claverix::bench {

namespace {

// Looks every millisecond for the window until it shows, then waits until it
// has answered a message: its thread has come back to its message loop.
HWND WaitUntilAnswering(DWORD processId, const wchar_t* title, const wchar_t* className) {
    HWND window = tests::WaitForWindow(processId, title, className, 1);
    if (window == nullptr) {
        throw std::runtime_error("no window of the awaited class showed");
    }
    constexpr UINT kPatience = 60000;
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &result)) {
        throw std::runtime_error("the window shown does not answer");
    }
    return window;
}

}  // namespace

double StartUntilAnswering(const std::string& executable, const wchar_t* title, const wchar_t* windowClass) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + executable + "\"";
    std::string directory = std::filesystem::path(executable).parent_path().string();
    Stopwatch stopwatch;
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                          &startup, &process)) {
        throw std::runtime_error("cannot start " + executable);
    }
    ::CloseHandle(process.hThread);
    platform::win32::UniqueKernelHandle running(process.hProcess);
    try {
        HWND window = WaitUntilAnswering(process.dwProcessId, title, windowClass);
        double milliseconds = stopwatch.Milliseconds();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        constexpr DWORD kExitPatience = 30000;
        if (::WaitForSingleObject(running.Get(), kExitPatience) != WAIT_OBJECT_0) {
            throw std::runtime_error(executable + " did not end once closed");
        }
        return milliseconds;
    } catch (...) {
        ::TerminateProcess(running.Get(), 1);
        throw;
    }
}

double ShowUntilAnswering(const std::function<void()>& show, const wchar_t* title) {
    Stopwatch stopwatch;
    double milliseconds = 0;
    std::exception_ptr failure;
    std::thread closer([&] {
        try {
            HWND window = WaitUntilAnswering(::GetCurrentProcessId(), title, ui::kWindowClassName);
            milliseconds = stopwatch.Milliseconds();
            ::PostMessageW(window, WM_CLOSE, 0, 0);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    show();
    closer.join();
    if (failure) {
        std::rethrow_exception(failure);
    }
    return milliseconds;
}

}  // namespace claverix::bench
