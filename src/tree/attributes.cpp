// Attribute storage, validation and look-up.
#include "tree/attributes.h"

#include <algorithm>

namespace ZEMRA::IDL::PARSER {
namespace {

bool oneOf(const std::string& name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

ParserAttribute::ParserAttribute(std::string& name, std::string* value) {
    this->name.swap(name);
    if (value) {
        hasValue = true;
        this->value.swap(*value);
    }
    registerOrphan(this);
}

bool AttributeIndex::enter(const AttributeList& list, size_t position) {
    if (position < size_ || find(list, list[position]->name)) return false;
    size_ = static_cast<uint32_t>(position + 1);
    return true;
}

const ParserAttribute* AttributeIndex::find(const AttributeList& list, std::string_view name) const {
    for (size_t i = 0; i < size_; ++i)
        if (list[i]->name == name) return list[i];
    return nullptr;
}

ParserAttribList::~ParserAttribList() {
    for (ParserAttribute* attribute : attributes) delete attribute;
}

bool ParserAttribList::validateAttributes(std::string& offending) {
    for (size_t position = 0; position < attributes.size(); ++position) {
        const ParserAttribute* attribute = attributes[position];
        const bool fresh = attributeIndex.enter(attributes, position);
        const bool bad = !fresh ||
                         (!attribute->hasValue && oneOf(attribute->name, {"uuid", "version", "idlversion", "long_name"})) ||
                         (attribute->hasValue && oneOf(attribute->name, {"in", "out", "retval", "property_get", "property_set"}));
        if (bad) {
            offending = attribute->name;
            return false;
        }
    }
    return true;
}

bool ParserAttribList::acceptOnly(std::initializer_list<std::string_view> accepted,
                                  std::string& offending) const {
    for (const ParserAttribute* attribute : attributes) {
        if (!oneOf(attribute->name, accepted)) {
            offending = attribute->name;
            return false;
        }
    }
    return true;
}

const std::string* ParserAttribList::findAttributeValue(const char* name) const {
    const ParserAttribute* found = attributeIndex.find(attributes, name);
    if (!found || !found->hasValue) return nullptr;
    return &found->value;
}

bool ParserAttribList::containsAttribute(const char* name) const {
    return attributeIndex.find(attributes, name) != nullptr;
}

}  // namespace ZEMRA::IDL::PARSER
