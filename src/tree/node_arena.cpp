// Blocks of the node arena and the current arena.
#include "tree/node_arena.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <utility>

namespace ZEMRA::IDL::PARSER {

struct NodeArena::Block {
    Block* previous;
    size_t bytes;
};

namespace {

/// Bytes of one block: large enough that a block holds about a thousand nodes, and small enough
/// that the many one-block arenas of a host's small files fit among the kept blocks.
constexpr size_t kBlockBytes = 64 * 1024;
/// Where a block's nodes start, after its header.
constexpr size_t kHeaderBytes = (sizeof(NodeArena::Block) + NodeArena::kAlignment - 1) & ~(NodeArena::kAlignment - 1);

/// Blocks of kBlockBytes that arenas have given back, kept for the arenas of later parses: a host
/// that parses again then reuses memory the process holds instead of having the system map
/// and clear fresh pages, which costs about as much as parsing into them. At most kLimit blocks
/// (64 MB) are kept; the rest go back to the allocator. Any thread may give a block back.
class SpareBlocks {
public:
    /// A kept block, or null.
    NodeArena::Block* take() {
        const std::lock_guard<std::mutex> lock(mutex_);
        NodeArena::Block* block = head_;
        if (block) {
            head_ = block->previous;
            --count_;
        }
        return block;
    }

    /// Keeps `block` unless enough are kept; false when the caller must free it.
    bool keep(NodeArena::Block* block) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (count_ == kLimit) return false;
        block->previous = head_;
        head_ = block;
        ++count_;
        return true;
    }

private:
    static constexpr size_t kLimit = 1024;
    std::mutex mutex_;
    NodeArena::Block* head_ = nullptr;
    size_t count_ = 0;
};

/// The process's spare blocks; never destroyed, so that an arena released late in the process's
/// exit still finds them.
SpareBlocks& spareBlocks() {
    static SpareBlocks* const blocks = new SpareBlocks();
    return *blocks;
}

}  // namespace

NodeArena::NodeArena(NodeArena&& other) noexcept
    : blocks_(std::exchange(other.blocks_, nullptr)),
      next_(std::exchange(other.next_, nullptr)),
      end_(std::exchange(other.end_, nullptr)) {}

NodeArena& NodeArena::operator=(NodeArena&& other) noexcept {
    if (this != &other) {
        freeBlocks();
        blocks_ = std::exchange(other.blocks_, nullptr);
        next_ = std::exchange(other.next_, nullptr);
        end_ = std::exchange(other.end_, nullptr);
    }
    return *this;
}

NodeArena::~NodeArena() { freeBlocks(); }

void NodeArena::addBlock(size_t size) {
    const size_t bytes = std::max(kBlockBytes, size + kHeaderBytes);
    void* memory = LUMOIDL_POOL_MEMORY && bytes == kBlockBytes ? spareBlocks().take() : nullptr;
    if (!memory) memory = ::operator new(bytes);
    blocks_ = new (memory) Block{blocks_, bytes};
    next_ = static_cast<char*>(memory) + kHeaderBytes;
    end_ = static_cast<char*>(memory) + bytes;
}

void NodeArena::freeBlocks() {
    while (blocks_) {
        Block* previous = blocks_->previous;
        if (!LUMOIDL_POOL_MEMORY || blocks_->bytes != kBlockBytes || !spareBlocks().keep(blocks_))
            ::operator delete(blocks_);
        blocks_ = previous;
    }
    next_ = end_ = nullptr;
}

NodeArena& unscopedNodeArena() {
    static NodeArena* const unscoped = new NodeArena();
    return *unscoped;
}

NodeArenaScope::NodeArenaScope(NodeArena& arena) : previous_(gScopedNodeArena) { gScopedNodeArena = &arena; }

NodeArenaScope::~NodeArenaScope() { gScopedNodeArena = previous_; }

}  // namespace ZEMRA::IDL::PARSER
