// ParserAttribute and ParserAttribList: the bracketed attribute list written before a declaration.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tree/node_arena.h"
#include "tree/node_list.h"
#include "tree/node_string.h"
#include "tree/orphan_registry.h"
#include "tree/recycled.h"

namespace ZEMRA::IDL::PARSER {

/// The attribute names the rules know; every other name is kOther. Comparing keys is how the
/// checks tell these names apart without comparing text.
enum class AttributeKey : uint8_t {
    kOther, kUuid, kVersion, kIdlVersion, kLongName, kIn, kOut, kRetval, kPropertyGet, kPropertySet,
};

/// A set of attribute keys, one bit each.
using AttributeKeys = uint16_t;

/// The set holding `key` alone.
constexpr AttributeKeys keyBit(AttributeKey key) { return static_cast<AttributeKeys>(1u << static_cast<unsigned>(key)); }

/// The key of the attribute name `name` (exact, case-sensitive).
AttributeKey attributeKey(std::string_view name);

/// One attribute: a name, and a value when the name was followed by a parenthesised text.
class ParserAttribute : public Orphan<ParserAttribute>, public ArenaNode<ParserAttribute> {
public:
    /// An attribute named `name`, with the text of `value` when given. Registers it.
    ParserAttribute(NodeString name, const NodeString* value);

    /// The one attribute that stands for every `key` written without a value, when `key` is a
    /// known name that takes none ("in", "out", "retval", "property_get", "property_set"), else
    /// null. Such an attribute is all its key, so the lists that hold one share it instead of
    /// making a node each: it lives as long as the process, is never registered, and no list
    /// deletes it.
    static ParserAttribute* sharedWithoutValue(AttributeKey key);

    /// Attribute name exactly as lexed.
    std::string_view name() const { return name_; }
    /// Value text as lexed; empty without a value.
    std::string_view value() const { return value_; }
    /// The value as a zero-terminated text.
    const char* valueText() const { return value_.c_str(); }

    /// True when a value was written.
    bool hasValue = false;
    /// Which known name the name is.
    AttributeKey key = AttributeKey::kOther;
    /// True for an attribute that sharedWithoutValue hands out.
    bool shared = false;

private:
    /// The shared attribute named `name`, whose bytes are static.
    explicit ParserAttribute(NodeString name);

    NodeString name_;
    NodeString value_;
};

/// The attributes of one list, in source order; their room comes from the node arena.
using AttributeList = NodeList<ParserAttribute*>;

/// Attribute name to attribute, for one list. Validation enters the attributes in list order
/// and stops at the first bad one, and a repeated name is bad, so what has been entered is
/// always a leading run of the list with distinct names: the index is the length of that run,
/// and a look-up scans it. A declaration carries a handful of attributes, so the scan is
/// quicker than hashing, and the index needs no memory of its own.
class AttributeIndex {
public:
    /// Enters attribute `position` of `list`, the one after the run; false, leaving the index as
    /// it is, when its name is already entered. An attribute inside the run was entered before
    /// and stays entered, so that validating a list again gives the same answer.
    bool enter(const AttributeList& list, size_t position);
    /// Forgets every entered attribute, as if the list had never been validated.
    void forget() { size_ = 0; }
    /// The entered attribute of `list` named `name`, or null.
    const ParserAttribute* find(const AttributeList& list, std::string_view name) const;
    /// The entered attribute of `list` whose name is the known name `key`, or null.
    const ParserAttribute* find(const AttributeList& list, AttributeKey key) const;

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

    /// Value of the attribute `name`, zero-terminated, or null when absent or written without a
    /// value.
    const char* findAttributeValue(std::string_view name) const;
    /// Value of the attribute with the known name `key`, or null as above.
    const char* findAttributeValue(AttributeKey key) const;
    /// True when an attribute `name` was written, with or without a value.
    bool containsAttribute(std::string_view name) const;
    /// True when an attribute with the known name `key` was written.
    bool containsAttribute(AttributeKey key) const { return attributeIndex.find(attributes, key) != nullptr; }

    /// Attribute name to attribute, filled by validateAttributes; it reads `attributes`.
    AttributeIndex attributeIndex;
    /// Attributes in source order; repeated names stay as written. Its last four bytes go to the
    /// registry slot of the node class that derives from this one.
    [[no_unique_address]] AttributeList attributes;

protected:
    /// Second pass of a node class: every name must be one of the known names `accepted`.
    bool acceptOnly(AttributeKeys accepted, std::string& offending) const;
    /// Deletes the attributes the list owns, leaving the shared ones alone, and empties it.
    void deleteAttributes();
};

}  // namespace ZEMRA::IDL::PARSER
