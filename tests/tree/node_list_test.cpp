// Node lists: elements survive every growth, and room is made exactly when the room that follows from the size is full.
#include "tree/node_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ZEMRA::IDL::PARSER {
namespace {

template <uint32_t FirstRoom>
void checkGrowth(const std::vector<size_t>& growsAt) {
    NodeArena arena;
    const NodeArenaScope scope(arena);
    NodeList<size_t, FirstRoom> list;
    std::vector<size_t> grew;
    for (size_t i = 0; i < 50; ++i) {
        const size_t* before = list.data();
        list.push_back(i * 7);
        if (list.data() != before) grew.push_back(i);
        for (size_t k = 0; k <= i; ++k) ASSERT_EQ(list[k], k * 7) << "after " << i;
    }
    EXPECT_EQ(grew, growsAt);
    EXPECT_EQ(list.size(), 50u);
    EXPECT_EQ(list.back(), 49u * 7);
    EXPECT_THROW(static_cast<void>(list.at(50)), std::out_of_range);
}

TEST(NodeListTest, RoomStartsAtTheFirstRoomAndDoubles) {
    checkGrowth<1>({0, 1, 2, 4, 8, 16, 32});
    checkGrowth<3>({0, 3, 6, 12, 24, 48});
}

TEST(NodeListTest, PopAndSwapKeepTheRoomConsistent) {
    NodeArena arena;
    const NodeArenaScope scope(arena);
    CollectedList<int> a, b;
    int values[5] = {1, 2, 3, 4, 5};
    for (int& v : values) a.push_back(&v);
    a.pop_back();
    a.pop_back();
    a.push_back(&values[4]);  // size 4 of room 6: no new room
    a.swap(b);
    EXPECT_TRUE(a.empty());
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(*b[3], 5);
    b.push_back(&values[0]);
    b.push_back(&values[1]);
    b.push_back(&values[2]);  // the seventh element needs room for twelve
    EXPECT_EQ(*b.back(), 3);
    EXPECT_EQ(*b[0], 1);
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
