// EnumItemIndex: item name to item for one enumeration, without a copy of any name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tree/node_arena.h"
#include "tree/node_list.h"

namespace ZEMRA::IDL::PARSER {

class ParserEnumItem;

/// Item name to item, for one enumeration: an open-addressing table of positions in the
/// enumeration's item list, so that entering an item costs no allocation and no copy of its name.
class EnumItemIndex {
public:
    /// Enters item `position` of `items`; false, entering nothing, when an entered item has
    /// the same name.
    bool enter(const CollectedList<ParserEnumItem>& items, size_t position);
    /// The entered item named `name`, or null.
    const ParserEnumItem* find(const CollectedList<ParserEnumItem>& items, std::string_view name) const;

private:
    /// The slot where `name`, of hash `hash`, is, or the empty slot where it would go.
    size_t slotOf(const CollectedList<ParserEnumItem>& items, std::string_view name, uint64_t hash) const;

    /// Per slot, the item's position + 1 in the low half (0 for an empty slot) and the high half
    /// of its name's hash in the high half, so that most slots of other names are passed over
    /// without reading their item. The size is a power of two, at least twice the items entered.
    std::vector<uint64_t> slots_;
    size_t entered_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
