// Blocks of the node arena and the current arena.
#include "tree/node_arena.h"

#include <algorithm>
#include <new>
#include <utility>

namespace ZEMRA::IDL::PARSER {
namespace {

/// Bytes of one block: large enough that a block holds a few thousand nodes.
constexpr size_t kBlockBytes = 256 * 1024;

}  // namespace

struct NodeArena::Block {
    Block* previous;
};

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
    // The block header takes the first kAlignment bytes, so what follows stays aligned.
    static_assert(sizeof(Block) <= kAlignment);
    const size_t bytes = std::max(kBlockBytes, size + kAlignment);
    char* memory = static_cast<char*>(::operator new(bytes));
    blocks_ = new (memory) Block{blocks_};
    next_ = memory + kAlignment;
    end_ = memory + bytes;
}

void NodeArena::freeBlocks() {
    while (blocks_) {
        Block* previous = blocks_->previous;
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
