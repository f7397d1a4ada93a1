#pragma once

#include <string>

namespace claverix::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    int millisecond = 0;
    int minutesAheadOfUtc = 0;  // the local time's offset from UTC, for logs that say it
};

// What the program learns about the machine it runs on. Paths and texts are UTF-8.
class Environment {
public:
    virtual ~Environment() = default;

    virtual std::string ExecutablePath() = 0;
    // The system's own Windows directory, where its registry editor lives.
    virtual std::string WindowsDirectory() = 0;
    virtual LocalTime Now() = 0;
    // `text` with its %VARIABLE% references replaced by their values, as the
    // system expands them; unknown ones stay as they are.
    virtual std::string ExpandVariables(const std::string& text) = 0;

    // Who runs the program, where: for logs, and to say when HKEY_CURRENT_USER
    // is not a person's.
    virtual std::string ComputerName() = 0;
    virtual std::string UserName() = 0;
    // The program runs as the local system account, as deployment agents
    // run it: HKEY_CURRENT_USER is then that account's own hive.
    virtual bool RunsAsSystem() = 0;
};

}  // namespace claverix::platform
