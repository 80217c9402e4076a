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

ParserAttribList::~ParserAttribList() {
    for (ParserAttribute* attribute : attributes) delete attribute;
}

bool ParserAttribList::validateAttributes(std::string& offending) {
    for (ParserAttribute* attribute : attributes) {
        const bool fresh = attributeIndex.emplace(attribute->name, attribute).second;
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
    const auto found = attributeIndex.find(name);
    if (found == attributeIndex.end() || !found->second->hasValue) return nullptr;
    return &found->second->value;
}

bool ParserAttribList::containsAttribute(const char* name) const {
    return attributeIndex.count(name) != 0;
}

}  // namespace ZEMRA::IDL::PARSER
