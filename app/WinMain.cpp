#include <windows.h>

#include "app/PendingWindows.h"
#include "app/Startup.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Prompt.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"

using namespace claverix;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    platform::win32::Win32Registry registry;
    platform::win32::Win32Profile profile;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32ProcessLauncher processes;
    platform::win32::Win32Environment environment;
    platform::win32::Win32Prompt prompt;
    platform::win32::Win32TextCodec codec;
    platform::Platform platform{registry, profile, files, processes, environment, prompt, codec};

    app::PendingWindows windows(prompt);
    std::unique_ptr<engine::Engine> engine =
        app::Main(platform, windows, app::ArgumentsOf(::GetCommandLineA()));
    if (!engine) {
        return 0;
    }
    // The main window is open: the program lives until it closes.
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
