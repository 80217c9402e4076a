// AttributeAdapter<T>: the five attribute operations at the head of every declaration table.
#pragma once

#include <cstdint>

#include "lumoidl/lumoidl.h"
#include "result/string_boundary.h"
#include "tree/attributes.h"

namespace ZEMRA::IDL::PARSER {

/// Supplies the attribute operations of node class T, reaching T's attribute list from the
/// interface's object pointer (which is the T object itself). Stateless.
template <class T>
class AttributeAdapter {
public:
    /// Number of attributes written.
    static int32_t getAttributeCount(void* me) { return static_cast<int32_t>(list(me).attributes.size()); }

    /// Writes the name of attribute `index`; 107 for a bad index.
    static LUMORESULT getAttributeName(void* me, int32_t index, ILumoString* text) {
        const ParserAttribute* attribute = at(me, index);
        if (!attribute) return LUMO_NO_SUCH_ITEM;
        writeHostString(text, attribute->name());
        return LUMO_OK;
    }

    /// Writes the value of attribute `index` (empty for a flag); 107 for a bad index.
    static LUMORESULT getAttributeValue(void* me, int32_t index, ILumoString* text) {
        const ParserAttribute* attribute = at(me, index);
        if (!attribute) return LUMO_NO_SUCH_ITEM;
        writeHostString(text, attribute->value());
        return LUMO_OK;
    }

    /// Writes the value of the attribute named `name`; 107 when absent or without a value.
    static LUMORESULT getAttributeValueByName(void* me, ILumoString* name, ILumoString* text) {
        const char* value = list(me).findAttributeValue(readHostString(name));
        if (!value) return LUMO_NO_SUCH_ITEM;
        writeHostString(text, value);
        return LUMO_OK;
    }

    /// 1 when an attribute named `name` was written, else 0.
    static int32_t hasAttribute(void* me, ILumoString* name) {
        return list(me).containsAttribute(readHostString(name)) ? 1 : 0;
    }

private:
    static const ParserAttribList& list(void* me) { return *static_cast<T*>(me); }

    static const ParserAttribute* at(void* me, int32_t index) {
        const auto& attributes = list(me).attributes;
        if (index < 0 || static_cast<size_t>(index) >= attributes.size()) return nullptr;
        return attributes[static_cast<size_t>(index)];
    }
};

}  // namespace ZEMRA::IDL::PARSER
