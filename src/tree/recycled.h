// Recycled<T>: memory of parse-time temporaries kept for the next object of the same size.
#pragma once

#include <cstddef>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define LUMOIDL_POOL_MEMORY 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMOIDL_POOL_MEMORY 0
#endif
#endif
#ifndef LUMOIDL_POOL_MEMORY
// Whether parse-time objects share pooled memory (recycled temporaries, node arenas). Under
// AddressSanitizer every object gets memory of its own from the global allocator, so that a use
// after deletion is still caught.
#define LUMOIDL_POOL_MEMORY 1
#endif

namespace ZEMRA::IDL::PARSER {

/// Spent blocks of `Size` bytes. Temporaries are made and deleted only while a parse runs, and
/// parses hold the process lock, so one list per size serves the process without a lock.
template <size_t Size>
class SpentBlocks {
public:
    constexpr SpentBlocks() = default;
    SpentBlocks(const SpentBlocks&) = delete;
    SpentBlocks& operator=(const SpentBlocks&) = delete;
    /// Returns the kept memory when the library is unloaded.
    ~SpentBlocks() {
        while (void* block = take()) ::operator delete(block);
    }

    /// A kept block, or null when none is kept.
    void* take() {
        if (!head_) return nullptr;
        Slot* slot = head_;
        head_ = slot->next;
        --count_;
        return slot;
    }

    /// Keeps `block` unless enough are kept already; false when the caller must free it.
    bool keep(void* block) {
        if (count_ == kLimit) return false;
        head_ = new (block) Slot{head_};
        ++count_;
        return true;
    }

private:
    /// Temporaries alive at once are those on the parser's stack; more than this are rare.
    static constexpr size_t kLimit = 64;
    struct Slot {
        Slot* next;
    };
    Slot* head_ = nullptr;
    size_t count_ = 0;
};

/// The spent blocks of one size, shared by every recycled class of that size.
template <size_t Size>
inline SpentBlocks<Size> spentBlocks;

/// Base of a parse-time temporary T (the lists the grammar collects in, attribute lists, library
/// items): deleting one keeps its memory for the next. A class derived from T, being larger,
/// gets and returns its memory through the global allocator as usual.
template <class T>
class Recycled {
public:
    /// A kept block when one is there and `size` is T's, else new memory.
    static void* operator new(size_t size) {
        if (LUMOIDL_POOL_MEMORY && size == sizeof(T))
            if (void* block = spentBlocks<sizeof(T)>.take()) return block;
        return ::operator new(size);
    }

    /// Keeps the memory of a T; frees anything else.
    static void operator delete(void* memory, size_t size) noexcept {
        if (!memory) return;
        if (LUMOIDL_POOL_MEMORY && size == sizeof(T) && spentBlocks<sizeof(T)>.keep(memory)) return;
        ::operator delete(memory);
    }
};

}  // namespace ZEMRA::IDL::PARSER
