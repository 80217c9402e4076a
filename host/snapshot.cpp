// Reading a whole result through the interface tables into plain C++ values.
#include "host/snapshot.h"

#include "host/host_string.h"
#include "host/references.h"

namespace lumoidl::host {
namespace {

/// Reads the attributes of any declaration record through its attribute slots.
template <class Record, class Count, class Name, class Value, class ByName>
std::vector<AttributeInfo> readAttributes(Record* record, Count count, Name name, Value value, ByName byName) {
    std::vector<AttributeInfo> attributes;
    const int32_t n = count(record);
    for (int32_t i = 0; i < n; ++i) {
        AttributeInfo attribute;
        attribute.name = readText([&](ILumoString* s) { name(record, i, s); });
        attribute.value = readText([&](ILumoString* s) { value(record, i, s); });
        // A flag answers "not found" when asked for its value by name.
        HostString key = HostString::fromUtf8(attribute.name);
        HostString ignored;
        attribute.hasValue = byName(record, key.record(), ignored.record()) == LUMO_OK;
        attributes.push_back(std::move(attribute));
    }
    return attributes;
}

#define LUMO_READ_ATTRIBUTES(Interface, record)                                                     \
    readAttributes(record, &Interface##_getAttributeCount, &Interface##_getAttributeName,         \
                   &Interface##_getAttributeValue, &Interface##_getAttributeValueByName)

TypeInfo readType(ILumoIDLType* type) {
    TypeInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLType_getName(type, s); });
    info.kind = ILumoIDLType_getKind(type);
    info.templateParameterIndex = ILumoIDLType_getTemplateParameterIndex(type);
    info.uuid = uuidText(ILumoIDLType_getUUID(type));
    const int32_t count = ILumoIDLType_getTemplateArgumentCount(type);
    for (int32_t i = 0; i < count; ++i) {
        ILumoIDLType* argument = nullptr;
        if (ILumoIDLType_getTemplateArgument(type, i, &argument) == LUMO_OK && argument)
            info.templateArguments.push_back(readType(argument));
    }
    return info;
}

MethodInfo readMethod(ILumoIDLMethod* method) {
    MethodInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLMethod_getName(method, s); });
    info.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLMethod, method);
    ILumoIDLType* returnType = nullptr;
    ILumoIDLMethod_getReturnType(method, &returnType);
    if (returnType) info.returnType = readType(returnType);
    const int32_t count = ILumoIDLMethod_getArgumentCount(method);
    for (int32_t i = 0; i < count; ++i) {
        ILumoIDLMethodArgument* argument = nullptr;
        if (ILumoIDLMethod_getArgument(method, i, &argument) != LUMO_OK || !argument) continue;
        ArgumentInfo arg;
        arg.name = readText([&](ILumoString* s) { ILumoIDLMethodArgument_getName(argument, s); });
        arg.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLMethodArgument, argument);
        arg.type = readType(ILumoIDLMethodArgument_getType(argument));
        info.arguments.push_back(std::move(arg));
    }
    return info;
}

InterfaceInfo readInterface(ILumoIDLInterface* iface) {
    InterfaceInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLInterface_getName(iface, s); });
    info.qualifiedName = readText([&](ILumoString* s) { ILumoIDLInterface_getLibraryName(iface, s); }) + "::" + info.name;
    info.uuid = uuidText(ILumoIDLInterface_getUUID(iface));
    info.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLInterface, iface);
    const int32_t parameters = ILumoIDLInterface_getTemplateParameterCount(iface);
    for (int32_t i = 0; i < parameters; ++i)
        info.templateParameters.push_back(
            readText([&](ILumoString* s) { ILumoIDLInterface_getTemplateParameterName(iface, i, s); }));
    const int32_t methods = ILumoIDLInterface_getMethodCount(iface);
    for (int32_t i = 0; i < methods; ++i) {
        ILumoIDLMethod* method = nullptr;
        if (ILumoIDLInterface_getMethod(iface, i, &method) == LUMO_OK && method)
            info.methods.push_back(readMethod(method));
    }
    return info;
}

EnumerationInfo readEnumeration(ILumoIDLEnumeration* enumeration) {
    EnumerationInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLEnumeration_getName(enumeration, s); });
    info.qualifiedName =
        readText([&](ILumoString* s) { ILumoIDLEnumeration_getLibraryName(enumeration, s); }) + "::" + info.name;
    info.uuid = uuidText(ILumoIDLEnumeration_getUUID(enumeration));
    info.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLEnumeration, enumeration);
    const int32_t count = ILumoIDLEnumeration_getItemCount(enumeration);
    for (int32_t i = 0; i < count; ++i) {
        ItemInfo item;
        item.name = readText([&](ILumoString* s) { ILumoIDLEnumeration_getItemName(enumeration, i, s); });
        ILumoIDLEnumeration_getItemValue(enumeration, i, &item.value);
        info.items.push_back(std::move(item));
    }
    return info;
}

