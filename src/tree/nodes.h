// The declaration nodes that the parser builds and the containers it collects them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "tree/attribute_adapter.h"
#include "tree/attributes.h"
#include "tree/item_index.h"
#include "tree/node_arena.h"
#include "tree/node_list.h"
#include "tree/node_string.h"
#include "tree/orphan_registry.h"
#include "tree/recycled.h"
#include "tree/token_text.h"
#include "tree/uuid_field.h"

namespace ZEMRA::IDL::PARSER {

/// A type reference in a method signature.
class ParserType : public Orphan<ParserType>, public ArenaNode<ParserType> {
public:
    /// Takes the name, and the template arguments out of
    /// `arguments` when given (the container is left empty). Registers the new type.
    ParserType(NodeString name, CollectedList<ParserType>* arguments);
    ParserType(const ParserType&) = delete;
    ParserType& operator=(const ParserType&) = delete;
    /// Deletes the template arguments, however deep, without recursion or allocation.
    ~ParserType();

    // The members are in the order that packs them into 64 bytes.
    /// Index of the interface's template parameter this type names, else -1.
    int32_t templateParameterIndex = -1;
    /// The record handed to the host.
    ILumoIDLType record;
    /// Name as written; type resolution may replace it by the qualified name.
    NodeString name;
    /// Template arguments in source order; owned.
    [[no_unique_address]] CollectedList<ParserType> templateArguments;
    /// Type kind, set by type resolution.
    uint32_t kind = 0;
    /// uuid of the referenced interface or enumeration (or the error interface), else zero.
    LumoUUID uuid{};
};

/// One item of an enumeration: a name and its number.
class ParserEnumItem : public Orphan<ParserEnumItem>, public ArenaNode<ParserEnumItem> {
public:
    /// An item named `name`; registers the new item.
    ParserEnumItem(NodeString name, int32_t value);
    /// The number written after "=".
    int32_t value;
    /// Item name as written.
    NodeString name;
};

/// A method argument.
class ParserArg : public AttributeAdapter<ParserArg>, public ParserAttribList, public Orphan<ParserArg>,
                  public ILumoIDLMethodArgument, public ArenaNode<ParserArg> {
public:
    using ArenaNode<ParserArg>::operator new;
    using ArenaNode<ParserArg>::operator delete;
    /// An empty argument; registered.
    ParserArg();
    /// Deletes the type.
    ~ParserArg() override;
    /// Accepts "in", "out" and "retval".
    bool validateAttributes(std::string& offending) override;

    /// The argument's type; owned.
    ParserType* type = nullptr;
    /// Argument name.
    NodeString name;
};

/// A method of an interface.
class ParserMethod : public AttributeAdapter<ParserMethod>, public ParserAttribList, public Orphan<ParserMethod>,
                     public ILumoIDLMethod, public ArenaNode<ParserMethod> {
public:
    using ArenaNode<ParserMethod>::operator new;
    using ArenaNode<ParserMethod>::operator delete;
    /// An empty method; registered.
    ParserMethod();
    /// Deletes the return type, then every argument.
    ~ParserMethod() override;
    /// Accepts "property_set", "property_get" and "long_name".
    bool validateAttributes(std::string& offending) override;

    /// Method name.
    NodeString name;
    /// Return type; owned.
    ParserType* returnType = nullptr;
    /// Arguments in source order; owned.
    CollectedList<ParserArg> arguments;
    /// signatureHash of the method, taken when the parser makes it, while the names it reads
    /// are still in the caches; the checks compare methods by it long after.
    uint64_t signature = 0;
};

/// An interface declaration.
class ParserInterface : public AttributeAdapter<ParserInterface>, public ParserAttribList,
                        public Orphan<ParserInterface>, public ILumoIDLInterface, public ArenaNode<ParserInterface> {
public:
    using ArenaNode<ParserInterface>::operator new;
    using ArenaNode<ParserInterface>::operator delete;
    /// An interface named `name`; registered.
    explicit ParserInterface(NodeString name);
    /// Deletes every method.
    ~ParserInterface() override;
    /// Accepts "uuid".
    bool validateAttributes(std::string& offending) override;

    /// Interface name as written.
    NodeString name;
    /// The interface's uuid.
    UuidField uuid;
    /// Copy of the owning library's uuid.
    UuidField libraryUuid;
    /// The owning library's name (the same bytes).
    NodeString libraryName;
    /// "library::name", set by the checks; the types of the library that name the interface share it.
    NodeString qualifiedName;
    /// Template parameter names in source order.
    NodeList<NodeString> templateParameters;
    /// Methods in source order; owned.
    CollectedList<ParserMethod> methods;
    /// Set when the rules of every method were found to hold as the interface was parsed.
    bool methodRulesHold = false;
};

/// An enumeration declaration.
class ParserEnumeration : public AttributeAdapter<ParserEnumeration>, public ParserAttribList,
                          public Orphan<ParserEnumeration>, public ILumoIDLEnumeration, public ArenaNode<ParserEnumeration> {
public:
    using ArenaNode<ParserEnumeration>::operator new;
    using ArenaNode<ParserEnumeration>::operator delete;
    /// An empty enumeration; registered.
    ParserEnumeration();
    /// Deletes every item.
    ~ParserEnumeration() override;
    /// Accepts "uuid".
    bool validateAttributes(std::string& offending) override;

    /// Enumeration name.
    NodeString name;
    /// The enumeration's uuid.
    UuidField uuid;
    /// Copy of the owning library's uuid.
    UuidField libraryUuid;
    /// The owning library's name (the same bytes).
    NodeString libraryName;
    /// "library::name", set by the checks; the types of the library that name the enumeration share it.
    NodeString qualifiedName;
    /// Items in source order; owned.
    CollectedList<ParserEnumItem> items;
    /// Item name to item, filled by the checks.
    EnumItemIndex itemIndex;
};

/// A category ID declaration.
class ParserCatID : public AttributeAdapter<ParserCatID>, public ParserAttribList, public Orphan<ParserCatID>,
                    public ILumoIDLCategoryID, public ArenaNode<ParserCatID> {
public:
    using ArenaNode<ParserCatID>::operator new;
    using ArenaNode<ParserCatID>::operator delete;
    /// An empty category ID; registered.
    ParserCatID();
    /// Accepts "uuid".
    bool validateAttributes(std::string& offending) override;

    /// Category ID name.
    NodeString name;
    /// Its uuid.
    UuidField uuid;
    /// Copy of the owning library's uuid.
    UuidField libraryUuid;
    /// The owning library's name (the same bytes).
    NodeString libraryName;
    /// "library::name", set by the checks.
    NodeString qualifiedName;
};

/// One item of a library body while it is parsed: exactly one of the three pointers is set.
class ParserLibraryItem : public Orphan<ParserLibraryItem>, public Recycled<ParserLibraryItem> {
public:
    /// Holds a category ID; registered.
    explicit ParserLibraryItem(ParserCatID* categoryID);
    /// Holds an interface; registered.
    explicit ParserLibraryItem(ParserInterface* iface);
    /// Holds an enumeration; registered.
    explicit ParserLibraryItem(ParserEnumeration* enumeration);
    /// Deletes whichever node it still holds.
    ~ParserLibraryItem();

