#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Engine.h"
#include "platform/memory/ScriptedPrompt.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Locks.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32TextCodec.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchDirectory.h"
#include "tests/support/ScratchKey.h"

namespace claverix::tests {

// The real machine, but for where the program believes it lives.
class SandboxEnvironment final : public platform::Environment {
public:
    explicit SandboxEnvironment(std::string executablePath) : executablePath_(std::move(executablePath)) {}

    std::string ExecutablePath() override { return executablePath_; }
    std::string WindowsDirectory() override { return real_.WindowsDirectory(); }
    platform::LocalTime Now() override { return real_.Now(); }
    std::string ExpandVariables(const std::string& text) override { return real_.ExpandVariables(text); }
    std::string ComputerName() override { return real_.ComputerName(); }
    std::string UserName() override { return real_.UserName(); }
    bool RunsAsSystem() override { return real_.RunsAsSystem(); }

private:
    platform::win32::Win32Environment real_;
    std::string executablePath_;
};

// What the windows run on in a window test: the real registry, files,
// settings, code page and importer, in a scratch directory holding the
// "program" (claverix.exe's directory, with its settings file and its reg
// directory) and an archive with its two sub-directories; a scripted user
// answers the messages and questions. The engine's start-up values are
// those of a stored signature. Everything goes with the world, the test's
// registry key included.
class WindowWorld {
public:
    static constexpr std::string_view kSignature = "Testeur";

    WindowWorld();
    WindowWorld(const WindowWorld&) = delete;
    WindowWorld& operator=(const WindowWorld&) = delete;

    engine::Engine& engine() { return *engine_; }
    platform::Platform& platform() { return engine_->platform; }

    const std::string& root() const { return root_; }
    std::string ProgramDirectory() const { return root_ + "\\program"; }
    std::string Archive() const { return root_ + "\\archive"; }
    std::string RegDirectory() const { return engine::RegistryFilesDirectory(Archive()); }
    std::string UndoDirectory() const { return engine::RestorationFilesDirectory(Archive()); }
    // The test's own key under HKEY_CURRENT_USER, for files to write to.
    const std::string& key() const { return key_.Path(); }

    void WriteFile(const std::string& path, std::string_view bytes) { WriteFileBytes(files_, path, bytes); }
    std::optional<std::string> ReadFile(const std::string& path) { return ReadFileBytes(files_, path); }

    platform::ScriptedPrompt prompt;

private:
    platform::win32::Win32Registry registry_;
    platform::win32::Win32Profile profile_;
    platform::win32::Win32FileSystem files_;
    platform::win32::Win32ProcessLauncher processes_;
    platform::win32::Win32TextCodec codec_;
    platform::win32::Win32Locks locks_;
    ScratchDirectory scratch_{"windows"};
    const std::string& root_ = scratch_.Path();
    ScratchKey key_{"Software\\ClaverixWindowTests"};
    std::unique_ptr<SandboxEnvironment> environment_;
    std::unique_ptr<platform::Platform> platform_;
    std::unique_ptr<engine::Engine> engine_;
};

}  // namespace claverix::tests
