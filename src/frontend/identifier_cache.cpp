// Filling the identifier cache with the built-in type names, storing new texts, and clearing it down to the built-in names.
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

const char* IdentifierCache::store(Slot& slot, const Key& key, std::string_view text) {
    const char* copy = NodeString(text).data();
    if (!slot.data) {
        filled_[filledCount_++] = static_cast<uint16_t>(&slot - slots_.data());
        slot = {copy, key};
    } else if (commonBuiltinKind(slot.data) == 0) {
        slot = {copy, key};
    }
    return copy;
}

void IdentifierCache::clear() {
    for (size_t i = 0; i < filledCount_; ++i) slots_[filled_[i]].data = nullptr;
    filledCount_ = 0;
}

}  // namespace ZEMRA::IDL::PARSER
