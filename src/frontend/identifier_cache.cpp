// Filling the identifier cache with the built-in type names, and clearing it down to them.
#include "frontend/identifier_cache.h"

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {

IdentifierCache::IdentifierCache() {
    // A later built-in name that shares a slot takes it; the other is then copied like any name.
    // Built-in names are never in filled_, so they keep their slots for good.
    for (const BuiltinName& builtin : kBuiltinNames) {
        const Key key = keyOf(builtin.name);
        slots_[slotOf(key)] = {commonText(builtin.name), key};
    }
}

void IdentifierCache::clear() {
    for (size_t i = 0; i < filledCount_; ++i) slots_[filled_[i]].data = nullptr;
    filledCount_ = 0;
}

}  // namespace ZEMRA::IDL::PARSER
