#pragma once

#include "platform/Locks.h"
#include "platform/win32/Win32Processes.h"

namespace claverix::platform::win32 {

// Named mutexes in the session's namespace ("Local\"), which every process
// of the program started by the same user in the same session shares.
class Win32Locks final : public Locks {
public:
    // A program with windows passes a wait that keeps them answering.
    explicit Win32Locks(ProcessWait wait = BlockingWait) : wait_(std::move(wait)) {}

    std::unique_ptr<HeldLock> TryTake(std::string_view name) override;
    std::unique_ptr<HeldLock> Take(std::string_view name) override;

    // A mutex whose owner ended without letting it go is the waiter's: the
    // work it guarded ended with its process.
    static bool BlockingWait(HANDLE mutex);

private:
    ProcessWait wait_;
};

}  // namespace claverix::platform::win32
