// NodeArena: aligned, disjoint memory across blocks, moves, and which arena new nodes come from.
#include "tree/node_arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tree/nodes.h"

namespace {

using namespace ZEMRA::IDL::PARSER;

/// Fills `count` allocations of sizes cycling through `sizes` with a byte of their own, then
/// checks alignment, that no two overlap and that every byte kept its value.
void fillAndCheck(NodeArena& arena, const std::vector<size_t>& sizes, size_t count) {
    std::map<uintptr_t, size_t> spans;  // start to size
    std::vector<std::pair<unsigned char*, size_t>> blocks;
    for (size_t i = 0; i < count; ++i) {
        const size_t size = sizes[i % sizes.size()];
        auto* memory = static_cast<unsigned char*>(arena.allocate(size));
        ASSERT_NE(memory, nullptr) << "allocation " << i;
        ASSERT_EQ(reinterpret_cast<uintptr_t>(memory) % NodeArena::kAlignment, 0u) << "allocation " << i;
        std::memset(memory, static_cast<int>(i & 0xFF), size);
        spans.emplace(reinterpret_cast<uintptr_t>(memory), size);
        blocks.emplace_back(memory, size);
    }
    EXPECT_EQ(spans.size(), count) << "two allocations share an address";
    uintptr_t end = 0;
    for (const auto& [start, size] : spans) {
        EXPECT_GE(start, end) << "allocations overlap";
        end = start + size;
    }
    for (size_t i = 0; i < blocks.size(); ++i)
        for (size_t b = 0; b < blocks[i].second; ++b)
            ASSERT_EQ(blocks[i].first[b], static_cast<unsigned char>(i & 0xFF)) << "allocation " << i;
}

TEST(NodeArenaTest, AllocationsAreAlignedDisjointAndKeepTheirBytes) {
    struct Case {
        const char* name;
        std::vector<size_t> sizes;
        size_t count;
    };
    const std::vector<Case> cases = {
        {"node sizes over many blocks", {104, 120, 72, 40, 128}, 20000},
        {"odd sizes are rounded up", {1, 3, 9, 17, 33}, 5000},
        {"zero bytes still get memory of their own", {0, 8}, 100},
        {"larger than a block", {600 * 1024, 16, 300 * 1024}, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NodeArena arena;
        fillAndCheck(arena, c.sizes, c.count);
    }
}

TEST(NodeArenaTest, MovingHandsTheBlocksOverAndLeavesAnUsableEmptyArena) {
    NodeArena first;
    auto* kept = static_cast<char*>(first.allocate(32));
    std::strcpy(kept, "kept across the move");
    NodeArena second(std::move(first));
    EXPECT_STREQ(kept, "kept across the move");
    fillAndCheck(first, {64}, 100);  // NOLINT(bugprone-use-after-move): moved-from arenas are reusable

    NodeArena third;
    third.allocate(16);
    third = std::move(second);
    EXPECT_STREQ(kept, "kept across the move");
    fillAndCheck(second, {48}, 100);  // NOLINT(bugprone-use-after-move)
}

TEST(NodeArenaTest, ScopesMakeTheirArenaCurrentAndRestoreThePreviousOne) {
    NodeArena& unscoped = currentNodeArena();
    EXPECT_FALSE(nodeArenaScoped());
    NodeArena outer;
    {
        const NodeArenaScope outerScope(outer);
        EXPECT_TRUE(nodeArenaScoped());
        EXPECT_EQ(&currentNodeArena(), &outer);
        NodeArena inner;
        {
            const NodeArenaScope innerScope(inner);
            EXPECT_EQ(&currentNodeArena(), &inner);
        }
        EXPECT_EQ(&currentNodeArena(), &outer);
    }
    EXPECT_FALSE(nodeArenaScoped());
    EXPECT_EQ(&currentNodeArena(), &unscoped);
}

#if LUMOIDL_POOL_MEMORY
TEST(NodeArenaTest, NodesComeFromTheCurrentArena) {
    NodeArena arena;
    std::vector<void*> nodes;
    {
        const NodeArenaScope scope(arena);
        std::string name = "LumoString";
        auto* type = new ParserType(name, nullptr);
        auto* argument = new ParserArg();
        argument->type = adoptOrphan(type);
        nodes = {type, argument};
        // The arena hands out memory in order, so the next allocation comes right after.
        auto* next = static_cast<char*>(arena.allocate(8));
        EXPECT_GT(next, static_cast<char*>(nodes.back()));
        EXPECT_LT(next - static_cast<char*>(nodes.front()), 4096);
        delete adoptOrphan(argument);  // destroys the type too; the arena keeps the memory
    }
    EXPECT_EQ(registeredOrphans(), 0u);
}
#endif

}  // namespace
