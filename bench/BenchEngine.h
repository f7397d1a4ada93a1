#pragma once

#include <string>

#include "engine/Engine.h"
#include "platform/memory/ScriptedPrompt.h"
#include "platform/memory/StandIns.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"

namespace claverix::bench {

// The services live in a base built before the bundle that refers to them.
struct BenchServices {
    platform::win32::Win32Registry registry;
    platform::win32::Win32Profile profile;
    platform::win32::Win32FileSystem files;
    platform::win32::Win32TextCodec codec;
    // Nobody answers and nothing is started: the analysis of the benchmark's
    // files asks nothing and shows nothing, which Analyse checks.
    platform::ScriptedPrompt prompt;
    platform::FixedEnvironment environment;
    platform::RecordingLauncher launcher;
    platform::win32::Win32Locks locks;
};

// The engine on the real registry, files, settings and code page.
class BenchEngine : private BenchServices {
public:
    BenchEngine() : BenchEngine({}, {}) {}
    // As start-up leaves it for the main window: the program at `executablePath`,
    // its archive and signature in `startup`.
    BenchEngine(engine::StartupValues startup, const std::string& executablePath);
    BenchEngine(const BenchEngine&) = delete;
    BenchEngine& operator=(const BenchEngine&) = delete;

    engine::Engine& Engine() { return engine_; }
    platform::Platform& Platform() { return platform_; }

    // Runs AnalyseRegFile and reads the restoration a merge would save;
    // returns the size of its text.
    // Throws std::runtime_error when the analysis showed a message.
    std::size_t Analyse(const std::string& directory, const std::string& fileName);

    // Throws std::runtime_error, saying what happened `during`, when the
    // engine has shown a message since the last check.
    void CheckNothingShown(const std::string& during);

    // How many messages and questions the engine has shown; they are forgotten.
    std::size_t ShownCount();

private:
    platform::Platform platform_;
    engine::Engine engine_;
};

}  // namespace claverix::bench
