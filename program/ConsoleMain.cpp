// claverix.com: the console command, for scripts and deployment tools. cmd
// and PowerShell wait for a console program, show what it prints and read its
// exit code; they find claverix.com before claverix.exe when a user types
// "claverix", while the shell's "open" command goes on naming claverix.exe.
#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "app/Console.h"
#include "app/Startup.h"
#include "platform/win32/Services.h"
#include "platform/win32/Text.h"
#include "ui/common/MessageLoop.h"
#include "ui/common/WindowPrompt.h"

using namespace claverix;

namespace {

// The arguments after the program's name, split as the system splits them.
std::vector<std::string> Arguments() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; arguments != nullptr && i < count; ++i) {
        utf8.push_back(platform::win32::WideToUtf8(arguments[i]));
    }
    ::LocalFree(arguments);
    return utf8;
}

// Writes to a console as text, whatever its code page; to a file or a pipe
// as UTF-8 bytes, which a script reads as they are. Takes the process's
// standard output and error for itself: the programs the run starts get
// none, so that nothing of theirs comes into what a script reads (Wine's
// registry editor writes its errors to its standard output).
class StandardStreams final : public app::ConsoleOutput {
public:
    StandardStreams() : out_(::GetStdHandle(STD_OUTPUT_HANDLE)), err_(::GetStdHandle(STD_ERROR_HANDLE)) {
        ::SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
        ::SetStdHandle(STD_ERROR_HANDLE, nullptr);
    }
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

    void Out(std::string_view text) override { Write(out_, text); }
    void Err(std::string_view text) override { Write(err_, text); }

private:
    static void Write(HANDLE stream, std::string_view text) {
        DWORD mode = 0;
        DWORD written = 0;
        if (::GetConsoleMode(stream, &mode)) {
            std::wstring wide = platform::win32::Utf8ToWide(text);
            ::WriteConsoleW(stream, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            ::WriteFile(stream, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        }
    }

    HANDLE out_;
    HANDLE err_;
};

int Run(StandardStreams& output) {
    app::ConsoleCommand command = app::ParseConsoleCommand(Arguments());
    platform::win32::Win32FileSystem files;
    platform::win32::Services services(app::ViewOfRun(command, files, files.CurrentDirectory()),
                                       ui::WaitPumpingMessages);
    ui::WindowPrompt prompt;
    platform::Platform platform = services.With(prompt);
    return app::RunConsoleCommand(platform, command, output).exitCode;
}

}  // namespace

int main() {
    // The questions of a run that is not quiet are the windows' own.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    StandardStreams output;
    try {
        return Run(output);
    } catch (const std::exception& error) {
        output.Err(std::string("Erreur inattendue : ") + error.what() + "\r\n");
    }
    return static_cast<int>(app::ExitCode::Unexpected);
}
