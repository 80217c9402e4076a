// A host-side copy of a whole parse result, read once through the interface tables.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"

namespace lumoidl::host {

/// One attribute as written; a flag has no value.
struct AttributeInfo {
    std::string name;       ///< attribute name
    bool hasValue = false;  ///< true when a value was written
    std::string value;      ///< the value, empty for a flag
};

/// A resolved type reference.
struct TypeInfo {
    std::string name;                       ///< qualified for interfaces and enumerations
    uint32_t kind = 0;                      ///< LumoTypeKind
    int32_t templateParameterIndex = -1;    ///< for kind 18, else -1
    std::string uuid;                       ///< text form, empty when all zero
    std::vector<TypeInfo> templateArguments;  ///< in source order
};

/// One method argument.
struct ArgumentInfo {
    std::string name;                       ///< argument name
    std::vector<AttributeInfo> attributes;  ///< in, out, retval
    TypeInfo type;                          ///< resolved type
};

/// One method.
struct MethodInfo {
    std::string name;                       ///< method name
    std::vector<AttributeInfo> attributes;  ///< property and naming attributes
    TypeInfo returnType;                    ///< resolved return type
    std::vector<ArgumentInfo> arguments;    ///< in source order
};

/// One interface.
struct InterfaceInfo {
    std::string name;                        ///< declared name
    std::string qualifiedName;               ///< library name, "::", name
    std::string uuid;                        ///< text form
    std::vector<AttributeInfo> attributes;   ///< as written
    std::vector<std::string> templateParameters;  ///< in source order
    std::vector<MethodInfo> methods;         ///< in source order
};

/// One enumeration item.
struct ItemInfo {
    std::string name;   ///< item name
    int32_t value = 0;  ///< item value
};

/// One enumeration.
struct EnumerationInfo {
    std::string name;                       ///< declared name
    std::string qualifiedName;              ///< library name, "::", name
    std::string uuid;                       ///< text form
    std::vector<AttributeInfo> attributes;  ///< as written
    std::vector<ItemInfo> items;            ///< in source order
};

/// One category ID.
struct CategoryIDInfo {
    std::string name;                       ///< declared name
    std::string qualifiedName;              ///< library name, "::", name
    std::string uuid;                       ///< text form
    std::vector<AttributeInfo> attributes;  ///< as written
};

/// One library with its declarations, each list in the library's order.
struct LibraryInfo {
    std::string name;                          ///< library name
    std::string uuid;                          ///< text form
    std::vector<AttributeInfo> attributes;     ///< as written
    std::vector<InterfaceInfo> interfaces;     ///< the library's interface order
    std::vector<EnumerationInfo> enumerations; ///< declaration order
    std::vector<CategoryIDInfo> categoryIDs;   ///< declaration order
};

/// The whole result: libraries in input order, and the result's own interface order.
struct ResultSnapshot {
    std::vector<LibraryInfo> libraries;       ///< in input-file order
    std::vector<std::string> interfaceOrder;  ///< qualified names in the result's list order
};

/// Reads every library and declaration of a successful result.
ResultSnapshot takeSnapshot(ILumoIDLParseResult* result);

/// The 36-character upper-case text form of a uuid, or empty when all its bytes are zero.
std::string uuidText(const LumoUUID* uuid);

/// The name of a type kind ("LumoString", "object", "enumeration", "template parameter").
const char* kindName(uint32_t kind);

}  // namespace lumoidl::host
