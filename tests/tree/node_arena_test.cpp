// NodeArena: aligned, disjoint memory across blocks, moves, and which arena new nodes come from.
#include "tree/node_arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Makes `count` allocations of sizes cycling through `sizes`, each filled with a byte of its own, and
/// checks that they are aligned, that no two overlap and that every byte kept its value.
void fillAndCheck(NodeArena& arena, const std::vector<size_t>& sizes, size_t count) {
    std::map<uintptr_t, std::pair<size_t, char>> spans;  // address to size and byte
    for (size_t i = 0; i < count; ++i) {
        const auto fill = std::pair(sizes[i % sizes.size()], static_cast<char>(i));
        const auto address = reinterpret_cast<uintptr_t>(arena.allocate(fill.first));
        ASSERT_EQ(address % NodeArena::kAlignment, 0u) << "allocation " << i;
        std::memset(reinterpret_cast<char*>(address), fill.second, fill.first);
        ASSERT_TRUE(spans.emplace(address, fill).second) << "allocation " << i << " reuses an address";
    }
    uintptr_t end = 0;
    for (const auto& [start, fill] : spans) {
        ASSERT_GE(start, end) << "allocations overlap";
        end = start + fill.first;
        for (size_t k = 0; k < fill.first; ++k) ASSERT_EQ(reinterpret_cast<const char*>(start)[k], fill.second);
    }
}

TEST(NodeArenaTest, AllocationsAreAlignedDisjointAndKeepTheirBytes) {
    const std::pair<std::vector<size_t>, size_t> cases[] = {
        {{104, 120, 72, 40, 128}, 8000}, {{0, 1, 3, 9, 17, 33}, 600}, {{600 * 1024, 16, 300 * 1024}, 6}};
    for (const auto& [sizes, count] : cases) {
        NodeArena arena;
        fillAndCheck(arena, sizes, count);
    }
}

TEST(NodeArenaTest, MovesHandTheBlocksOverAndLeaveUsableEmptyArenas) {
    NodeArena target;
    target.allocate(16);
    char* kept = nullptr;
    {
        NodeArena source;
        kept = std::strcpy(static_cast<char*>(source.allocate(32)), "kept across moves");
        NodeArena middle(std::move(source));
        target = std::move(middle);
        fillAndCheck(source, {64}, 100);  // NOLINT(bugprone-use-after-move): moved-from arenas are reusable
        fillAndCheck(middle, {64}, 100);  // NOLINT(bugprone-use-after-move)
    }
    EXPECT_STREQ(kept, "kept across moves");
}

TEST(NodeArenaTest, ScopeMakesItsArenaCurrentAndNodesComeFromIt) {
    NodeArena outer;
    EXPECT_FALSE(nodeArenaScoped());
    {
        const NodeArenaScope scope(outer);
        EXPECT_TRUE(nodeArenaScoped());
        EXPECT_EQ(&currentNodeArena(), &outer);
#if LUMOIDL_POOL_MEMORY
        // The arena hands out memory in order: the node, then its attribute list's room, then the next.
        auto* node = new ParserCatID;
        node->attributes.push_back(nullptr);
        const size_t nodeSize = (sizeof(ParserCatID) + NodeArena::kAlignment - 1) & ~(NodeArena::kAlignment - 1);
        EXPECT_EQ(reinterpret_cast<char*>(node->attributes.data()), reinterpret_cast<char*>(node) + nodeSize);
        EXPECT_EQ(outer.allocate(8), node->attributes.data() + 1);
        delete node;
#endif
    }
    EXPECT_FALSE(nodeArenaScoped());
}

#if LUMOIDL_POOL_MEMORY
TEST(NodeArenaTest, AFreedBlockServesTheNextArena) {
    void* first = nullptr;
    {
        NodeArena arena;
        first = arena.allocate(8);
    }
    NodeArena next;
    EXPECT_EQ(next.allocate(8), first);
}
#endif

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
