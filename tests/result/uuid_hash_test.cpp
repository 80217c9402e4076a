// Tests of the uuid hash and equality used by the uuid indexes.
#include "result/uuid_hash.h"

#include <gtest/gtest.h>

namespace {

LumoUUID bytesOf(std::initializer_list<uint8_t> bytes) {
    LumoUUID uuid{};
    size_t k = 0;
    for (uint8_t b : bytes) uuid.bytes[k++] = b;
    return uuid;
}

TEST(UuidHashTest, MixesTheTwoLittleEndianWords) {
    struct Case {
        LumoUUID uuid;
        uint64_t expected;
    };
    const Case cases[] = {
        {bytesOf({}), 0x9e3779b9ull},
        {bytesOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}), 0xd556ca4a69804201ull},
        {bytesOf({0x85, 0x50, 0x63, 0xFA, 0x5C, 0x39, 0x45, 0xDA, 0x9B, 0x3D, 0x0B, 0x3D, 0x4B, 0x72,
                  0x66, 0x0C}),
         0x0e032ebd48ccfc30ull},
    };
    for (const Case& c : cases) EXPECT_EQ(ZEMRA::UuidHash()(c.uuid), static_cast<size_t>(c.expected));
}

TEST(UuidHashTest, EqualityComparesAllSixteenBytes) {
    const LumoUUID a = bytesOf({1, 2, 3});
    LumoUUID b = a;
    EXPECT_TRUE(ZEMRA::UuidEqual()(a, b));
    b.bytes[15] = 1;
    EXPECT_FALSE(ZEMRA::UuidEqual()(a, b));
}

}  // namespace
