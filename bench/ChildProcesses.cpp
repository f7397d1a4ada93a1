#include "bench/ChildProcesses.h"

// psapi.h needs what windows.h declares.
#include <windows.h>

#include <psapi.h>

#include <stdexcept>

#include "bench/Measure.h"
#include "platform/win32/Handles.h"

namespace claverix::bench {

using platform::win32::UniqueKernelHandle;

namespace {

struct Pipe {
    UniqueKernelHandle read;
    UniqueKernelHandle write;
};

// A pipe of which only the child's end, the read end when the child reads, is inherited.
Pipe MakePipe(bool childReads) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!::CreatePipe(&read, &write, &inheritable, 0)) {
        throw std::runtime_error("CreatePipe failed: " + std::to_string(::GetLastError()));
    }
    Pipe pipe{UniqueKernelHandle(read), UniqueKernelHandle(write)};
    ::SetHandleInformation(childReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    return pipe;
}

UniqueKernelHandle OpenNul() {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    return UniqueKernelHandle(::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                                            0, nullptr));
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Starts `application` with the given standard handles, which it inherits.
UniqueKernelHandle Start(const std::string& application, std::string commandLine, HANDLE input,
                         HANDLE output) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &process)) {
        throw std::runtime_error("cannot start " + application + ": error " +
                                 std::to_string(::GetLastError()));
    }
    ::CloseHandle(process.hThread);
    return UniqueKernelHandle(process.hProcess);
}

// Waits for the process to end; throws unless it ended with code 0.
void WaitForSuccess(const UniqueKernelHandle& process, const std::string& what) {
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.Get(), &exitCode);
    if (exitCode != 0) {
        throw std::runtime_error(what + " ended with code " + std::to_string(exitCode));
    }
}

std::string SystemDirectory() {
    char directory[MAX_PATH];
    UINT length = ::GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory, length);
}

// True once the whole line has come; false when the pipe closed before.
bool ReadLine(HANDLE input, std::string_view expected) {
    std::string received;
    char byte = 0;
    DWORD read = 0;
    while (received.size() < expected.size() && ::ReadFile(input, &byte, 1, &read, nullptr) && read == 1) {
        received += byte;
    }
    return received == expected;
}

PeakMemory PeakMemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process, &counters, sizeof counters)) {
        throw std::runtime_error("GetProcessMemoryInfo failed: " + std::to_string(::GetLastError()));
    }
    return {counters.PeakPagefileUsage, counters.PeakWorkingSetSize};
}

}  // namespace

std::string BenchDirectory() {
    char path[MAX_PATH];
    std::string own(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return own.substr(0, own.rfind('\\'));
}

PeakMemory AnalysisPeakMemory(const std::string& directory, const std::string& fileName) {
    Pipe toChild = MakePipe(true);
    Pipe fromChild = MakePipe(false);
    std::string application = BenchDirectory() + "\\" + kAnalysisChild;
    UniqueKernelHandle child =
        Start(application, Quoted(application) + " " + Quoted(directory) + " " + Quoted(fileName),
              toChild.read.Get(), fromChild.write.Get());
    // Only the child holds these ends now, so that its end shows as a closed pipe.
    toChild.read.Reset(nullptr);
    fromChild.write.Reset(nullptr);

    bool analysed = ReadLine(fromChild.read.Get(), kAnalysedLine);
    PeakMemory peak = analysed ? PeakMemoryOf(child.Get()) : PeakMemory{};
    toChild.write.Reset(nullptr);
    std::string what = "the analysis of " + fileName + " in a child process";
    WaitForSuccess(child, what);
    if (!analysed) {
        throw std::runtime_error(what + " did not say it had finished");
    }
    return peak;
}

double StartUntilFirstOutput(const std::string& application, const std::string& arguments) {
    UniqueKernelHandle nul = OpenNul();
    Pipe fromChild = MakePipe(false);
    Stopwatch stopwatch;
    UniqueKernelHandle child =
        Start(application, Quoted(application) + " " + arguments, nul.Get(), fromChild.write.Get());
    // Only the child holds this end now: its end shows as a closed pipe.
    fromChild.write.Reset(nullptr);
    char bytes[4096];
    DWORD read = 0;
    bool wrote = ::ReadFile(fromChild.read.Get(), bytes, 1, &read, nullptr) && read == 1;
    double milliseconds = stopwatch.Milliseconds();
    // The rest, so that the program never waits on a full pipe.
    while (::ReadFile(fromChild.read.Get(), bytes, sizeof bytes, &read, nullptr) && read > 0) {
    }
    WaitForSuccess(child, application);
    if (!wrote) {
        throw std::runtime_error(application + " wrote nothing on its standard output");
    }
    return milliseconds;
}

void RunRegExport(const std::string& keyPath, const std::string& outputFile) {
    UniqueKernelHandle nul = OpenNul();
    UniqueKernelHandle process = Start(
        SystemDirectory() + "\\reg.exe",
        "reg export HKEY_CURRENT_USER\\" + keyPath + " " + Quoted(outputFile) + " /y", nul.Get(), nul.Get());
    WaitForSuccess(process, "reg export");
}

}  // namespace claverix::bench
