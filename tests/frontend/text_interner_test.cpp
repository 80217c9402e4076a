// The identifier table: one copy per text until cleared, built-in names as their static copies, through every growth.
#include "frontend/text_interner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(TextInternerTest, EachTextIsStoredOnceUntilTheTableIsCleared) {
    const NodeArenaScope scope(*new NodeArena);  // never freed: the copies must stay readable
    TextInterner table;
    std::vector<std::string> names;
    // Enough names for several growths, of every length up to 30, differing in one byte only.
    for (size_t i = 0; i < 6000; ++i) names.push_back(std::string(1 + i % 30, 'a') + std::to_string(i));
    names.push_back("x");
    std::vector<const char*> first;
    for (const std::string& name : names) first.push_back(table.intern(name));
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(NodeString::fromData(first[i]).view(), names[i]);
        EXPECT_EQ(table.intern(std::string(names[i])), first[i]) << names[i];
    }
    EXPECT_EQ(table.intern("LumoString"), commonText("LumoString"));
    table.clear();
    EXPECT_NE(table.intern(names[0]), first[0]);
    EXPECT_EQ(table.intern("LumoWindowId"), commonText("LumoWindowId"));
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
