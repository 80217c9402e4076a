// Attribute storage, validation and look-up.
#include "tree/attributes.h"

#include <iterator>

namespace ZEMRA::IDL::PARSER {
namespace {

constexpr AttributeKeys kNeedsValue = keyBit(AttributeKey::kUuid) | keyBit(AttributeKey::kVersion) |
                                      keyBit(AttributeKey::kIdlVersion) | keyBit(AttributeKey::kLongName);
constexpr AttributeKeys kTakesNoValue = keyBit(AttributeKey::kIn) | keyBit(AttributeKey::kOut) |
                                        keyBit(AttributeKey::kRetval) | keyBit(AttributeKey::kPropertyGet) |
                                        keyBit(AttributeKey::kPropertySet);

/// True when the two attributes have the same name: known names by key, others by text.
bool sameName(const ParserAttribute& a, const ParserAttribute& b) {
    return a.key == b.key && (a.key != AttributeKey::kOther || a.name() == b.name());
}

}  // namespace

AttributeKey attributeKey(std::string_view name) {
    // The length picks the one or two known names a name can be.
    switch (name.size()) {
    case 2: return name == "in" ? AttributeKey::kIn : AttributeKey::kOther;
    case 3: return name == "out" ? AttributeKey::kOut : AttributeKey::kOther;
    case 4: return name == "uuid" ? AttributeKey::kUuid : AttributeKey::kOther;
    case 6: return name == "retval" ? AttributeKey::kRetval : AttributeKey::kOther;
    case 7: return name == "version" ? AttributeKey::kVersion : AttributeKey::kOther;
    case 9: return name == "long_name" ? AttributeKey::kLongName : AttributeKey::kOther;
    case 10: return name == "idlversion" ? AttributeKey::kIdlVersion : AttributeKey::kOther;
    case 12:
        if (name == "property_get") return AttributeKey::kPropertyGet;
        return name == "property_set" ? AttributeKey::kPropertySet : AttributeKey::kOther;
    default: return AttributeKey::kOther;
    }
}

ParserAttribute::ParserAttribute(NodeString name, const NodeString* value) : name_(name) {
    key = attributeKey(name_);
    if (value) {
        hasValue = true;
        value_ = *value;
    }
    registerOrphan(this);
}

ParserAttribute::ParserAttribute(NodeString name) : key(attributeKey(name)), shared(true), name_(name) {}

ParserAttribute* ParserAttribute::sharedWithoutValue(AttributeKey key) {
    if ((keyBit(key) & kTakesNoValue) == 0) return nullptr;
    /// A name laid out as the node arena lays out a NodeString: its size, then its bytes.
    struct StaticName {
        uint32_t size;
        char bytes[16];
    };
    // The known names that take no value, in the order of their keys from kIn on.
    static_assert(kTakesNoValue == (keyBit(AttributeKey::kPropertySet) << 1) - keyBit(AttributeKey::kIn));
    static constexpr StaticName kNames[] = {{2, "in"}, {3, "out"}, {6, "retval"}, {12, "property_get"},
                                            {12, "property_set"}};
    // Made once and never destroyed, so that no list outlives them, even at the process's exit.
    static ParserAttribute* const* const kShared = [] {
        auto** made = new ParserAttribute*[std::size(kNames)];
        for (size_t i = 0; i < std::size(kNames); ++i)
            made[i] = ::new ParserAttribute(NodeString::fromData(kNames[i].bytes));
        return made;
    }();
    return kShared[static_cast<size_t>(key) - static_cast<size_t>(AttributeKey::kIn)];
}

bool AttributeIndex::enter(const AttributeList& list, size_t position) {
    if (position < size_) return true;
    for (size_t i = 0; i < size_; ++i)
        if (sameName(*list[i], *list[position])) return false;
    size_ = static_cast<uint32_t>(position + 1);
    return true;
}

const ParserAttribute* AttributeIndex::find(const AttributeList& list, std::string_view name) const {
    for (size_t i = 0; i < size_; ++i)
        if (list[i]->name() == name) return list[i];
    return nullptr;
}

const ParserAttribute* AttributeIndex::find(const AttributeList& list, AttributeKey key) const {
    for (size_t i = 0; i < size_; ++i)
        if (list[i]->key == key) return list[i];
    return nullptr;
}

ParserAttribList::~ParserAttribList() { deleteAttributes(); }

void ParserAttribList::deleteAttributes() {
    for (ParserAttribute* attribute : attributes)
        if (attribute && !attribute->shared) delete attribute;
    attributes.clear();
}

bool ParserAttribList::validateAttributes(std::string& offending) {
    for (size_t position = 0; position < attributes.size(); ++position) {
        const ParserAttribute* attribute = attributes[position];
        const bool fresh = attributeIndex.enter(attributes, position);
        const AttributeKeys bit = keyBit(attribute->key);
        const bool bad = !fresh || (!attribute->hasValue && (bit & kNeedsValue)) ||
                         (attribute->hasValue && (bit & kTakesNoValue));
        if (bad) {
            offending = attribute->name();
            return false;
        }
    }
    return true;
}

bool ParserAttribList::acceptOnly(AttributeKeys accepted, std::string& offending) const {
    for (const ParserAttribute* attribute : attributes) {
        if (attribute->key == AttributeKey::kOther || !(keyBit(attribute->key) & accepted)) {
            offending = attribute->name();
            return false;
        }
    }
    return true;
}

const char* ParserAttribList::findAttributeValue(std::string_view name) const {
    const ParserAttribute* found = attributeIndex.find(attributes, name);
    return found && found->hasValue ? found->valueText() : nullptr;
}

const char* ParserAttribList::findAttributeValue(AttributeKey key) const {
    const ParserAttribute* found = attributeIndex.find(attributes, key);
    return found && found->hasValue ? found->valueText() : nullptr;
}

bool ParserAttribList::containsAttribute(std::string_view name) const {
    return attributeIndex.find(attributes, name) != nullptr;
}

}  // namespace ZEMRA::IDL::PARSER
