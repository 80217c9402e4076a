// Tests of the open-addressing index behind the name and uuid indexes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "result/collections.h"

namespace {

struct Entry {
    int id;
};

TEST(FlatIndexTest, KeepsTheFirstEntryOfEachKeyThroughGrowth) {
    ZEMRA::NameIndex<Entry> index;
    Entry probe{-1};
    EXPECT_EQ(index.find("absent"), nullptr);
    // Enough names to grow the table several times; "L::T1" and "L::T10" share a prefix.
    std::vector<std::string> names;
    std::vector<Entry> entries;
    for (int k = 0; k < 1000; ++k) {
        names.push_back("L::T" + std::to_string(k));
        entries.push_back({k});
    }
    for (int k = 0; k < 1000; ++k) ASSERT_TRUE(index.insert(names[k], &entries[k]));
    for (int k = 0; k < 1000; ++k) EXPECT_FALSE(index.insert(names[k], &probe));
    EXPECT_EQ(index.size(), 1000u);
    for (int k = 0; k < 1000; ++k) ASSERT_EQ(index.find(std::string(names[k])), &entries[k]) << names[k];
    for (const char* absent : {"L::T1000", "L::T", "l::T1", "L::T1 ", ""}) EXPECT_EQ(index.count(absent), 0u);
}

TEST(FlatIndexTest, AssigningReplacesTheEntryOfAKey) {
    ZEMRA::UuidIndex<Entry> index;
    Entry first{1}, second{2}, other{3};
    const LumoUUID a{{1}}, b{{2}};
    index.insertOrAssign(a, &first);
    index.insertOrAssign(b, &other);
    index.insertOrAssign(a, &second);
    EXPECT_EQ(index.size(), 2u);
    EXPECT_EQ(index.find(a), &second);
    EXPECT_EQ(index.find(b), &other);
    EXPECT_EQ(index.find(LumoUUID{{3}}), nullptr);
}

}  // namespace
