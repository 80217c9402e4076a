// Test doubles of declaration items: interfaces, methods, arguments and types built in memory.
// Only the operations that walk method signatures answer; every other slot fails the test.
#pragma once

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "result/collections.h"

namespace lumoidl::test {

/// The uuid numbered `number`: its value in the first four bytes (big-endian) over a fixed tail.
LumoUUID numberedUuid(uint32_t number);

/// A type reference with a kind, a uuid and template arguments.
struct FakeType : ILumoIDLType {
    FakeType(uint32_t kind, const LumoUUID& uuid, std::vector<FakeType*> templateArguments);
    FakeType(const FakeType&) = delete;
    FakeType& operator=(const FakeType&) = delete;

    uint32_t kind;
    LumoUUID uuid;
    std::vector<FakeType*> templateArguments;
};

/// A method argument of a given type.
struct FakeArgument : ILumoIDLMethodArgument {
    explicit FakeArgument(FakeType* type);
    FakeArgument(const FakeArgument&) = delete;
    FakeArgument& operator=(const FakeArgument&) = delete;

    FakeType* type;
};

/// A method with a return type and arguments.
struct FakeMethod : ILumoIDLMethod {
    FakeMethod(FakeType* returnType, std::vector<FakeArgument*> arguments);
    FakeMethod(const FakeMethod&) = delete;
    FakeMethod& operator=(const FakeMethod&) = delete;

    FakeType* returnType;
    std::vector<FakeArgument*> arguments;
};

/// An interface with a uuid and methods; the name is only for readable assertions.
struct FakeInterface : ILumoIDLInterface {
    FakeInterface(std::string name, const LumoUUID& uuid);
    FakeInterface(const FakeInterface&) = delete;
    FakeInterface& operator=(const FakeInterface&) = delete;

    std::string name;
    LumoUUID uuid;
    std::vector<FakeMethod*> methods;
};

/// Owns a set of fake declarations; the objects keep their addresses while it lives.
class FakeDeclarations {
public:
    /// A new interface with the next numbered uuid.
    FakeInterface& addInterface(std::string name);
    /// A new interface with the given uuid.
    FakeInterface& addInterface(std::string name, const LumoUUID& uuid);

    /// A type of any kind.
    FakeType& type(uint32_t kind, const LumoUUID& uuid = LumoUUID{},
                   std::initializer_list<FakeType*> templateArguments = {});
    /// An object type (kind 6) naming `target`, optionally with template arguments.
    FakeType& objectType(const FakeInterface& target,
                         std::initializer_list<FakeType*> templateArguments = {});
    /// A built-in type without uuid (LumoInteger).
    FakeType& plainType();

    /// Adds a method to `owner` returning `returnType` with arguments of the given types.
    FakeMethod& addMethod(FakeInterface& owner, FakeType& returnType,
                          std::initializer_list<FakeType*> argumentTypes = {});
    /// Adds a method to `owner` returning `returnType` with arguments of the given types.
    FakeMethod& addMethod(FakeInterface& owner, FakeType& returnType,
                          const std::vector<FakeType*>& argumentTypes);

private:
    std::deque<FakeInterface> interfaces_;
    std::deque<FakeMethod> methods_;
    std::deque<FakeArgument> arguments_;
    std::deque<FakeType> types_;
    uint32_t nextNumber_ = 1;
};

/// The uuid index of `interfaces`, as an owner keeps it.
ZEMRA::UuidIndex<FakeInterface> registryOf(const std::vector<FakeInterface*>& interfaces);

}  // namespace lumoidl::test
