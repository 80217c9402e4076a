// The declarations of one IDL source text with where each name stands, for diagnostics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumoidl::diagnostics {

/// A run of bytes in a source text: its offset and length in bytes, and the line (from 1) and
/// column (from 1, in bytes) of its first byte. A default Span (line 0) stands for no place.
struct Span {
    uint32_t offset = 0;  ///< bytes before the run
    uint32_t length = 0;  ///< bytes in the run
    uint32_t line = 0;    ///< line of the first byte, from 1; 0 when there is no place
    uint32_t column = 0;  ///< column of the first byte, from 1, counted in bytes
};

/// A name, keyword or value as written, and where.
struct Word {
    std::string text;  ///< the bytes as written
    Span span;         ///< where they stand
};

/// One attribute of an attribute list.
struct Attribute {
    Word name;                 ///< the attribute's name
    std::optional<Word> value; ///< the value, when the attribute was written with one
};

/// A type reference: a name and its template arguments.
struct TypeRef {
    Word name;                       ///< the name as written, qualified or not
    std::vector<TypeRef> arguments;  ///< template arguments in order
    Span span;                       ///< from the name to the closing '>' (or the name alone)
};

/// One argument of a method.
struct Argument {
    std::vector<Attribute> attributes;  ///< the direction flags as written
    TypeRef type;                       ///< the argument's type
    Word name;                          ///< the argument's name
};

/// One method of an interface.
struct Method {
    std::vector<Attribute> attributes;  ///< the method's attribute list
    TypeRef returnType;                 ///< the return type
    Word name;                          ///< the method's name
    std::vector<Argument> arguments;    ///< in source order
    Span extent;                        ///< from its attribute list (or return type) to its ';'
};

/// One interface.
struct Interface {
    std::vector<Attribute> attributes;     ///< the interface's attribute list
    Word name;                             ///< the declared name
    std::vector<Word> templateParameters;  ///< template parameter names in order
    std::vector<Method> methods;           ///< in source order
    Span extent;                           ///< from its attribute list (or keyword) to its ';'
};

/// One item of an enumeration.
struct EnumItem {
    Word name;   ///< the item's name
    Word value;  ///< the number as written
};

/// One enumeration.
struct Enumeration {
    std::vector<Attribute> attributes;  ///< the enumeration's attribute list
    Word name;                          ///< the declared name (after the closing brace)
    std::vector<EnumItem> items;        ///< in source order
    Span extent;                        ///< from its attribute list (or keyword) to its ';'
};

/// One category ID.
struct CategoryId {
    std::vector<Attribute> attributes;  ///< the category ID's attribute list
    Word name;                          ///< the declared name
    Span extent;                        ///< from its attribute list (or keyword) to its ';'
};

/// What a source text declares, as far as it follows the grammar. Declarations are listed by
/// kind, each kind in source order; a declaration cut short by a syntax error is left out.
struct SourceOutline {
    std::vector<Attribute> libraryAttributes;  ///< the library's attribute list
    Word libraryName;                          ///< the library's name; empty text when not reached
    std::vector<Interface> interfaces;         ///< in source order
    std::vector<Enumeration> enumerations;     ///< in source order
    std::vector<CategoryId> categoryIds;       ///< in source order
    bool complete = false;                     ///< true when the whole text follows the grammar
};

/// Reads `text` with the library's lexing rules and the grammar of a library file, keeping
/// every declaration that is complete before the first token the grammar does not accept.
SourceOutline outlineSource(std::string_view text);

/// The token that a syntax error reported at the library's `line` and `pos` stands for: the
/// library counts the bytes read on the line, the lexer's one look-ahead byte included, so the
/// token is the one after whose reading the count was `line`/`pos`. The end of the text maps to
/// an empty Span just after the last token. Returns a default Span when no token matches.
Span syntaxErrorSpan(std::string_view text, int32_t line, int32_t pos);

}  // namespace lumoidl::diagnostics
