// The operation tables of the library and of every declaration item interface.
#include "result/item_tables.h"

#include "result/collections.h"
#include "result/interface_order.h"
#include "result/string_boundary.h"
#include "tree/nodes.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {
namespace {

template <class T>
T& node(void* me) {
    return *static_cast<T*>(me);
}

/// Writes the string at `index` of `list`; 107 for a bad index.
LUMORESULT writeStringAt(const NodeList<NodeString>& list, int32_t index, ILumoString* text) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return LUMO_NO_SUCH_ITEM;
    writeHostString(text, list[static_cast<size_t>(index)]);
    return LUMO_OK;
}

// ---- ILumoIDLInterface ----

void interfaceGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserInterface>(me).name); }
const LumoUUID* interfaceGetUUID(void* me) { return &node<ParserInterface>(me).uuid.value; }
const LumoUUID* interfaceGetLibraryUUID(void* me) { return &node<ParserInterface>(me).libraryUuid.value; }
void interfaceGetLibraryName(void* me, ILumoString* text) {
    writeHostString(text, node<ParserInterface>(me).libraryName);
}
int32_t interfaceGetMethodCount(void* me) { return countOf(node<ParserInterface>(me).methods); }
LUMORESULT interfaceGetMethod(void* me, int32_t index, ILumoIDLMethod** out) {
    return elementAt(node<ParserInterface>(me).methods, index, out);
}
int32_t interfaceGetTemplateParameterCount(void* me) {
    return static_cast<int32_t>(node<ParserInterface>(me).templateParameters.size());
}
LUMORESULT interfaceGetTemplateParameterName(void* me, int32_t index, ILumoString* text) {
    return writeStringAt(node<ParserInterface>(me).templateParameters, index, text);
}

// ---- ILumoIDLMethod ----

void methodGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserMethod>(me).name); }
void methodGetReturnType(void* me, ILumoIDLType** out) {
    ParserType* type = node<ParserMethod>(me).returnType;
    if (out) *out = type ? &type->record : nullptr;
}
int32_t methodGetArgumentCount(void* me) { return countOf(node<ParserMethod>(me).arguments); }
LUMORESULT methodGetArgument(void* me, int32_t index, ILumoIDLMethodArgument** out) {
    return elementAt(node<ParserMethod>(me).arguments, index, out);
}

// ---- ILumoIDLMethodArgument ----

ILumoIDLType* argumentGetType(void* me) {
    ParserType* type = node<ParserArg>(me).type;
    return type ? &type->record : nullptr;
}
void argumentGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserArg>(me).name); }

// ---- ILumoIDLEnumeration ----

void enumerationGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserEnumeration>(me).name); }
const LumoUUID* enumerationGetUUID(void* me) { return &node<ParserEnumeration>(me).uuid.value; }
const LumoUUID* enumerationGetLibraryUUID(void* me) { return &node<ParserEnumeration>(me).libraryUuid.value; }
void enumerationGetLibraryName(void* me, ILumoString* text) {
    writeHostString(text, node<ParserEnumeration>(me).libraryName);
}
int32_t enumerationGetItemCount(void* me) { return countOf(node<ParserEnumeration>(me).items); }
const ParserEnumItem* itemAt(void* me, int32_t index) {
    const auto& items = node<ParserEnumeration>(me).items;
    if (index < 0 || static_cast<size_t>(index) >= items.size()) return nullptr;
    return items[static_cast<size_t>(index)];
}
LUMORESULT enumerationGetItemName(void* me, int32_t index, ILumoString* text) {
    const ParserEnumItem* item = itemAt(me, index);
    if (!item) return LUMO_NO_SUCH_ITEM;
    writeHostString(text, item->name);
    return LUMO_OK;
}
LUMORESULT enumerationGetItemValue(void* me, int32_t index, int32_t* value) {
    const ParserEnumItem* item = itemAt(me, index);
    if (!item) return LUMO_NO_SUCH_ITEM;
    if (!value) return LUMO_NULL_POINTER;
    *value = item->value;
    return LUMO_OK;
}
LUMORESULT enumerationGetItemValueByName(void* me, ILumoString* name, int32_t* value) {
    const auto& enumeration = node<ParserEnumeration>(me);
    const ParserEnumItem* found = enumeration.itemIndex.find(enumeration.items, readHostString(name));
    if (!found) return LUMO_NO_SUCH_ITEM;
    if (!value) return LUMO_NULL_POINTER;
    *value = found->value;
    return LUMO_OK;
}
int32_t enumerationHasItem(void* me, ILumoString* name) {
    const auto& enumeration = node<ParserEnumeration>(me);
    return enumeration.itemIndex.find(enumeration.items, readHostString(name)) ? 1 : 0;
}

