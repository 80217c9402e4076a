// The open-addressing table behind EnumItemIndex.
#include "tree/item_index.h"

#include "tree/name_hash.h"
#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

namespace {

/// The high half of a hash, as a slot holds it.
constexpr uint64_t tagOf(uint64_t hash) { return hash & 0xFFFF'FFFF'0000'0000ull; }

/// The item position + 1 a slot holds, 0 for an empty slot.
constexpr uint32_t heldOf(uint64_t slot) { return static_cast<uint32_t>(slot); }

}  // namespace

// Inline: each item's entry probes once, and the call would cost more than the probe.
[[gnu::always_inline]] inline size_t EnumItemIndex::slotOf(const CollectedList<ParserEnumItem>& items,
                                                          std::string_view name, uint64_t hash) const {
    const size_t mask = slots_.size() - 1;
    const uint64_t tag = tagOf(hash);
    for (size_t slot = static_cast<size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        const uint64_t held = slots_[slot];
        if (heldOf(held) == 0) return slot;
        if (tagOf(held) == tag && items[heldOf(held) - 1]->name == name) return slot;
    }
}

bool EnumItemIndex::enter(const CollectedList<ParserEnumItem>& items, size_t position) {
    if (2 * (entered_ + 1) > slots_.size()) {
        // Grow to fit every item of the list at once; the checks enter them all in order.
        size_t size = 8;
        while (size < 2 * items.size()) size *= 2;
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(size, 0);
        for (uint64_t held : old) {
            if (heldOf(held) == 0) continue;
            const std::string_view name = items[heldOf(held) - 1]->name;
            slots_[slotOf(items, name, hashName(name))] = held;
        }
    }
    const std::string_view name = items[position]->name;
    const uint64_t hash = hashName(name);
    const size_t slot = slotOf(items, name, hash);
    if (slots_[slot] != 0) return false;
    slots_[slot] = tagOf(hash) | static_cast<uint32_t>(position + 1);
    ++entered_;
    return true;
}

const ParserEnumItem* EnumItemIndex::find(const CollectedList<ParserEnumItem>& items, std::string_view name) const {
    if (slots_.empty()) return nullptr;
    const uint32_t held = heldOf(slots_[slotOf(items, name, hashName(name))]);
    return held == 0 ? nullptr : items[held - 1];
}

}  // namespace ZEMRA::IDL::PARSER
