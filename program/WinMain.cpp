#include <windows.h>
// The other Windows headers need windows.h first.
#include <commctrl.h>

#include <exception>

#include "app/Startup.h"
#include "platform/win32/Services.h"
#include "platform/win32/Text.h"
#include "program/ProgramWindows.h"
#include "ui/common/MessageLoop.h"
#include "ui/common/Unexpected.h"
#include "ui/common/WindowPrompt.h"

using namespace claverix;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    platform::win32::Services services(platform::RegistryView::Bits64, ui::WaitPumpingMessages);
    ui::WindowPrompt prompt;
    platform::Platform platform = services.With(prompt);

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
