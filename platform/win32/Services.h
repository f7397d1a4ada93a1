#pragma once

#include "platform/Platform.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"

namespace claverix::platform::win32 {

// The real machine's services, all but the prompt, which the program's windows
// bring. `wait` is how the program waits for the importer and for another
// merge: one with windows keeps them painting and answering meanwhile.
struct Services {
    Services(RegistryView view, const ProcessWait& wait) : registry(view), processes(wait), locks(wait) {}

    Platform With(Prompt& prompt) {
        return {registry, profile, files, processes, environment, prompt, codec, locks};
    }

    Win32Registry registry;
    Win32Profile profile;
    Win32FileSystem files;
    Win32ProcessLauncher processes;
    Win32Environment environment;
    Win32TextCodec codec;
    Win32Locks locks;
};

}  // namespace claverix::platform::win32
