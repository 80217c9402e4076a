// Tests of the reference count of ZemraBaseImpl.
#include "result/zemra_base.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

/// Counts its own destructions.
class Counted : public ZEMRA::ZemraBaseImpl<Counted> {
public:
    explicit Counted(int& destroyed) : destroyed_(destroyed) {}
    ~Counted() override { ++destroyed_; }

private:
    int& destroyed_;
};

TEST(ZemraBaseTest, OneReferenceThenReleaseDestroys) {
    int destroyed = 0;
    auto* object = new Counted(destroyed);
    EXPECT_EQ(object->referenceCount(), 0u);
    object->addReference();
    object->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ZemraBaseTest, TwoReferencesSurviveTheFirstRelease) {
    int destroyed = 0;
    auto* object = new Counted(destroyed);
    object->addReference();
    object->addReference();
    object->release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->referenceCount(), 1u);
    object->release();
    EXPECT_EQ(destroyed, 1);
}

TEST(ZemraBaseTest, ConcurrentReferencesDestroyExactlyOnce) {
    int destroyed = 0;
    auto* object = new Counted(destroyed);
    object->addReference();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([object] {
            for (int i = 0; i < 10000; ++i) {
                object->addReference();
                object->release();
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(destroyed, 0);
    object->release();
    EXPECT_EQ(destroyed, 1);
}

}  // namespace
