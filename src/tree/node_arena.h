// NodeArena: the memory of one file's declaration nodes, freed all at once with its library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "tree/recycled.h"

namespace ZEMRA::IDL::PARSER {

/// Hands out memory for declaration nodes from large blocks, one after another, and frees the
/// blocks when destroyed. A node's own delete gives nothing back: the nodes of a library all
/// die with it, so the arena that the library owns frees them at once. Only the parsing
/// thread allocates from an arena; any thread may destroy one.
class NodeArena {
public:
    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    /// Takes over the blocks of `other`, which is left empty.
    NodeArena(NodeArena&& other) noexcept;
    /// Frees this arena's blocks and takes over those of `other`, which is left empty.
    NodeArena& operator=(NodeArena&& other) noexcept;
    /// Frees every block.
    ~NodeArena();

    /// `size` bytes aligned for any node; distinct memory even for 0 bytes, never null.
    void* allocate(size_t size) {
        size = ((size ? size : 1) + kAlignment - 1) & ~(kAlignment - 1);
        if (static_cast<size_t>(end_ - next_) < size) addBlock(size);
        void* memory = next_;
        next_ += size;
        return memory;
    }

    /// Alignment of every allocation.
    static constexpr size_t kAlignment = 8;

    /// The header of each block of memory; blocks are chained from the newest.
    struct Block;

private:
    void addBlock(size_t size);
    void freeBlocks();

    Block* blocks_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
};

/// The arena a NodeArenaScope has made current, or null.
inline NodeArena* gScopedNodeArena = nullptr;

/// The arena that serves nodes made outside any parse (by tests); never freed.
NodeArena& unscopedNodeArena();

/// The arena new nodes come from: the one a NodeArenaScope has made current, or else the
/// unscoped one.
inline NodeArena& currentNodeArena() { return gScopedNodeArena ? *gScopedNodeArena : unscopedNodeArena(); }

/// True while a NodeArenaScope is active.
inline bool nodeArenaScoped() { return gScopedNodeArena != nullptr; }

/// Makes `arena` the current one for the life of the scope (the parsing thread, which holds
/// the process lock, does so for a parse).
class NodeArenaScope {
public:
    /// Makes `arena` current.
    explicit NodeArenaScope(NodeArena& arena);
    NodeArenaScope(const NodeArenaScope&) = delete;
    NodeArenaScope& operator=(const NodeArenaScope&) = delete;
    /// Makes the previous arena current again.
    ~NodeArenaScope();

private:
    NodeArena* previous_;
};

/// Base of a declaration node class T: its memory comes from the current arena, and deleting
/// it runs the destructors only. Under AddressSanitizer every node gets and returns memory of
/// its own, so that uses after deletion are still caught.
template <class T>
class ArenaNode {
public:
    /// Memory from the current arena.
    static void* operator new(size_t size) {
        static_assert(alignof(T) <= NodeArena::kAlignment, "arena memory is not aligned enough for this node");
        if (!LUMOIDL_POOL_MEMORY) return ::operator new(size);
        return currentNodeArena().allocate(size);
    }

    /// Gives nothing back; the arena frees the memory.
    static void operator delete(void* memory) noexcept {
        if (!LUMOIDL_POOL_MEMORY) ::operator delete(memory);
    }
};

}  // namespace ZEMRA::IDL::PARSER
