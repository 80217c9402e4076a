// The conventions every list of the result model follows: counts, index access, look-ups.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "result/flat_index.h"
#include "result/string_boundary.h"
#include "result/uuid_hash.h"
#include "tree/name_hash.h"

namespace ZEMRA {

/// Hash of a qualified name for the name indexes.
struct NameHash {
    /// The hash of `name`.
    uint64_t operator()(std::string_view name) const noexcept { return IDL::PARSER::hashName(name); }
};

/// Equality of the bytes of two names.
struct NameEqual {
    /// True when both names have the same bytes.
    bool operator()(std::string_view a, std::string_view b) const noexcept { return a == b; }
};

/// Index from qualified name (exact UTF-8 bytes) to an element. The names are the declarations'
/// own stored qualified names, which live as long as the declarations.
template <class Element>
using NameIndex = FlatIndex<std::string_view, Element, NameHash, NameEqual>;

/// Index from uuid to an element.
template <class Element>
using UuidIndex = FlatIndex<LumoUUID, Element, UuidHash, UuidEqual>;

/// Number of elements of `list` (a list of element pointers), as the count operations report it.
template <class List>
int32_t countOf(const List& list) {
    return static_cast<int32_t>(list.size());
}

/// Index access: 107 for an index outside the list, leaving *out untouched; otherwise writes
/// the element's interface record (null for a null element) and returns 0. A null `out`
/// gets LUMO_NULL_POINTER rather than a crash.
template <class Record, class List>
LUMORESULT elementAt(const List& list, int32_t index, Record** out) {
    if (!out) return LUMO_NULL_POINTER;
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return LUMO_NO_SUCH_ITEM;
    *out = static_cast<Record*>(list[static_cast<size_t>(index)]);
    return LUMO_OK;
}

/// Look-up by name: reads `name` from the host (null reads as empty) and matches it exactly.
/// Writes the element's record or null; returns 0 when found, 107 when not.
template <class Record, class Element>
LUMORESULT elementByName(const NameIndex<Element>& index, ILumoString* name, Record** out) {
    if (!out) return LUMO_NULL_POINTER;
    Element* const found = index.find(readHostString(name));
    *out = static_cast<Record*>(found);
    return found ? LUMO_OK : LUMO_NO_SUCH_ITEM;
}

/// Look-up by uuid: compares all 16 bytes. Writes the element's record or null; returns 0
/// when found, 107 when not (also for a null uuid pointer).
template <class Record, class Element>
LUMORESULT elementByUuid(const UuidIndex<Element>& index, const LumoUUID* uuid, Record** out) {
    if (!out) return LUMO_NULL_POINTER;
    Element* const found = uuid ? index.find(*uuid) : nullptr;
    *out = static_cast<Record*>(found);
    return found ? LUMO_OK : LUMO_NO_SUCH_ITEM;
}

}  // namespace ZEMRA
