#include "platform/win32/Win32Locks.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace claverix::platform::win32 {

namespace {

// A mutex this thread owns; released and closed with the object, on the
// thread that took it, as a mutex must be.
class HeldMutex final : public HeldLock {
public:
    explicit HeldMutex(UniqueKernelHandle mutex) : mutex_(std::move(mutex)) {}
    ~HeldMutex() override { ::ReleaseMutex(mutex_.Get()); }

private:
    UniqueKernelHandle mutex_;
};

UniqueKernelHandle OpenMutex(std::string_view name) {
    std::wstring fullName = L"Local\\" + Utf8ToWide(name);
    return UniqueKernelHandle(::CreateMutexW(nullptr, FALSE, fullName.c_str()));
}

bool Owned(DWORD waited) {
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

}  // namespace

bool Win32Locks::BlockingWait(HANDLE mutex) {
    return Owned(::WaitForSingleObject(mutex, INFINITE));
}

std::unique_ptr<HeldLock> Win32Locks::TryTake(std::string_view name) {
    UniqueKernelHandle mutex = OpenMutex(name);
    if (!mutex || !Owned(::WaitForSingleObject(mutex.Get(), 0))) {
        return nullptr;
    }
    return std::make_unique<HeldMutex>(std::move(mutex));
}

std::unique_ptr<HeldLock> Win32Locks::Take(std::string_view name) {
    UniqueKernelHandle mutex = OpenMutex(name);
    if (!mutex || !wait_(mutex.Get())) {
        return nullptr;
    }
    return std::make_unique<HeldMutex>(std::move(mutex));
}

}  // namespace claverix::platform::win32
