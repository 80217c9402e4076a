// The recycling of token texts: one per identifier or attribute value, each deleted by the
// grammar action that takes its text a moment later, so a short list of spent ones serves
// almost every request without a trip to the allocator.
#include "tree/token_text.h"

#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define LUMOIDL_RECYCLE_TOKEN_TEXTS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMOIDL_RECYCLE_TOKEN_TEXTS 0
#endif
#endif
#ifndef LUMOIDL_RECYCLE_TOKEN_TEXTS
// Under AddressSanitizer every token text gets memory of its own, so that a use after
// deletion is still caught.
#define LUMOIDL_RECYCLE_TOKEN_TEXTS 1
#endif

namespace ZEMRA::IDL::PARSER {
namespace {

/// Memory of deleted token texts. Token texts are made and deleted only while a parse runs,
/// and parses hold the process lock, so one list serves the process without a lock of its own.
class SpentTexts {
public:
    SpentTexts() = default;
    SpentTexts(const SpentTexts&) = delete;
    SpentTexts& operator=(const SpentTexts&) = delete;
    /// Returns the kept memory when the library is unloaded.
    ~SpentTexts() {
        while (head_) ::operator delete(take());
    }

    /// Kept memory, or null when none is kept.
    void* take() {
        if (!head_) return nullptr;
        Slot* slot = head_;
        head_ = slot->next;
        --count_;
        return slot;
    }

    /// Keeps `memory` unless enough is kept already; false when the caller must free it.
    bool keep(void* memory) {
        if (count_ == kLimit) return false;
        head_ = new (memory) Slot{head_};
        ++count_;
        return true;
    }

private:
    /// Live token texts are those on the parser's stack; more than this are rare.
    static constexpr size_t kLimit = 64;
    struct Slot {
        Slot* next;
    };
    Slot* head_ = nullptr;
    size_t count_ = 0;
};

SpentTexts gSpentTexts;

}  // namespace

void* TokenText::operator new(size_t size) {
    if (LUMOIDL_RECYCLE_TOKEN_TEXTS && size == sizeof(TokenText))
        if (void* memory = gSpentTexts.take()) return memory;
    return ::operator new(size);
}

void TokenText::operator delete(void* memory, size_t size) noexcept {
    if (!memory) return;
    if (LUMOIDL_RECYCLE_TOKEN_TEXTS && size == sizeof(TokenText) && gSpentTexts.keep(memory)) return;
    ::operator delete(memory);
}

}  // namespace ZEMRA::IDL::PARSER
