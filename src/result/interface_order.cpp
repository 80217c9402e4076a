// Dependency ordering in time linear in interfaces plus references.
#include "result/interface_order.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "result/uuid_hash.h"

namespace ZEMRA {
namespace {

bool uuidLess(const LumoUUID& a, const LumoUUID& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) < 0;
}

/// Adds to `out` the owner's interfaces that `root` refers to, descending into the template
/// arguments of object types only; nesting of any depth is walked without recursion.
void collectReferences(ILumoIDLType* root, const std::function<bool(const LumoUUID&)>& inOwner,
                       std::vector<LumoUUID>& out) {
    std::vector<ILumoIDLType*> pending{root};
    while (!pending.empty()) {
        ILumoIDLType* type = pending.back();
        pending.pop_back();
        if (!type || ILumoIDLType_getKind(type) != LUMO_KIND_OBJECT) continue;
        const LumoUUID* uuid = ILumoIDLType_getUUID(type);
        if (uuid && inOwner(*uuid)) out.push_back(*uuid);
        // Pushed in reverse so that the arguments are examined in order.
        for (int32_t i = ILumoIDLType_getTemplateArgumentCount(type) - 1; i >= 0; --i) {
            ILumoIDLType* argument = nullptr;
            if (ILumoIDLType_getTemplateArgument(type, i, &argument) == LUMO_OK) pending.push_back(argument);
        }
    }
}

/// The distinct uuids that `record`'s method signatures refer to.
std::vector<LumoUUID> referencesOf(ILumoIDLInterface* record,
                                   const std::function<bool(const LumoUUID&)>& inOwner) {
    std::vector<LumoUUID> refs;
    const int32_t methods = ILumoIDLInterface_getMethodCount(record);
    for (int32_t m = 0; m < methods; ++m) {
        ILumoIDLMethod* method = nullptr;
        if (ILumoIDLInterface_getMethod(record, m, &method) != LUMO_OK || !method) continue;
        ILumoIDLType* returnType = nullptr;
        ILumoIDLMethod_getReturnType(method, &returnType);
        collectReferences(returnType, inOwner, refs);
        const int32_t arguments = ILumoIDLMethod_getArgumentCount(method);
        for (int32_t a = 0; a < arguments; ++a) {
            ILumoIDLMethodArgument* argument = nullptr;
            if (ILumoIDLMethod_getArgument(method, a, &argument) == LUMO_OK && argument)
                collectReferences(ILumoIDLMethodArgument_getType(argument), inOwner, refs);
        }
    }
    std::sort(refs.begin(), refs.end(), uuidLess);
    refs.erase(std::unique(refs.begin(), refs.end(), UuidEqual()), refs.end());
    return refs;
}

}  // namespace

bool dependencyOrder(const std::vector<ILumoIDLInterface*>& interfaces,
                     const std::function<bool(const LumoUUID&)>& inOwner,
                     std::vector<size_t>& order) {
    order.clear();
    order.reserve(interfaces.size());
    std::unordered_set<LumoUUID, UuidHash, UuidEqual> placed;
    // For each missing uuid, the pending interfaces waiting for it in pending-list order:
    // visiting them in that order places them as a scan of the pending list from its front would.
    std::unordered_map<LumoUUID, std::vector<size_t>, UuidHash, UuidEqual> waiters;
    std::vector<size_t> missingCount(interfaces.size(), 0);
    size_t pending = 0;
    std::deque<LumoUUID> work;

    const auto place = [&](size_t index) {
        order.push_back(index);
        const LumoUUID& uuid = *ILumoIDLInterface_getUUID(interfaces[index]);
        placed.insert(uuid);
        work.push_back(uuid);
    };

    for (size_t i = 0; i < interfaces.size(); ++i) {
        const LumoUUID own = *ILumoIDLInterface_getUUID(interfaces[i]);
        size_t missing = 0;
        for (const LumoUUID& uuid : referencesOf(interfaces[i], inOwner)) {
            if (UuidEqual()(uuid, own) || placed.count(uuid)) continue;
            waiters[uuid].push_back(i);
            ++missing;
        }
        if (missing > 0) {
            missingCount[i] = missing;
            ++pending;
            continue;
        }
        place(i);
        while (!work.empty()) {
            const LumoUUID uuid = work.front();
            work.pop_front();
            const auto found = waiters.find(uuid);
            if (found == waiters.end()) continue;
            const std::vector<size_t> released = std::move(found->second);
            waiters.erase(found);
            for (size_t waiting : released) {
                if (--missingCount[waiting] == 0) {
                    --pending;
                    place(waiting);
                }
            }
        }
    }
    return pending == 0;
}

}  // namespace ZEMRA
