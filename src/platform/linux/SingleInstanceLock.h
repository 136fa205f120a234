#pragma once

#include <string>

namespace zorvane {

enum class InstanceLock {
    Acquired,           // this is the only copy
    HeldByAnotherCopy,  // a copy runs already: end silently
    Unavailable,        // the lock cannot be taken for another reason: run without the guard
};

// Where the lock named `name` lives: $XDG_RUNTIME_DIR/<name>.lock, or /tmp/<name>-<uid>.lock when
// no runtime directory is set.
std::string SingleInstanceLockPath(const std::string& name);

// Takes the lock for the rest of this process's life. The kernel drops it when the process ends,
// however it ends, so a later start succeeds. Call once per process.
InstanceLock AcquireSingleInstanceLock(const std::string& name);

}  // namespace zorvane
