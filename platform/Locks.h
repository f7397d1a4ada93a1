#pragma once

#include <memory>
#include <string_view>

namespace claverix::platform {

// A lock taken; it is let go when the object goes.
class HeldLock {
public:
    virtual ~HeldLock() = default;
};

// Named locks that every process of the program honours in the user's session.
class Locks {
public:
    virtual ~Locks() = default;

    // Takes the lock `name` at once; nullptr when another holds it.
    virtual std::unique_ptr<HeldLock> TryTake(std::string_view name) = 0;

    // Takes the lock `name` once whoever holds it lets it go. Nullptr when the
    // wait failed.
    virtual std::unique_ptr<HeldLock> Take(std::string_view name) = 0;
};

}  // namespace claverix::platform
