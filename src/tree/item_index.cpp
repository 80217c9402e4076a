// The open-addressing table behind EnumItemIndex.
#include "tree/item_index.h"

#include "tree/name_hash.h"
#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

size_t EnumItemIndex::slotOf(const CollectedList<ParserEnumItem>& items, std::string_view name) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = static_cast<size_t>(hashName(name)) & mask;; slot = (slot + 1) & mask) {
        const uint32_t held = slots_[slot];
        if (held == 0 || items[held - 1]->name == name) return slot;
    }
}

bool EnumItemIndex::enter(const CollectedList<ParserEnumItem>& items, size_t position) {
    if (2 * (entered_ + 1) > slots_.size()) {
        // Grow to fit every item of the list at once; the checks enter them all in order.
        size_t size = 8;
        while (size < 2 * items.size()) size *= 2;
        std::vector<uint32_t> old = std::move(slots_);
        slots_.assign(size, 0);
        for (uint32_t held : old)
            if (held != 0) slots_[slotOf(items, items[held - 1]->name)] = held;
    }
    const size_t slot = slotOf(items, items[position]->name);
    if (slots_[slot] != 0) return false;
    slots_[slot] = static_cast<uint32_t>(position + 1);
    ++entered_;
    return true;
}

const ParserEnumItem* EnumItemIndex::find(const CollectedList<ParserEnumItem>& items, std::string_view name) const {
    if (slots_.empty()) return nullptr;
    const uint32_t held = slots_[slotOf(items, name)];
    return held == 0 ? nullptr : items[held - 1];
}

}  // namespace ZEMRA::IDL::PARSER