// ---- ILumoIDLCategoryID ----

void categoryGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserCatID>(me).name); }
const LumoUUID* categoryGetUUID(void* me) { return &node<ParserCatID>(me).uuid.value; }
const LumoUUID* categoryGetLibraryUUID(void* me) { return &node<ParserCatID>(me).libraryUuid.value; }
void categoryGetLibraryName(void* me, ILumoString* text) {
    writeHostString(text, node<ParserCatID>(me).libraryName);
}

// ---- ILumoIDLType ----

const LumoUUID* typeGetUUID(void* me) { return &node<ParserType>(me).uuid; }
void typeGetName(void* me, ILumoString* text) { writeHostString(text, node<ParserType>(me).name); }
uint32_t typeGetKind(void* me) { return node<ParserType>(me).kind; }
int32_t typeGetTemplateParameterIndex(void* me) { return node<ParserType>(me).templateParameterIndex; }
int32_t typeGetTemplateArgumentCount(void* me) { return countOf(node<ParserType>(me).templateArguments); }
LUMORESULT typeGetTemplateArgument(void* me, int32_t index, ILumoIDLType** out) {
    const auto& arguments = node<ParserType>(me).templateArguments;
    if (!out) return LUMO_NULL_POINTER;
    if (index < 0 || static_cast<size_t>(index) >= arguments.size()) return LUMO_NO_SUCH_ITEM;
    *out = &arguments[static_cast<size_t>(index)]->record;
    return LUMO_OK;
}

// ---- ILumoIDLLibrary ----

ParserLibrary& library(void* me) { return node<ParserLibrary>(me); }
void libraryAddReference(void* me) { library(me).addReference(); }
void libraryRelease(void* me) { library(me).release(); }
int32_t libraryGetCategoryIDCount(void* me) { return countOf(library(me).categoryIDs); }
LUMORESULT libraryGetCategoryID(void* me, int32_t index, ILumoIDLCategoryID** out) {
    return elementAt(library(me).categoryIDs, index, out);
}
LUMORESULT libraryGetCategoryIDByName(void* me, ILumoString* name, ILumoIDLCategoryID** out) {
    return elementByName(library(me).categoryIDsByName, name, out);
}
LUMORESULT libraryGetCategoryIDByUUID(void* me, const LumoUUID* uuid, ILumoIDLCategoryID** out) {
    return elementByUuid(library(me).categoryIDsByUuid, uuid, out);
}
int32_t libraryGetEnumerationCount(void* me) { return countOf(library(me).enumerations); }
LUMORESULT libraryGetEnumeration(void* me, int32_t index, ILumoIDLEnumeration** out) {
    return elementAt(library(me).enumerations, index, out);
}
LUMORESULT libraryGetEnumerationByName(void* me, ILumoString* name, ILumoIDLEnumeration** out) {
    return elementByName(library(me).enumerationsByName, name, out);
}
LUMORESULT libraryGetEnumerationByUUID(void* me, const LumoUUID* uuid, ILumoIDLEnumeration** out) {
    return elementByUuid(library(me).enumerationsByUuid, uuid, out);
}
int32_t libraryGetInterfaceCount(void* me) { return countOf(library(me).interfaces); }
LUMORESULT libraryGetInterface(void* me, int32_t index, ILumoIDLInterface** out) {
    return elementAt(library(me).interfaces, index, out);
}
LUMORESULT libraryGetInterfaceByName(void* me, ILumoString* name, ILumoIDLInterface** out) {
    return elementByName(library(me).interfacesByName, name, out);
}
LUMORESULT libraryGetInterfaceByUUID(void* me, const LumoUUID* uuid, ILumoIDLInterface** out) {
    return elementByUuid(library(me).interfacesByUuid, uuid, out);
}
LumoBool librarySortInterfaces(void* me) {
    return sortInterfaceList(library(me).interfaces, library(me).interfacesByUuid) ? 1 : 0;
}
void libraryGetName(void* me, ILumoString* text) { writeHostString(text, library(me).name); }
const LumoUUID* libraryGetUUID(void* me) { return &library(me).uuid.value; }

}  // namespace

