// The conventions every list of the result model follows: counts, index access, look-ups.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "result/string_boundary.h"
#include "result/uuid_hash.h"

namespace ZEMRA {

/// Index from qualified name (exact UTF-8 bytes) to an element.
template <class Element>
using NameIndex = std::unordered_map<std::string, Element*>;

/// Index from uuid to an element.
template <class Element>
using UuidIndex = std::unordered_map<LumoUUID, Element*, UuidHash, UuidEqual>;

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
    const auto found = index.find(readHostString(name));
    if (found == index.end()) {
        *out = nullptr;
        return LUMO_NO_SUCH_ITEM;
    }
    *out = static_cast<Record*>(found->second);
    return LUMO_OK;
}

/// Look-up by uuid: compares all 16 bytes. Writes the element's record or null; returns 0
/// when found, 107 when not (also for a null uuid pointer).
template <class Record, class Element>
LUMORESULT elementByUuid(const UuidIndex<Element>& index, const LumoUUID* uuid, Record** out) {
    if (!out) return LUMO_NULL_POINTER;
    const auto found = uuid ? index.find(*uuid) : index.end();
    if (found == index.end()) {
        *out = nullptr;
        return LUMO_NO_SUCH_ITEM;
    }
    *out = static_cast<Record*>(found->second);
    return LUMO_OK;
}

}  // namespace ZEMRA
