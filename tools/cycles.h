// Finding a cycle among the references that put interfaces into dependency order.
#pragma once

#include <string>
#include <vector>

#include "host/snapshot.h"

namespace lumoidl::tool {

/// One cycle of the references that the library's sort counts: an interface refers to another
/// of the result when a method's return or argument type is that interface, or an object type
/// whose template arguments name it (at any depth); references to itself do not count. The
/// cycle starts at the first interface of `snapshot.interfaceOrder` that lies on one and follows
/// references in signature order. Returns its qualified names with the first repeated at the
/// end, or nothing when the references form no cycle.
std::vector<std::string> findCycle(const host::ResultSnapshot& snapshot);

}  // namespace lumoidl::tool
