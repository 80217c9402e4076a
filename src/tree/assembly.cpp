// Building nodes from what the parser has collected, moving parts rather than copying them.
#include "tree/assembly.h"

#include <type_traits>
#include <utility>

#include "tree/type_signature.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Moves the attributes of a written list into `node` and deletes the emptied list.
void takeAttributes(ParserAttribList& node, ParserAttribList* attributes) {
    if (!attributes) return;
    node.attributes.swap(attributes->attributes);
    delete attributes;
}

/// Adopts `item` unless it is a library item, which stays registered while its body lives.
template <class T>
void adoptElement(T* item) {
    if constexpr (!std::is_same_v<T, ParserLibraryItem>) adoptOrphan(item);
}

}  // namespace

template <class T>
OwnedList<T>* startList(T* first) {
    auto* list = registerOrphan(new OwnedList<T>());
    return appendToList(list, first);
}

template <class T>
OwnedList<T>* appendToList(OwnedList<T>* list, T* item) {
    list->items.push_back(item);
    adoptElement(item);
    return list;
}

template OwnedList<ParserType>* startList(ParserType*);
template OwnedList<ParserArg>* startList(ParserArg*);
template OwnedList<ParserMethod>* startList(ParserMethod*);
template OwnedList<ParserEnumItem>* startList(ParserEnumItem*);
template OwnedList<ParserLibraryItem>* startList(ParserLibraryItem*);
template OwnedList<ParserType>* appendToList(OwnedList<ParserType>*, ParserType*);
template OwnedList<ParserArg>* appendToList(OwnedList<ParserArg>*, ParserArg*);
template OwnedList<ParserMethod>* appendToList(OwnedList<ParserMethod>*, ParserMethod*);
template OwnedList<ParserEnumItem>* appendToList(OwnedList<ParserEnumItem>*, ParserEnumItem*);
template OwnedList<ParserLibraryItem>* appendToList(OwnedList<ParserLibraryItem>*, ParserLibraryItem*);

ParserAttribute* makeAttribute(TokenText* name, TokenText* value) {
    if (!value)
        if (ParserAttribute* shared = ParserAttribute::sharedWithoutValue(attributeKey(name->text()))) return shared;
    const NodeString valueText = value ? value->text() : NodeString();
    return new ParserAttribute(name->text(), value ? &valueText : nullptr);
}

ParserAttribList* startAttributeList(ParserAttribute* first) {
    auto* list = registerOrphan(new ParserAttribList());
    return appendAttribute(list, first);
}

ParserAttribList* appendAttribute(ParserAttribList* list, ParserAttribute* attribute) {
    list->attributes.push_back(attribute);
    adoptOrphan(attribute);
    return list;
}

NameList* startNames(TokenText* name) {
    auto* names = registerOrphan(new NameList());
    return appendName(names, name);
}

NameList* appendName(NameList* names, TokenText* name) {
    names->names.push_back(name->text());
    return names;
}

ParserLibraryItem* wrapItem(ParserEnumeration* enumeration) {
    auto* item = new ParserLibraryItem(enumeration);
    adoptOrphan(enumeration);
    return item;
}

ParserLibraryItem* wrapItem(ParserInterface* iface) {
    auto* item = new ParserLibraryItem(iface);
    adoptOrphan(iface);
    return item;
}

ParserLibraryItem* wrapItem(ParserCatID* categoryID) {
    auto* item = new ParserLibraryItem(categoryID);
    adoptOrphan(categoryID);
    return item;
}

ParserCatID* makeCategoryID(ParserAttribList* attributes, TokenText* name) {
    auto* categoryID = new ParserCatID();
    categoryID->name = name->text();
    takeAttributes(*categoryID, attributes);
    return categoryID;
}

ParserEnumeration* makeEnumeration(ParserAttribList* attributes, EnumItemList* items, TokenText* name) {
    auto* enumeration = new ParserEnumeration();
    enumeration->name = name->text();
    takeAttributes(*enumeration, attributes);
    enumeration->items.swap(items->items);
    delete items;
    return enumeration;
}

ParserEnumItem* makeEnumItem(TokenText* name, int32_t value) {
    auto* item = new ParserEnumItem(name->text(), value);
    return item;
}

EnumItemList* appendEnumItem(EnumItemList* items, TokenText* name, int32_t value) {
    return appendToList(items, makeEnumItem(name, value));
}

ParserInterface* makeInterface(ParserAttribList* attributes, TokenText* name, NameList* parameters,
                               MethodList* methods) {
    auto* iface = new ParserInterface(name->text());
    takeAttributes(*iface, attributes);
    if (parameters) {
        iface->templateParameters.swap(parameters->names);
        delete parameters;
    }
    if (methods) {
        iface->methods.swap(methods->items);
        delete methods;
    }
    return iface;
}

ParserMethod* makeMethod(ParserAttribList* attributes, ParserType* returnType, TokenText* name,
                         ArgList* arguments) {
    auto* method = new ParserMethod();
    takeAttributes(*method, attributes);
    method->name = name->text();
    method->returnType = adoptOrphan(returnType);
    if (arguments) {
        method->arguments.swap(arguments->items);
        delete arguments;
    }
    method->signature = signatureHash(*method);
    return method;
}

ParserArg* makeArgument(ParserAttribList* attributes, ParserType* type, TokenText* name) {
    auto* argument = new ParserArg();
    takeAttributes(*argument, attributes);
    argument->type = adoptOrphan(type);
    argument->name = name->text();
    return argument;
}

ParserType* makeType(TokenText* name, TypeList* arguments) {
    auto* type = new ParserType(name->text(), arguments ? &arguments->items : nullptr);
    delete arguments;
    return type;
}

void fillLibrary(ParserLibrary& library, ParserAttribList* attributes, TokenText* name, LibraryBody* body) {
    // The library's own copy even of a common text: nodes tell their library by the address of
    // its name.
    library.name = NodeString(name->text().view());
    library.adoptContents(attributes, body ? &body->items : nullptr);
    // The library now holds every node of the file, so it takes over their memory.
    if (nodeArenaScoped()) library.nodeArena = std::move(currentNodeArena());
    delete attributes;
    delete body;
}

}  // namespace ZEMRA::IDL::PARSER
