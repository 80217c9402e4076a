// The open-addressing table of TextInterner.
#include "frontend/text_interner.h"

#include <algorithm>
#include <cstring>

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {
const char* TextInterner::add(std::string_view text, size_t slot, uint8_t tag) {
    const char* held = NodeString(text).data();
    slots_[slot] = held;
    tags_[slot] = tag;
    ++count_;
    return held;
}

void TextInterner::clear() {
    // A table that the last file filled to less than an eighth starts small again, so that a run
    // of small files after a large one does not clear room that it never uses.
    if (slots_.size() <= kSmallest || 8 * count_ >= slots_.size()) {
        std::fill(slots_.begin(), slots_.end(), nullptr);
    } else {
        slots_.clear();
    }
    if (slots_.empty()) {
        slots_.assign(kSmallest, nullptr);
        tags_.assign(kSmallest, 0);
    }
    count_ = 0;
    for (const BuiltinName& builtin : kBuiltinNames) enter(commonText(builtin.name));
}

size_t TextInterner::freeSlot(uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    size_t slot = static_cast<size_t>(hash) & mask;
    while (slots_[slot]) slot = (slot + 1) & mask;
    return slot;
}

void TextInterner::enter(const char* held) {
    const uint64_t hash = hashName(NodeString::fromData(held));
    const size_t slot = freeSlot(hash);
    slots_[slot] = held;
    tags_[slot] = tagOf(hash);
    ++count_;
}

void TextInterner::grow() {
    std::vector<const char*> old(4 * slots_.size(), nullptr);
    old.swap(slots_);
    tags_.assign(slots_.size(), 0);
    count_ = 0;
    for (const char* held : old)
        if (held) enter(held);
}

}  // namespace ZEMRA::IDL::PARSER