    /// The category ID, or null; owned.
    ParserCatID* categoryID = nullptr;
    /// The interface, or null; owned.
    ParserInterface* iface = nullptr;
    /// The enumeration, or null; owned.
    ParserEnumeration* enumeration = nullptr;
};

/// A container the grammar collects elements in; owns the elements it still holds.
template <class T>
class OwnedList : public Orphan<OwnedList<T>>, public Recycled<OwnedList<T>> {
public:
    /// Deletes the elements still held.
    ~OwnedList() {
        for (T* item : items) delete item;
    }
    /// Elements in source order.
    CollectedList<T> items;
};

/// Template arguments of a type, while parsed.
using TypeList = OwnedList<ParserType>;
/// Arguments of a method, while parsed.
using ArgList = OwnedList<ParserArg>;
/// Methods of an interface, while parsed.
using MethodList = OwnedList<ParserMethod>;
/// Items of an enumeration, while parsed.
using EnumItemList = OwnedList<ParserEnumItem>;
/// Items of a library, while parsed.
using LibraryBody = OwnedList<ParserLibraryItem>;

/// Template parameter names of an interface, while parsed.
class NameList : public Orphan<NameList>, public Recycled<NameList> {
public:
    /// Names in source order.
    NodeList<NodeString> names;
};

}  // namespace ZEMRA::IDL::PARSER