#define LUMO_ATTRIBUTE_SLOTS(T)                                                                  \
    &AttributeAdapter<T>::getAttributeCount, &AttributeAdapter<T>::getAttributeName,             \
        &AttributeAdapter<T>::getAttributeValue, &AttributeAdapter<T>::getAttributeValueByName, \
        &AttributeAdapter<T>::hasAttribute

const ILumoIDLInterfaceVtbl kInterfaceTable = {
    LUMO_ATTRIBUTE_SLOTS(ParserInterface),
    &interfaceGetName,
    &interfaceGetUUID,
    &interfaceGetLibraryUUID,
    &interfaceGetLibraryName,
    &interfaceGetMethodCount,
    &interfaceGetMethod,
    &interfaceGetTemplateParameterCount,
    &interfaceGetTemplateParameterName,
};

const ILumoIDLMethodVtbl kMethodTable = {
    LUMO_ATTRIBUTE_SLOTS(ParserMethod), &methodGetName, &methodGetReturnType, &methodGetArgumentCount,
    &methodGetArgument,
};

const ILumoIDLMethodArgumentVtbl kArgumentTable = {
    LUMO_ATTRIBUTE_SLOTS(ParserArg),
    &argumentGetType,
    &argumentGetName,
};

const ILumoIDLEnumerationVtbl kEnumerationTable = {
    LUMO_ATTRIBUTE_SLOTS(ParserEnumeration),
    &enumerationGetName,
    &enumerationGetUUID,
    &enumerationGetLibraryUUID,
    &enumerationGetLibraryName,
    &enumerationGetItemCount,
    &enumerationGetItemName,
    &enumerationGetItemValue,
    &enumerationGetItemValueByName,
    &enumerationHasItem,
};

const ILumoIDLCategoryIDVtbl kCategoryIDTable = {
    LUMO_ATTRIBUTE_SLOTS(ParserCatID), &categoryGetName, &categoryGetUUID, &categoryGetLibraryUUID,
    &categoryGetLibraryName,
};

const ILumoIDLTypeVtbl kTypeTable = {
    &typeGetUUID,
    &typeGetName,
    &typeGetKind,
    &typeGetTemplateParameterIndex,
    &typeGetTemplateArgumentCount,
    &typeGetTemplateArgument,
};

const ILumoIDLLibraryVtbl kLibraryTable = {
    &libraryAddReference,
    &libraryRelease,
    LUMO_ATTRIBUTE_SLOTS(ParserLibrary),
    &libraryGetCategoryIDCount,
    &libraryGetCategoryID,
    &libraryGetCategoryIDByName,
    &libraryGetCategoryIDByUUID,
    &libraryGetEnumerationCount,
    &libraryGetEnumeration,
    &libraryGetEnumerationByName,
    &libraryGetEnumerationByUUID,
    &libraryGetInterfaceCount,
    &libraryGetInterface,
    &libraryGetInterfaceByName,
    &libraryGetInterfaceByUUID,
    &librarySortInterfaces,
    &libraryGetName,
    &libraryGetUUID,
};

#undef LUMO_ATTRIBUTE_SLOTS

}  // namespace ZEMRA::IDL::PARSER
