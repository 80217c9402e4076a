// Construction, attribute acceptance and destruction of the declaration nodes.
#include "tree/nodes.h"

#include "result/item_tables.h"

namespace ZEMRA::IDL::PARSER {

// The nodes that a file holds most of, kept this small on 64-bit targets.
static_assert(sizeof(void*) != 8 || sizeof(ParserType) == 64, "ParserType no longer packs into 64 bytes");
static_assert(sizeof(void*) != 8 || sizeof(ParserArg) == 64, "ParserArg no longer packs into 64 bytes");

ParserType::ParserType(NodeString name, CollectedList<ParserType>* arguments) : record{this, &kTypeTable}, name(name) {
    if (arguments) templateArguments.swap(*arguments);
    registerOrphan(this);
}

ParserType::~ParserType() {
    // Walk down the argument tree, remembering the way back in each emptied node, so that
    // types nested as deep as the parser allows need neither recursion nor memory. The way back
    // is kept in the record's object pointer: a node being destroyed is no longer handed out.
    ParserType* current = this;
    for (;;) {
        if (!current->templateArguments.empty()) {
            ParserType* child = current->templateArguments.back();
            current->templateArguments.pop_back();
            child->record.me = current;
            current = child;
            continue;
        }
        if (current == this) break;
        auto* parent = static_cast<ParserType*>(current->record.me);
        delete current;
        current = parent;
    }
}

ParserEnumItem::ParserEnumItem(NodeString name, int32_t value) : value(value), name(name) {
    registerOrphan(this);
}

ParserArg::ParserArg() : ILumoIDLMethodArgument{this, &kArgumentTable} { registerOrphan(this); }

ParserArg::~ParserArg() { delete type; }

bool ParserArg::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) && acceptOnly(keyBit(AttributeKey::kIn) | keyBit(AttributeKey::kOut) | keyBit(AttributeKey::kRetval), offending);
}

ParserMethod::ParserMethod() : ILumoIDLMethod{this, &kMethodTable} { registerOrphan(this); }

ParserMethod::~ParserMethod() {
    delete returnType;
    for (ParserArg* argument : arguments) delete argument;
}

bool ParserMethod::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) &&
           acceptOnly(keyBit(AttributeKey::kPropertySet) | keyBit(AttributeKey::kPropertyGet) |
                                  keyBit(AttributeKey::kLongName),
                              offending);
}

ParserInterface::ParserInterface(NodeString name) : ILumoIDLInterface{this, &kInterfaceTable}, name(name) {
    registerOrphan(this);
}

ParserInterface::~ParserInterface() {
    for (ParserMethod* method : methods) delete method;
}

bool ParserInterface::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) && acceptOnly(keyBit(AttributeKey::kUuid), offending);
}

ParserEnumeration::ParserEnumeration() : ILumoIDLEnumeration{this, &kEnumerationTable} { registerOrphan(this); }

ParserEnumeration::~ParserEnumeration() {
    for (ParserEnumItem* item : items) delete item;
}

bool ParserEnumeration::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) && acceptOnly(keyBit(AttributeKey::kUuid), offending);
}

ParserCatID::ParserCatID() : ILumoIDLCategoryID{this, &kCategoryIDTable} { registerOrphan(this); }

bool ParserCatID::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) && acceptOnly(keyBit(AttributeKey::kUuid), offending);
}

ParserLibraryItem::ParserLibraryItem(ParserCatID* categoryID) : categoryID(categoryID) { registerOrphan(this); }

ParserLibraryItem::ParserLibraryItem(ParserInterface* iface) : iface(iface) { registerOrphan(this); }

ParserLibraryItem::ParserLibraryItem(ParserEnumeration* enumeration) : enumeration(enumeration) {
    registerOrphan(this);
}

ParserLibraryItem::~ParserLibraryItem() {
    delete categoryID;
    delete iface;
    delete enumeration;
}

}  // namespace ZEMRA::IDL::PARSER
