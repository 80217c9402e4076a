// The process-wide lock on Windows: a critical section created at load and deleted at unload.
#include "platform/process_lock.h"

#include <atomic>
#include <windows.h>

namespace lumoidl::platform {
namespace {

/// Owns the critical section for the lifetime of the loaded library.
struct CriticalSection {
    CRITICAL_SECTION section;
    CriticalSection() { InitializeCriticalSection(&section); }
    ~CriticalSection() { DeleteCriticalSection(&section); }
};

CriticalSection gLock;
std::atomic<uint32_t> gOwner{0};

}  // namespace

uint32_t currentThreadId() { return static_cast<uint32_t>(GetCurrentThreadId()); }

ProcessLockGuard::ProcessLockGuard() {
    const uint32_t self = currentThreadId();
    if (gOwner.load(std::memory_order_acquire) == self) return;
    EnterCriticalSection(&gLock.section);
    gOwner.store(self, std::memory_order_release);
    entered_ = true;
}

ProcessLockGuard::~ProcessLockGuard() {
    if (!entered_) return;
    gOwner.store(0, std::memory_order_release);
    LeaveCriticalSection(&gLock.section);
}

}  // namespace lumoidl::platform
