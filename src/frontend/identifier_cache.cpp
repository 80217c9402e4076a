// Clearing the identifier cache down to the built-in type names.
#include "frontend/identifier_cache.h"

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {

void IdentifierCache::clear() {
    slots_.fill(nullptr);
    // A later built-in name that shares a slot takes it; the other is then copied like any name.
    for (const BuiltinName& builtin : kBuiltinNames) slots_[slotOf(builtin.name)] = commonText(builtin.name);
}

}  // namespace ZEMRA::IDL::PARSER
