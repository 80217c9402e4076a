// Tests of the built-in type table: every name's kind, exact matching, and a first use on many threads.
#include "semantics/builtin_types.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using ZEMRA::IDL::PARSER::builtinKind;

struct KindCase {
    const char* name;
    uint32_t kind;
};

/// The seventeen built-in names with the kinds the host reads.
constexpr KindCase kBuiltins[] = {
    {"LUMORESULT", 1},
    {"LumoString", 2},
    {"LumoInteger", 3},
    {"LumoBoolean", 4},
    {"LumoReal", 5},
    {"LumoObject", 6},
    {"LumoArrayString", 7},
    {"LumoValue", 8},
    {"LumoArrayInteger", 9},
    {"LumoArrayBoolean", 10},
    {"LumoArrayReal", 11},
    {"LumoArrayEnumeration", 12},
    {"LumoEnumeration", 13},
    {"LumoArrayValue", 14},
    {"LumoArrayByte", 15},
    {"LumoUUID", 16},
    {"LumoWindowId", 17},
};

TEST(BuiltinKindTest, EveryBuiltinNameHasItsKind) {
    for (const KindCase& c : kBuiltins) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(builtinKind(c.name), c.kind);
    }
}

TEST(BuiltinKindTest, OtherNamesAreNotBuiltin) {
    // Case matters, the whole name must match, and ILumoError is known to type resolution
    // by name but is no table entry.
    const char* const names[] = {
        "lumostring", "LUMOSTRING", "LumoUuid",          "LumoResult", "LumoString ", " LumoString",
        "LumoStrin",  "LumoStrings", "ZEMRA::LumoString", "ILumoError", "",            "IThing",
    };
    for (const char* name : names) {
        SCOPED_TRACE(std::string("\"") + name + "\"");
        EXPECT_EQ(builtinKind(name), 0u);
    }
}

TEST(BuiltinKindTest, NameWithEmbeddedZeroIsNotBuiltin) {
    using namespace std::string_view_literals;
    EXPECT_EQ(builtinKind("LumoString\0"sv), 0u);
    EXPECT_EQ(builtinKind("Lumo\0String"sv), 0u);
}

// Run alone (as CTest runs every case in its own process) this is the table's first use.
TEST(BuiltinKindTest, ConcurrentFirstUseGivesEveryThreadTheSameAnswers) {
    constexpr int kThreads = 8;
    std::atomic<bool> go{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            while (!go.load()) std::this_thread::yield();
            for (int round = 0; round < 100; ++round)
                for (const KindCase& c : kBuiltins)
                    if (builtinKind(c.name) != c.kind) ++wrong;
            if (builtinKind("ILumoError") != 0) ++wrong;
        });
    }
    go = true;
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

}  // namespace
