// Dependency ordering of an interface list (sortInterfaces of the result and of a library).
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "result/collections.h"

namespace ZEMRA {

/// Computes an order of `interfaces` in which each comes after the interfaces its method
/// signatures refer to, counting only references for which `inOwner` is true. Fills `order`
/// with indexes into `interfaces` and returns true, or returns false on a cycle.
bool dependencyOrder(const std::vector<ILumoIDLInterface*>& interfaces,
                     const std::function<bool(const LumoUUID&)>& inOwner,
                     std::vector<size_t>& order);

/// Reorders `list` into dependency order, counting references to the interfaces in `owned`.
/// Returns false and leaves `list` unchanged when the references contain a cycle.
template <class Element>
bool sortInterfaceList(std::vector<Element*>& list, const UuidIndex<Element>& owned) {
    if (list.size() < 2) return true;
    const std::vector<ILumoIDLInterface*> records(list.begin(), list.end());
    std::vector<size_t> order;
    const auto inOwner = [&owned](const LumoUUID& uuid) { return owned.count(uuid) != 0; };
    if (!dependencyOrder(records, inOwner, order)) return false;
    std::vector<Element*> sorted;
    sorted.reserve(list.size());
    for (size_t index : order) sorted.push_back(list[index]);
    list.swap(sorted);
    return true;
}

}  // namespace ZEMRA
