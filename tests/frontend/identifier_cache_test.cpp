// The identifier cache: a text that comes back is the same copy, every copy holds its text, and built-in names are their static copies.
#include "frontend/identifier_cache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(IdentifierCacheTest, RepeatedTextsShareACopyAndEveryCopyHoldsItsText) {
    NodeArena arena;  // holds the copies until the end of the test
    const NodeArenaScope scope(arena);
    IdentifierCache cache;
    // More names than slots, of every length up to 30, many differing in one byte only.
    std::vector<std::string> names;
    for (size_t i = 0; i < 6000; ++i) names.push_back(std::string(1 + i % 30, 'a') + std::to_string(i));
    names.push_back("x");
    size_t shared = 0;
    for (const std::string& name : names) {
        const char* copy = cache.intern(name);
        EXPECT_EQ(NodeString::fromData(copy).view(), name);
        // The same text again finds the copy, unless its slot is one that a built-in name keeps.
        shared += cache.intern(std::string(name)) == copy;
    }
    EXPECT_GE(shared, names.size() * 98 / 100);
    for (const BuiltinName& builtin : kBuiltinNames) EXPECT_EQ(cache.intern(builtin.name), commonText(builtin.name));
    // File after file: each clear forgets every text the last file brought.
    for (int file = 0; file < 3; ++file) {
        std::vector<const char*> before;
        for (const std::string& name : names) before.push_back(cache.intern(name));
        cache.clear();
        for (size_t i = 0; i < names.size(); ++i) ASSERT_NE(cache.intern(names[i]), before[i]) << names[i];
        cache.clear();
    }
    EXPECT_EQ(cache.intern("LumoWindowId"), commonText("LumoWindowId"));
}

TEST(IdentifierCacheTest, TextsThatDifferOnlyInsideTheirEdgesGetCopiesOfTheirOwn) {
    NodeArena arena;
    const NodeArenaScope scope(arena);
    IdentifierCache cache;
    // Sizes about the sixteen bytes a slot keeps of a text; the byte that differs is the first or
    // the last that neither edge of eight bytes holds, or the middle one of a short text.
    for (size_t size = 3; size <= 40; ++size) {
        const std::string text(size, 'm');
        for (const size_t at : {size / 2, size_t{8}, size - 9}) {
            if (at >= size || (size > 16 && (at < 8 || at >= size - 8))) continue;
            std::string other = text;
            other[at] = 'n';
            SCOPED_TRACE(other);
            cache.intern(text);
            EXPECT_EQ(NodeString::fromData(cache.intern(other)).view(), other);
        }
    }
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
