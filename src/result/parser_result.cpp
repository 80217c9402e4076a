// ParserResult and the operation table of ILumoIDLParseResult.
#include "result/parser_result.h"

#include "result/interface_order.h"
#include "result/string_boundary.h"

namespace ZEMRA::IDL::PARSER {
namespace {

ParserResult* self(void* me) { return static_cast<ParserResult*>(me); }

void addReference(void* me) { self(me)->addReference(); }
void release(void* me) { self(me)->release(); }

int32_t getCategoryIDCount(void* me) { return countOf(self(me)->categoryIDs); }
LUMORESULT getCategoryID(void* me, int32_t index, ILumoIDLCategoryID** out) {
    return elementAt(self(me)->categoryIDs, index, out);
}
LUMORESULT getCategoryIDByName(void* me, ILumoString* name, ILumoIDLCategoryID** out) {
    return elementByName(self(me)->categoryIDsByName, name, out);
}
LUMORESULT getCategoryIDByUUID(void* me, const LumoUUID* uuid, ILumoIDLCategoryID** out) {
    return elementByUuid(self(me)->categoryIDsByUuid, uuid, out);
}

int32_t getEnumerationCount(void* me) { return countOf(self(me)->enumerations); }
LUMORESULT getEnumeration(void* me, int32_t index, ILumoIDLEnumeration** out) {
    return elementAt(self(me)->enumerations, index, out);
}
LUMORESULT getEnumerationByName(void* me, ILumoString* name, ILumoIDLEnumeration** out) {
    return elementByName(self(me)->enumerationsByName, name, out);
}
LUMORESULT getEnumerationByUUID(void* me, const LumoUUID* uuid, ILumoIDLEnumeration** out) {
    return elementByUuid(self(me)->enumerationsByUuid, uuid, out);
}

int32_t getInterfaceCount(void* me) { return countOf(self(me)->interfaces); }
LUMORESULT getInterface(void* me, int32_t index, ILumoIDLInterface** out) {
    return elementAt(self(me)->interfaces, index, out);
}
LUMORESULT getInterfaceByName(void* me, ILumoString* name, ILumoIDLInterface** out) {
    return elementByName(self(me)->interfacesByName, name, out);
}
LUMORESULT getInterfaceByUUID(void* me, const LumoUUID* uuid, ILumoIDLInterface** out) {
    return elementByUuid(self(me)->interfacesByUuid, uuid, out);
}

LumoBool sortInterfaces(void* me) {
    return sortInterfaceList(self(me)->interfaces, self(me)->interfacesByUuid) ? 1 : 0;
}

int32_t getLibraryCount(void* me) { return countOf(self(me)->libraries); }
LUMORESULT getLibrary(void* me, int32_t index, ILumoIDLLibrary** out) {
    const LUMORESULT code = elementAt(self(me)->libraries, index, out);
    if (code == LUMO_OK && *out) (*out)->vTbl->addReference((*out)->me);
    return code;
}

LUMORESULT getErrorMessage(void* me, ILumoString* text) {
    writeHostText(text, self(me)->errorText.text);
    return LUMO_OK;
}

const ILumoIDLParseResultVtbl kTable = {
    &addReference,        &release,
    &getCategoryIDCount,  &getCategoryID,       &getCategoryIDByName,  &getCategoryIDByUUID,
    &getEnumerationCount, &getEnumeration,      &getEnumerationByName, &getEnumerationByUUID,
    &getInterfaceCount,   &getInterface,        &getInterfaceByName,   &getInterfaceByUUID,
    &sortInterfaces,      &getLibraryCount,     &getLibrary,           &getErrorMessage,
};

}  // namespace

ParserResult::ParserResult() : ILumoIDLParseResult{this, &kTable} {
    errorText.text.reserve(kReservedErrorUnits);
}

ParserResult::~ParserResult() {
    for (ILumoIDLLibrary* library : libraries) library->vTbl->release(library->me);
}

}  // namespace ZEMRA::IDL::PARSER