CategoryIDInfo readCategoryID(ILumoIDLCategoryID* categoryID) {
    CategoryIDInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLCategoryID_getName(categoryID, s); });
    info.qualifiedName =
        readText([&](ILumoString* s) { ILumoIDLCategoryID_getLibraryName(categoryID, s); }) + "::" + info.name;
    info.uuid = uuidText(ILumoIDLCategoryID_getUUID(categoryID));
    info.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLCategoryID, categoryID);
    return info;
}

LibraryInfo readLibrary(ILumoIDLLibrary* library) {
    LibraryInfo info;
    info.name = readText([&](ILumoString* s) { ILumoIDLLibrary_getName(library, s); });
    info.uuid = uuidText(ILumoIDLLibrary_getUUID(library));
    info.attributes = LUMO_READ_ATTRIBUTES(ILumoIDLLibrary, library);
    for (int32_t i = 0, n = ILumoIDLLibrary_getInterfaceCount(library); i < n; ++i) {
        ILumoIDLInterface* iface = nullptr;
        if (ILumoIDLLibrary_getInterface(library, i, &iface) == LUMO_OK && iface)
            info.interfaces.push_back(readInterface(iface));
    }
    for (int32_t i = 0, n = ILumoIDLLibrary_getEnumerationCount(library); i < n; ++i) {
        ILumoIDLEnumeration* enumeration = nullptr;
        if (ILumoIDLLibrary_getEnumeration(library, i, &enumeration) == LUMO_OK && enumeration)
            info.enumerations.push_back(readEnumeration(enumeration));
    }
    for (int32_t i = 0, n = ILumoIDLLibrary_getCategoryIDCount(library); i < n; ++i) {
        ILumoIDLCategoryID* categoryID = nullptr;
        if (ILumoIDLLibrary_getCategoryID(library, i, &categoryID) == LUMO_OK && categoryID)
            info.categoryIDs.push_back(readCategoryID(categoryID));
    }
    return info;
}

}  // namespace

ResultSnapshot takeSnapshot(ILumoIDLParseResult* result) {
    ResultSnapshot snapshot;
    for (int32_t i = 0, n = ILumoIDLParseResult_getLibraryCount(result); i < n; ++i) {
        ILumoIDLLibrary* record = nullptr;
        if (ILumoIDLParseResult_getLibrary(result, i, &record) != LUMO_OK || !record) continue;
        LibraryRef library(record);
        snapshot.libraries.push_back(readLibrary(library.get()));
    }
    for (int32_t i = 0, n = ILumoIDLParseResult_getInterfaceCount(result); i < n; ++i) {
        ILumoIDLInterface* iface = nullptr;
        if (ILumoIDLParseResult_getInterface(result, i, &iface) != LUMO_OK || !iface) continue;
        snapshot.interfaceOrder.push_back(
            readText([&](ILumoString* s) { ILumoIDLInterface_getLibraryName(iface, s); }) + "::" +
            readText([&](ILumoString* s) { ILumoIDLInterface_getName(iface, s); }));
    }
    return snapshot;
}

std::string uuidText(const LumoUUID* uuid) {
    if (!uuid) return {};
    bool zero = true;
    for (uint8_t byte : uuid->bytes) zero = zero && byte == 0;
    if (zero) return {};
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int k = 0; k < 16; ++k) {
        if (k == 4 || k == 6 || k == 8 || k == 10) text += '-';
        text += kDigits[uuid->bytes[k] >> 4];
        text += kDigits[uuid->bytes[k] & 0xF];
    }
    return text;
}

const char* kindName(uint32_t kind) {
    static const char* const kNames[] = {
        "unresolved",       "LUMORESULT",       "LumoString",          "LumoInteger",
        "LumoBoolean",      "LumoReal",         "object",              "LumoArrayString",
        "LumoValue",        "LumoArrayInteger", "LumoArrayBoolean",    "LumoArrayReal",
        "LumoArrayEnumeration", "enumeration",  "LumoArrayValue",      "LumoArrayByte",
        "LumoUUID",         "LumoWindowId",     "template parameter",
    };
    return kind < sizeof kNames / sizeof kNames[0] ? kNames[kind] : "unknown";
}

}  // namespace lumoidl::host
