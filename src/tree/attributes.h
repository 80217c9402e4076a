// ParserAttribute and ParserAttribList: the bracketed attribute list written before a declaration.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "tree/node_arena.h"
#include "tree/orphan_registry.h"
#include "tree/recycled.h"

namespace ZEMRA::IDL::PARSER {

/// One attribute: a name, and a value when the name was followed by a parenthesised text.
class ParserAttribute : public Orphan<ParserAttribute>, public ArenaNode<ParserAttribute> {
public:
    /// Takes the name out of `name` by swapping; when `value` is given, takes its text too.
    /// Registers the new attribute.
    ParserAttribute(std::string& name, std::string* value);

    /// True when a value was written.
    bool hasValue = false;
    /// Attribute name exactly as lexed.
    std::string name;
    /// Value text as lexed; empty without a value.
    std::string value;
};

/// The attributes of one list, in source order; their room comes from the node arena.
using AttributeList = std::vector<ParserAttribute*, NodeAllocator<ParserAttribute*>>;

/// Attribute name to attribute, for one list. Validation enters the attributes in list order
/// and stops at the first bad one, and a repeated name is bad, so what has been entered is
/// always a leading run of the list with distinct names: the index is the length of that run,
/// and a look-up scans it. A declaration carries a handful of attributes, so the scan is
/// quicker than hashing, and the index needs no memory of its own.
class AttributeIndex {
public:
    /// Enters attribute `position` of `list`, the one after the run (or one inside it); false,
    /// leaving the index as it is, when its name is already entered.
    bool enter(const AttributeList& list, size_t position);
    /// The entered attribute of `list` named `name`, or null.
    const ParserAttribute* find(const AttributeList& list, std::string_view name) const;

private:
    uint32_t size_ = 0;
};

/// An attribute list: the polymorphic base of every declaration node, and on its own the
/// value of a bracketed list while it is parsed. Owns its attributes.
class ParserAttribList : public Orphan<ParserAttribList>, public Recycled<ParserAttribList> {
public:
    ParserAttribList() = default;
    /// Deletes every attribute it holds.
    virtual ~ParserAttribList();

    /// Checks the list and fills attributeIndex. Returns true when every attribute is
    /// acceptable; otherwise stores the first offending name in `offending` and returns false.
    /// A stand-alone list runs the common checks only; each node class adds its own names.
    virtual bool validateAttributes(std::string& offending);

    /// Value of the attribute `name`, or null when absent or written without a value.
    const std::string* findAttributeValue(const char* name) const;
    /// True when an attribute `name` was written, with or without a value.
    bool containsAttribute(const char* name) const;

    /// Attribute name to attribute, filled by validateAttributes; it reads `attributes`.
    AttributeIndex attributeIndex;
    /// Attributes in source order; repeated names stay as written.
    AttributeList attributes;

protected:
    /// Second pass of a node class: every name must be one of `accepted`.
    bool acceptOnly(std::initializer_list<std::string_view> accepted, std::string& offending) const;
};

}  // namespace ZEMRA::IDL::PARSER
