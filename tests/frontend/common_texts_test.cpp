// Common texts: every built-in type name and known attribute name is found, stored as a NodeString stores it; near misses are not.
#include "frontend/common_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "semantics/builtin_types.h"
#include "tree/node_string.h"

namespace ZEMRA::IDL::PARSER {
namespace {

TEST(CommonTextsTest, EveryNameIsFoundAndEveryNearMissIsNot) {
    std::vector<std::string> names;
    for (const BuiltinName& builtin : kBuiltinNames) names.emplace_back(builtin.name);
    for (std::string_view name : common_texts::kAttributeNames) names.emplace_back(name);
    for (const std::string& name : names) {
        const char* stored = commonText(name);
        ASSERT_NE(stored, nullptr) << name;
        EXPECT_EQ(NodeString::fromData(stored).view(), name);
        EXPECT_EQ(stored[name.size()], '\0') << name;
        EXPECT_EQ(commonText(name.substr(0, name.size() - 1)), nullptr) << name;
        EXPECT_EQ(commonText(name + "x"), nullptr) << name;
        // A change in any one byte, wherever the compared words overlap or not.
        for (size_t i = 0; i < name.size(); ++i) {
            std::string changed = name;
            changed[i] = '~';
            EXPECT_EQ(commonText(changed), nullptr) << changed;
        }
    }
    EXPECT_EQ(commonText(""), nullptr);
}

TEST(CommonTextsTest, BuiltinKindsAreKnownByTheAddressOfTheStaticCopyOnly) {
    for (const BuiltinName& builtin : kBuiltinNames) {
        EXPECT_EQ(commonBuiltinKind(commonText(builtin.name)), builtin.kind) << builtin.name;
        const std::string copy(builtin.name);
        EXPECT_EQ(commonBuiltinKind(copy.c_str()), 0u) << builtin.name;
        // A copy elsewhere is still the built-in type, found by its bytes.
        EXPECT_EQ(builtinKind(copy), builtin.kind) << builtin.name;
    }
    for (std::string_view name : common_texts::kAttributeNames) EXPECT_EQ(commonBuiltinKind(commonText(name)), 0u);
    EXPECT_EQ(commonBuiltinKind(commonText("LumoString") + 1), 0u);
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
