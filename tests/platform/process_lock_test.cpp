// ProcessLockGuard: exclusion between threads, nesting on the owning thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/process_lock.h"

namespace lumoidl::platform {
namespace {

TEST(ProcessLock, GuardsExcludeOtherThreadsAndNestOnTheOwner) {
    long counter = 0;  // not atomic: only the lock protects it
    std::atomic<int> inside{0}, overlaps{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                ProcessLockGuard guard;
                overlaps += inside++;
                // A nested guard would deadlock if it locked again, and must leave the lock held.
                if (i % 16 == 0) ProcessLockGuard nested;
                const long seen = counter;
                if (i % 64 == 0) std::this_thread::yield();  // widens the window a racing holder would use
                counter = seen + 1;
                --inside;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(counter, 6L * 20000);
}

}  // namespace
}  // namespace lumoidl::platform
