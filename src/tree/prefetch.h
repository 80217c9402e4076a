// PrefetchAhead: keeps the caches ahead of a pass that walks the tree in source order.
#pragma once

#include <cstdint>

namespace ZEMRA::IDL::PARSER {

/// Keeps the caches a stretch ahead of a walk over the tree in source order. The parser makes
/// nodes one after the other in its library's arena, so a pass that visits declarations in
/// source order (the checks, type resolution) reads memory that mostly ascends; but it jumps
/// between nodes of different kinds too irregularly for the processor to see the stream, and a
/// large file's nodes are long out of the caches when the pass runs. Told where the walk is,
/// this asks for the memory from there to kAheadBytes further. A prefetch is only a hint: one
/// past the end of an arena block reads nothing and cannot fault.
class PrefetchAhead {
public:
    /// The walk has reached `node`.
    void at(const void* node) {
        const auto here = reinterpret_cast<uintptr_t>(node) & ~(kLine - 1);
        // A walk that moved back, or far forward into another block, starts a new stretch.
        if (here > next_ || next_ - here > kAheadBytes) next_ = here;
        for (; next_ <= here + kAheadBytes; next_ += kLine) __builtin_prefetch(reinterpret_cast<const void*>(next_));
    }

private:
    static constexpr uintptr_t kLine = 64;
    /// About six methods of three arguments.
    static constexpr uintptr_t kAheadBytes = 4096;
    /// The first line not yet asked for.
    uintptr_t next_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
