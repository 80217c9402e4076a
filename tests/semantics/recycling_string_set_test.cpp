// Tests of RecyclingStringSet: a set emptied and filled again answers as a new one would.
#include "semantics/recycling_string_set.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(RecyclingStringSetTest, RefilledSetAnswersAsANewOne) {
    ZEMRA::IDL::PARSER::RecyclingStringSet set;
    const std::string longText(40, 'x');
    for (const std::string text : {"a", "b", "c"}) EXPECT_TRUE(set.insert(text));
    EXPECT_FALSE(set.insert("a"));
    EXPECT_EQ(set.size(), 3u);
    set.clear();
    EXPECT_EQ(set.size(), 0u);
    // Kept nodes take the new texts whatever they held; a duplicate hands its node back.
    const std::vector<std::pair<std::string, bool>> inserts = {
        {"ab", true}, {longText, true}, {"ab", false}, {"a", true}, {"b", true}, {"a", false}, {longText, false}};
    size_t size = 0;
    for (const auto& [text, isNew] : inserts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(set.insert(text), isNew);
        EXPECT_EQ(set.size(), size += isNew ? 1 : 0);
    }
}

}  // namespace
