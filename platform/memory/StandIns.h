#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/Locks.h"
#include "platform/Processes.h"
#include "platform/TextCodec.h"

namespace claverix::platform {

// A machine whose paths and clock the test sets.
class FixedEnvironment final : public Environment {
public:
    std::string ExecutablePath() override { return executablePath; }
    std::string WindowsDirectory() override { return windowsDirectory; }
    LocalTime Now() override { return now; }
    // Only %SystemRoot%, which stands for `windowsDirectory`.
    std::string ExpandVariables(const std::string& text) override;
    std::string ComputerName() override { return computerName; }
    std::string UserName() override { return userName; }
    bool RunsAsSystem() override { return runsAsSystem; }

    std::string executablePath = "C:\\Outils\\claverix.exe";
    std::string windowsDirectory = "C:\\windows";
    LocalTime now{2026, 3, 6, 14, 25, 1, 0, 60};
    std::string computerName = "POSTE-01";
    std::string userName = "Utilisateur";
    bool runsAsSystem = false;
};

// Starts nothing: records each start, and runs `onExit` when a caller waits
// for the process, standing for what the process would have done by then.
class RecordingLauncher final : public ProcessLauncher {
public:
    struct Start {
        std::string application;
        std::string commandLine;
        bool waitedFor = false;
    };

    ProcessStart StartMinimized(const std::string& application, const std::string& commandLine) override;

    std::vector<Start> starts;
    // What the next starts answer instead of starting: Failed or ElevationRefused.
    std::optional<ProcessStart::Status> refuseStarts;
    std::function<void()> onExit;
};

// Locks of one process, where another can be made to hold a lock: taking
// it then waits, which here means the other lets it go at once.
class MemoryLocks final : public Locks {
public:
    std::unique_ptr<HeldLock> TryTake(std::string_view name) override;
    std::unique_ptr<HeldLock> Take(std::string_view name) override;

    bool IsHeld(std::string_view name) const { return held_.contains(std::string(name)); }

    // Names another process holds until someone waits for them.
    std::set<std::string> heldElsewhere;
    // How many takes had to wait.
    int waits = 0;

private:
    class Held;
    std::set<std::string> held_;
};

// Treats the ANSI code page as Latin-1, which maps every byte to the
// character of the same number; Windows uses the system's own code page.
class Latin1TextCodec final : public TextCodec {
public:
    std::string AnsiToUtf8(std::string_view ansi) override;
    std::string Utf8ToAnsi(std::string_view utf8) override;
    std::u16string AnsiToUtf16(std::string_view ansi) override;
    std::optional<std::string> Utf16ToAnsiExact(std::u16string_view utf16) override;
    // a to z and Latin-1's accented small letters that have a capital in it.
    std::string ToUpper(std::string_view ansi) override;
    std::optional<std::array<char, 256>> UpperCaseTable() override;
    // Letters in upper case, each run of digits as its number.
    std::string SortKey(std::string_view name) override;
    // Latin-1's letters as above, and the Greek and Cyrillic small letters.
    void ToUpper(std::u16string& utf16) override;
};

}  // namespace claverix::platform
