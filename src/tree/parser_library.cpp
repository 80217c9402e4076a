// ParserLibrary: construction, assembly from the parsed body and destruction.
#include "tree/parser_library.h"

#include "result/item_tables.h"

namespace ZEMRA::IDL::PARSER {

ParserLibrary::ParserLibrary() : ILumoIDLLibrary{this, &kLibraryTable} {}

ParserLibrary::~ParserLibrary() {
    for (ParserInterface* iface : interfaces) delete iface;
    for (ParserEnumeration* enumeration : enumerations) delete enumeration;
    for (ParserCatID* categoryID : categoryIDs) delete categoryID;
    deleteAttributes();
}

bool ParserLibrary::validateAttributes(std::string& offending) {
    return ParserAttribList::validateAttributes(offending) &&
           acceptOnly(keyBit(AttributeKey::kUuid) | keyBit(AttributeKey::kVersion) | keyBit(AttributeKey::kIdlVersion),
                      offending);
}

void ParserLibrary::adoptContents(ParserAttribList* list, CollectedList<ParserLibraryItem>* body) {
    if (list) attributes.swap(list->attributes);
    if (!body) return;
    for (ParserLibraryItem* item : *body) {
        if (item->enumeration) {
            enumerations.push_back(item->enumeration);
            item->enumeration = nullptr;
        } else if (item->iface) {
            interfaces.push_back(item->iface);
            item->iface = nullptr;
        } else if (item->categoryID) {
            categoryIDs.push_back(item->categoryID);
            item->categoryID = nullptr;
        }
    }
}

}  // namespace ZEMRA::IDL::PARSER
