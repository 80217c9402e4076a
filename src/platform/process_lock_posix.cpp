// The process-wide lock on POSIX systems: a mutex plus the owning thread's identifier.
#include "platform/process_lock.h"

#include <atomic>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace lumoidl::platform {
namespace {

std::mutex gMutex;
std::atomic<uint32_t> gOwner{0};

}  // namespace

uint32_t currentThreadId() {
    thread_local const uint32_t id = static_cast<uint32_t>(::syscall(SYS_gettid));
    return id;
}

ProcessLockGuard::ProcessLockGuard() {
    const uint32_t self = currentThreadId();
    if (gOwner.load(std::memory_order_acquire) == self) return;
    gMutex.lock();
    gOwner.store(self, std::memory_order_release);
    entered_ = true;
}

ProcessLockGuard::~ProcessLockGuard() {
    if (!entered_) return;
    gOwner.store(0, std::memory_order_release);
    gMutex.unlock();
}

}  // namespace lumoidl::platform
