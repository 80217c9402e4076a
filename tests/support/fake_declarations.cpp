// Test doubles of declaration items.
#include "support/fake_declarations.h"

#include <gtest/gtest.h>

#include <utility>

namespace lumoidl::test {
namespace {

// ---- Slots that a signature walk never needs: calling one fails the test. ----

void unexpected(const char* operation) { ADD_FAILURE() << "unexpected call of " << operation; }
int32_t unexpectedCount(void*) { return unexpected("a count operation"), 0; }
LUMORESULT unexpectedIndexText(void*, int32_t, ILumoString*) { return unexpected("an index"), LUMO_NO_SUCH_ITEM; }
LUMORESULT unexpectedNamedText(void*, ILumoString*, ILumoString*) {
    return unexpected("getAttributeValueByName"), LUMO_NO_SUCH_ITEM;
}
int32_t unexpectedHas(void*, ILumoString*) { return unexpected("hasAttribute"), 0; }
void unexpectedText(void*, ILumoString*) { unexpected("a name getter"); }
const LumoUUID* unexpectedUuid(void*) { return unexpected("getLibraryUUID"), nullptr; }
int32_t unexpectedParameterIndex(void*) { return unexpected("getTemplateParameterIndex"), -1; }

// ---- Types ----

FakeType* typeOf(void* me) { return static_cast<FakeType*>(me); }

const LumoUUID* typeUuid(void* me) { return &typeOf(me)->uuid; }
uint32_t typeKind(void* me) { return typeOf(me)->kind; }
int32_t typeArgumentCount(void* me) { return ZEMRA::countOf(typeOf(me)->templateArguments); }
LUMORESULT typeArgument(void* me, int32_t index, ILumoIDLType** out) {
    return ZEMRA::elementAt(typeOf(me)->templateArguments, index, out);
}

const ILumoIDLTypeVtbl kTypeTable = {&typeUuid,          &unexpectedText,    &typeKind,
                                     &unexpectedParameterIndex, &typeArgumentCount, &typeArgument};

// ---- Arguments ----

ILumoIDLType* argumentType(void* me) { return static_cast<FakeArgument*>(me)->type; }

const ILumoIDLMethodArgumentVtbl kArgumentTable = {
    &unexpectedCount, &unexpectedIndexText, &unexpectedIndexText, &unexpectedNamedText,
    &unexpectedHas,   &argumentType,        &unexpectedText};

// ---- Methods ----

FakeMethod* methodOf(void* me) { return static_cast<FakeMethod*>(me); }

void methodReturnType(void* me, ILumoIDLType** out) { *out = methodOf(me)->returnType; }
int32_t methodArgumentCount(void* me) { return ZEMRA::countOf(methodOf(me)->arguments); }
LUMORESULT methodArgument(void* me, int32_t index, ILumoIDLMethodArgument** out) {
    return ZEMRA::elementAt(methodOf(me)->arguments, index, out);
}

const ILumoIDLMethodVtbl kMethodTable = {
    &unexpectedCount, &unexpectedIndexText, &unexpectedIndexText,
    &unexpectedNamedText, &unexpectedHas, &unexpectedText,
    &methodReturnType, &methodArgumentCount, &methodArgument};

// ---- Interfaces ----

FakeInterface* interfaceOf(void* me) { return static_cast<FakeInterface*>(me); }

const LumoUUID* interfaceUuid(void* me) { return &interfaceOf(me)->uuid; }
int32_t interfaceMethodCount(void* me) { return ZEMRA::countOf(interfaceOf(me)->methods); }
LUMORESULT interfaceMethod(void* me, int32_t index, ILumoIDLMethod** out) {
    return ZEMRA::elementAt(interfaceOf(me)->methods, index, out);
}

const ILumoIDLInterfaceVtbl kInterfaceTable = {
    &unexpectedCount, &unexpectedIndexText, &unexpectedIndexText, &unexpectedNamedText,
    &unexpectedHas,   &unexpectedText,      &interfaceUuid,       &unexpectedUuid,
    &unexpectedText,  &interfaceMethodCount, &interfaceMethod,    &unexpectedCount,
    &unexpectedIndexText};

}  // namespace

LumoUUID numberedUuid(uint32_t number) {
    LumoUUID uuid{{0, 0, 0, 0, 0x4C, 0x75, 0x6D, 0x6F, 0x8A, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77}};
    for (int k = 0; k < 4; ++k) uuid.bytes[k] = static_cast<uint8_t>(number >> (24 - 8 * k));
    return uuid;
}

FakeType::FakeType(uint32_t kind_, const LumoUUID& uuid_, std::vector<FakeType*> templateArguments_)
    : ILumoIDLType{this, &kTypeTable}, kind(kind_), uuid(uuid_), templateArguments(std::move(templateArguments_)) {}

FakeArgument::FakeArgument(FakeType* type_) : ILumoIDLMethodArgument{this, &kArgumentTable}, type(type_) {}

FakeMethod::FakeMethod(FakeType* returnType_, std::vector<FakeArgument*> arguments_)
    : ILumoIDLMethod{this, &kMethodTable}, returnType(returnType_), arguments(std::move(arguments_)) {}

FakeInterface::FakeInterface(std::string name_, const LumoUUID& uuid_)
    : ILumoIDLInterface{this, &kInterfaceTable}, name(std::move(name_)), uuid(uuid_) {}

FakeInterface& FakeDeclarations::addInterface(std::string name) {
    return addInterface(std::move(name), numberedUuid(nextNumber_++));
}

FakeInterface& FakeDeclarations::addInterface(std::string name, const LumoUUID& uuid) {
    return interfaces_.emplace_back(std::move(name), uuid);
}

FakeType& FakeDeclarations::type(uint32_t kind, const LumoUUID& uuid,
                                 std::initializer_list<FakeType*> templateArguments) {
    return types_.emplace_back(kind, uuid, std::vector<FakeType*>(templateArguments));
}

FakeType& FakeDeclarations::objectType(const FakeInterface& target,
                                       std::initializer_list<FakeType*> templateArguments) {
    return type(LUMO_KIND_OBJECT, target.uuid, templateArguments);
}

FakeType& FakeDeclarations::plainType() { return type(LUMO_KIND_INTEGER); }

FakeMethod& FakeDeclarations::addMethod(FakeInterface& owner, FakeType& returnType,
                                        std::initializer_list<FakeType*> argumentTypes) {
    return addMethod(owner, returnType, std::vector<FakeType*>(argumentTypes));
}

FakeMethod& FakeDeclarations::addMethod(FakeInterface& owner, FakeType& returnType,
                                        const std::vector<FakeType*>& argumentTypes) {
    std::vector<FakeArgument*> arguments;
    for (FakeType* argumentType : argumentTypes) arguments.push_back(&arguments_.emplace_back(argumentType));
    FakeMethod& method = methods_.emplace_back(&returnType, std::move(arguments));
    owner.methods.push_back(&method);
    return method;
}

ZEMRA::UuidIndex<FakeInterface> registryOf(const std::vector<FakeInterface*>& interfaces) {
    ZEMRA::UuidIndex<FakeInterface> registry;
    for (FakeInterface* element : interfaces) registry.insert(element->uuid, element);
    return registry;
}

}  // namespace lumoidl::test
