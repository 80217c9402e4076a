// RecyclingStringSet: inserts, duplicates and clears, with and without nodes kept from earlier fills.
#include "semantics/recycling_string_set.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

using ZEMRA::IDL::PARSER::RecyclingStringSet;

const std::string kAlphabet = "abcdefghijklmnopqrstuvwxyz";

/// One insert and what it must return, and the size right after it.
struct Insert {
    std::string text;
    bool isNew;
    size_t size;
};

/// Runs `inserts` in order on `set`.
void expectInserts(RecyclingStringSet& set, const std::vector<Insert>& inserts) {
    for (const Insert& insert : inserts) {
        SCOPED_TRACE("insert \"" + insert.text + "\"");
        EXPECT_EQ(set.insert(insert.text), insert.isNew);
        EXPECT_EQ(set.size(), insert.size);
    }
}

TEST(RecyclingStringSetTest, InsertTellsNewStringsFromDuplicates) {
    RecyclingStringSet set;
    EXPECT_EQ(set.size(), 0u);
    expectInserts(set, {
        {"a", true, 1},
        {"b", true, 2},
        {"a", false, 2},
        {"A", true, 3},
        {"", true, 4},
        {"", false, 4},
        {kAlphabet, true, 5},
        {kAlphabet.substr(0, 25), true, 6},
        {kAlphabet, false, 6},
        {std::string("a\0b", 3), true, 7},
        {std::string("a\0c", 3), true, 8},
        {std::string("a\0b", 3), false, 8},
    });
}

TEST(RecyclingStringSetTest, ClearedSetTakesEveryStringAsNew) {
    // Each round fills the set, clears it and fills it again with other strings: a node kept
    // from the first fill must hold only the text of its new insert.
    const struct {
        const char* name;
        std::vector<std::string> first;
        std::vector<Insert> after;
    } cases[] = {
        {"shorter then longer", {kAlphabet},
         {{"ab", true, 1}, {kAlphabet, true, 2}, {"ab", false, 2}, {kAlphabet, false, 2}}},
        {"longer strings after short ones", {"a", "b", "c"},
         {{kAlphabet, true, 1}, {kAlphabet + kAlphabet, true, 2}, {"a", true, 3}, {"b", true, 4}, {"c", true, 5},
          {"d", true, 6}, {kAlphabet, false, 6}}},
        {"prefixes of earlier strings", {"method(int a, int b)", "method(int a)"},
         {{"method(int", true, 1}, {"method(int a)", true, 2}, {"method(int a, int b)", true, 3},
          {"method(int a)", false, 3}}},
        {"same strings again", {"x", "y"}, {{"y", true, 1}, {"x", true, 2}, {"y", false, 2}}},
        {"more strings than kept nodes", {"p"}, {{"p", true, 1}, {"q", true, 2}, {"r", true, 3}, {"q", false, 3}}},
        {"nothing kept", {}, {{"", true, 1}, {"", false, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecyclingStringSet set;
        for (const std::string& text : c.first) EXPECT_TRUE(set.insert(text));
        EXPECT_EQ(set.size(), c.first.size());
        set.clear();
        EXPECT_EQ(set.size(), 0u);
        expectInserts(set, c.after);
        set.clear();
        EXPECT_EQ(set.size(), 0u);
        set.clear();
        EXPECT_EQ(set.size(), 0u);
    }
}

TEST(RecyclingStringSetTest, ManyRoundsAnswerAsAPlainSetDoes) {
    // Fills of growing and shrinking sizes, each string inserted up to three times, against
    // std::unordered_set; duplicates hand their node back, so every later round still has one.
    std::vector<std::string> pool;
    for (size_t i = 0; i < 40; ++i)
        pool.push_back(std::string(i % 13, static_cast<char>('a' + i % 26)) + std::to_string(i * 7919 % 101));
    std::mt19937 generator(7);
    RecyclingStringSet set;
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::unordered_set<std::string> reference;
        const size_t inserts = generator() % 60;
        for (size_t i = 0; i < inserts; ++i) {
            const std::string& text = pool[generator() % pool.size()];
            ASSERT_EQ(set.insert(text), reference.insert(text).second) << "insert \"" << text << "\"";
            ASSERT_EQ(set.size(), reference.size());
        }
        set.clear();
        ASSERT_EQ(set.size(), 0u);
    }
}

}  // namespace
