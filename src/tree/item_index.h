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
    /// The slot where `name` is, or the empty slot where it would go.
    size_t slotOf(const CollectedList<ParserEnumItem>& items, std::string_view name) const;

    /// Item position + 1 per slot, 0 for an empty one; the size is a power of two, at least
    /// twice the items entered.
    std::vector<uint32_t> slots_;
    size_t entered_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
