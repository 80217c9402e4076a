// ProcessLockGuard and currentThreadId: nesting on the owner thread, exclusion between threads.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <latch>
#include <set>
#include <thread>
#include <vector>

#include "platform/process_lock.h"

namespace lumoidl::platform {
namespace {

TEST(ThreadId, IsNonZeroAndStableOnOneThread) {
    const uint32_t id = currentThreadId();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(currentThreadId(), id);
}

TEST(ThreadId, DiffersBetweenLiveThreads) {
    constexpr int kThreads = 6;
    std::vector<uint32_t> ids(kThreads, 0);
    std::latch allRecorded(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            ids[static_cast<size_t>(i)] = currentThreadId();
            // Stay alive until every thread has its id, so no identifier can be reused.
            allRecorded.arrive_and_wait();
        });
    }
    for (auto& t : threads) t.join();

    std::set<uint32_t> distinct(ids.begin(), ids.end());
    distinct.insert(currentThreadId());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(kThreads + 1));
    EXPECT_EQ(distinct.count(0u), 0u);
}

TEST(ProcessLock, FirstGuardEntersAndNestedGuardDoesNot) {
    ProcessLockGuard outer;
    EXPECT_TRUE(outer.entered());
    {
        // Would deadlock on a non-recursive mutex if the nested guard locked again.
        ProcessLockGuard inner;
        EXPECT_FALSE(inner.entered());
        ProcessLockGuard innermost;
        EXPECT_FALSE(innermost.entered());
    }
    // The nested guards left the ownership alone: another nested guard still sees it.
    ProcessLockGuard again;
    EXPECT_FALSE(again.entered());
}

TEST(ProcessLock, SameThreadEntersAgainAfterTheOuterGuardEnds) {
    { ProcessLockGuard first; ASSERT_TRUE(first.entered()); }
    ProcessLockGuard second;
    EXPECT_TRUE(second.entered());
}

TEST(ProcessLock, AnotherThreadEntersAfterTheOuterGuardEnds) {
    {
        ProcessLockGuard outer;
        ProcessLockGuard inner;
        ASSERT_TRUE(outer.entered());
        ASSERT_FALSE(inner.entered());
    }
    bool enteredThere = false;
    bool nestedEnteredThere = true;
    std::thread other([&] {
        ProcessLockGuard guard;
        enteredThere = guard.entered();
        ProcessLockGuard nested;
        nestedEnteredThere = nested.entered();
    });
    other.join();
    EXPECT_TRUE(enteredThere);
    EXPECT_FALSE(nestedEnteredThere);

    // And the lock came back free from that thread.
    ProcessLockGuard mine;
    EXPECT_TRUE(mine.entered());
}

TEST(ProcessLock, HolderOnAnotherThreadKeepsThisThreadOut) {
    std::atomic<bool> holderReleasing{false};
    std::atomic<bool> enteredEarly{false};
    std::atomic<bool> contenderEntered{false};
    std::atomic<bool> contenderStarting{false};

    std::thread contender;
    {
        ProcessLockGuard held;
        ASSERT_TRUE(held.entered());
        contender = std::thread([&] {
            contenderStarting.store(true);
            ProcessLockGuard guard;
            if (!holderReleasing.load()) enteredEarly.store(true);
            contenderEntered.store(guard.entered());
        });
        while (!contenderStarting.load()) std::this_thread::yield();
        // Give the contender many chances to get in; it must not while the lock is held.
        for (int i = 0; i < 10000 && !enteredEarly.load(); ++i) std::this_thread::yield();
        EXPECT_FALSE(enteredEarly.load());
        holderReleasing.store(true);
    }
    contender.join();
    EXPECT_FALSE(enteredEarly.load());
    EXPECT_TRUE(contenderEntered.load());
}

TEST(ProcessLock, ContendingThreadsAreMutuallyExclusive) {
    constexpr int kThreads = 8;
    constexpr int kRounds = 20000;
    long counter = 0;  // deliberately not atomic: only the lock protects it
    std::atomic<bool> inside{false};
    std::atomic<int> overlaps{0};
    std::atomic<int> nestedEntered{0};
    std::atomic<int> outerNotEntered{0};
    std::latch start(kThreads);

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            start.arrive_and_wait();
            for (int i = 0; i < kRounds; ++i) {
                ProcessLockGuard guard;
                if (!guard.entered()) ++outerNotEntered;
                if (inside.exchange(true)) ++overlaps;
                const long seen = counter;
                if (i % 64 == 0) {
                    ProcessLockGuard nested;
                    if (nested.entered()) ++nestedEntered;
                    std::this_thread::yield();  // widen the window a racing holder would use
                }
                counter = seen + 1;
                inside.store(false);
            }
        });
    }
    for (auto& t : threads) t.join();

    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(nestedEntered.load(), 0);
    EXPECT_EQ(outerNotEntered.load(), 0);
    EXPECT_EQ(counter, static_cast<long>(kThreads) * kRounds);
}

}  // namespace
}  // namespace lumoidl::platform
