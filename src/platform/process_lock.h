// The process-wide lock that lets one parse run at a time.
#pragma once

#include <cstdint>

namespace lumoidl::platform {

/// Identifier of the calling thread; never 0.
uint32_t currentThreadId();

/// Holds the process-wide lock for a scope, unless the calling thread holds it already:
/// a nested call on the owning thread goes on without locking and leaves the lock alone.
class ProcessLockGuard {
public:
    /// Enters the lock and records the calling thread as its owner, unless it is the owner.
    ProcessLockGuard();
    ProcessLockGuard(const ProcessLockGuard&) = delete;
    ProcessLockGuard& operator=(const ProcessLockGuard&) = delete;
    /// Leaves the lock if the constructor entered it.
    ~ProcessLockGuard();

private:
    bool entered_ = false;
};

}  // namespace lumoidl::platform
