#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>

#include <exception>

#include "app/Startup.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "program/ProgramWindows.h"
#include "ui/common/MessageLoop.h"
#include "ui/common/Unexpected.h"
#include "ui/common/WindowPrompt.h"

using namespace claverix;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    platform::win32::Win32Registry registry;
    platform::win32::Win32Profile profile;
    platform::win32::Win32FileSystem files;
    // Waiting for the importer, the windows keep painting and answering.
    platform::win32::Win32ProcessLauncher processes(ui::WaitPumpingMessages);
    platform::win32::Win32Environment environment;
    ui::WindowPrompt prompt;
    platform::win32::Win32TextCodec codec;
    // Waiting for another merge, the windows keep painting too.
    platform::win32::Win32Locks locks(ui::WaitPumpingMessages);
    platform::Platform platform{registry, profile, files, processes, environment, prompt, codec, locks};

    int exitCode = 0;
    try {
        program::ProgramWindows windows;
        // The wide command line: the ANSI one has "?" for what the code page lacks.
        std::string commandLine = platform::win32::WideToUtf8(::GetCommandLineW());
        app::Started started = app::Main(platform, windows, app::ArgumentsOf(commandLine));
        // With the main window open, the program lives until it closes.
        exitCode = started.engine ? ui::RunMessageLoop() : static_cast<int>(started.exitCode);
    } catch (const std::exception& error) {
        ui::ReportUnexpected(nullptr, error.what());
        exitCode = static_cast<int>(app::ExitCode::Unexpected);
    }
    return exitCode;
}
