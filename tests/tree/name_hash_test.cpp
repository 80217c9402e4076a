// Name hashes: folding lowers exactly the ASCII capitals, and names equal but for their case hash alike.
#include "tree/name_hash.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(NameHashTest, FoldingLowersExactlyTheAsciiCapitalsInEveryBytePosition) {
    for (int byte = 0; byte < 256; ++byte) {
        const uint64_t folded = byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
        for (int shift = 0; shift < 64; shift += 8) {
            // The neighbours ('@' and '[' sit just outside the capitals) must not change either.
            const uint64_t around = 0x5B405B405B405B40ull & ~(0xFFull << shift);
            EXPECT_EQ(foldChunk(around | static_cast<uint64_t>(byte) << shift), around | folded << shift)
                << byte << " at " << shift;
        }
    }
}

TEST(NameHashTest, EqualNamesHashAlikeAndNearNamesApartAtEveryLength) {
    for (size_t length = 0; length <= 20; ++length) {
        std::string name;
        for (size_t i = 0; i < length; ++i) name += static_cast<char>('A' + i);
        std::string lower = name;
        for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(hashName<true>(name), hashName<true>(lower)) << length;
        EXPECT_EQ(hashName<true>(lower), hashName(lower)) << length;
        // A change in any one byte, or one byte more, changes the hash.
        for (size_t i = 0; i < length; ++i) {
            std::string changed = name;
            changed[i] = '_';
            EXPECT_NE(hashName(changed), hashName(name)) << length << " at " << i;
        }
        EXPECT_NE(hashName(name + "A"), hashName(name)) << length;
    }
}

TEST(NameHashTest, NamesThatDifferInTheirLastBytesSpreadOverTheLowBits) {
    // The low bits pick a table's slot. 256 names into 256 values: a hash that mixes well leaves
    // about 162 distinct; one whose low bits miss the last bytes leaves a handful.
    for (const char* prefix : {"Item", "Method", "TableKind1x0Current", "ColorLib3::ShapeRenderer"}) {
        std::set<uint64_t> low;
        for (int n = 0; n < 256; ++n) low.insert(hashName(prefix + std::to_string(n)) & 0xFF);
        EXPECT_GE(low.size(), 140u) << prefix;
    }
}

TEST(NameHashTest, SameBytesSeesADifferenceAtEveryPositionOfEveryLength) {
    for (size_t length = 0; length <= 24; ++length) {
        const std::string name(length, 'q');
        EXPECT_TRUE(sameBytes(name.data(), std::string(name).data(), length)) << length;
        for (size_t i = 0; i < length; ++i) {
            std::string changed = name;
            changed[i] = 'r';
            EXPECT_FALSE(sameBytes(name.data(), changed.data(), length)) << length << " at " << i;
        }
    }
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
