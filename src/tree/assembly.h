// The functions the grammar's actions call to build nodes, one per kind of production.
#pragma once

#include <cstdint>

#include "tree/nodes.h"
#include "tree/parser_library.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {

/// An attribute named by `name`, with `value` when written; both texts are consumed.
ParserAttribute* makeAttribute(TokenText* name, TokenText* value);

/// A new registered container holding `first`, which it adopts (a library item stays
/// registered until its body is destroyed).
template <class T>
OwnedList<T>* startList(T* first);

/// Appends `item` to `list` and adopts it (library items excepted, as for startList).
template <class T>
OwnedList<T>* appendToList(OwnedList<T>* list, T* item);

/// A new registered stand-alone attribute list holding `first`, which it adopts.
ParserAttribList* startAttributeList(ParserAttribute* first);
/// Appends `attribute` to `list` and adopts it.
ParserAttribList* appendAttribute(ParserAttribList* list, ParserAttribute* attribute);

/// A new registered template-parameter container holding a copy of `name`'s text.
NameList* startNames(TokenText* name);
/// Appends a copy of `name`'s text; the text is consumed.
NameList* appendName(NameList* names, TokenText* name);

/// Wraps a declaration in a new registered library item, adopting the declaration.
ParserLibraryItem* wrapItem(ParserEnumeration* enumeration);
/// Wraps an interface in a new registered library item, adopting it.
ParserLibraryItem* wrapItem(ParserInterface* iface);
/// Wraps a category ID in a new registered library item, adopting it.
ParserLibraryItem* wrapItem(ParserCatID* categoryID);

/// A category ID taking `name` and `attributes` (null when none were written).
ParserCatID* makeCategoryID(ParserAttribList* attributes, TokenText* name);
/// An enumeration taking `name`, `attributes` and the items of `items`.
ParserEnumeration* makeEnumeration(ParserAttribList* attributes, EnumItemList* items, TokenText* name);
/// An enumeration item with a copy of `name`'s text and `value`; the text is consumed.
ParserEnumItem* makeEnumItem(TokenText* name, int32_t value);
/// Appends a new item `name` = `value` to `items` and adopts it: makeEnumItem and appendToList in
/// one call, for the commonest element of all.
EnumItemList* appendEnumItem(EnumItemList* items, TokenText* name, int32_t value);
/// An interface taking `name`, `attributes`, the template parameters of `parameters` and the
/// methods of `methods` (each null when not written).
ParserInterface* makeInterface(ParserAttribList* attributes, TokenText* name, NameList* parameters,
                               MethodList* methods);
/// A method taking `attributes`, `returnType` (adopted), `name` and the arguments of
/// `arguments` (null for empty parentheses).
ParserMethod* makeMethod(ParserAttribList* attributes, ParserType* returnType, TokenText* name,
                         ArgList* arguments);
/// An argument taking `attributes`, `type` (adopted) and `name`.
ParserArg* makeArgument(ParserAttribList* attributes, ParserType* type, TokenText* name);
/// A type reference taking `name` and the types of `arguments` (null without angle brackets).
ParserType* makeType(TokenText* name, TypeList* arguments);

/// Fills `library` (already held by the parse context) with a copy of `name`'s text, the
/// attributes of `attributes` and the declarations of `body`; consumes the three.
void fillLibrary(ParserLibrary& library, ParserAttribList* attributes, TokenText* name, LibraryBody* body);

}  // namespace ZEMRA::IDL::PARSER
