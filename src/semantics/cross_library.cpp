// The cross-library pass: every declaration into the result's registries, clashes rejected.
#include "result/error_message.h"
#include "semantics/semantics.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Reports a qualified name that another library took; returns false.
bool nameTaken(ParserResult& result, const std::string& qualified) {
    ErrorMessage(result.errorText).set("Type ").quoted(qualified).utf8(" is defined in multiple libraries");
    return false;
}

/// Reports a uuid that another library took, in its upper-case text form; returns false.
bool uuidTaken(ParserResult& result, const UuidField& uuid) {
    ErrorMessage(result.errorText)
        .set("Type with uuid ")
        .quotedText(uuid.uuidText())
        .utf8(" is defined in multiple libraries");
    return false;
}

bool registerInterface(ParserResult& result, const std::string& prefix, ParserInterface& iface) {
    const std::string qualified = prefix + iface.name;
    if (result.interfacesByName.count(qualified)) return nameTaken(result, qualified);
    if (result.interfacesByUuid.count(iface.uuid.value)) return uuidTaken(result, iface.uuid);
    result.interfaces.push_back(&iface);
    result.interfacesByName.emplace(qualified, &iface);
    result.interfacesByUuid.emplace(iface.uuid.value, &iface);
    return true;
}

bool registerEnumeration(ParserResult& result, const std::string& prefix, ParserEnumeration& enumeration) {
    const std::string qualified = prefix + enumeration.name;
    if (result.interfacesByName.count(qualified) || result.enumerationsByName.count(qualified))
        return nameTaken(result, qualified);
    if (result.interfacesByUuid.count(enumeration.uuid.value) || result.enumerationsByUuid.count(enumeration.uuid.value))
        return uuidTaken(result, enumeration.uuid);
    result.enumerations.push_back(&enumeration);
    result.enumerationsByName.emplace(qualified, &enumeration);
    result.enumerationsByUuid.emplace(enumeration.uuid.value, &enumeration);
    return true;
}

bool registerCategoryID(ParserResult& result, const std::string& prefix, ParserCatID& categoryID) {
    const std::string qualified = prefix + categoryID.name;
    if (result.interfacesByName.count(qualified) || result.enumerationsByName.count(qualified) ||
        result.categoryIDsByName.count(qualified))
        return nameTaken(result, qualified);
    // Category IDs are not compared with each other by uuid: the same category may be
    // declared in several libraries, and the latest takes the uuid's entry.
    if (result.interfacesByUuid.count(categoryID.uuid.value) || result.enumerationsByUuid.count(categoryID.uuid.value))
        return uuidTaken(result, categoryID.uuid);
    result.categoryIDs.push_back(&categoryID);
    result.categoryIDsByName.emplace(qualified, &categoryID);
    result.categoryIDsByUuid.insert_or_assign(categoryID.uuid.value, &categoryID);
    return true;
}

}  // namespace

void registerLibraries(ParserResult& result) {
    for (ILumoIDLLibrary* record : result.libraries) {
        ParserLibrary& library = *static_cast<ParserLibrary*>(record);
        const std::string prefix = library.name + "::";
        for (ParserInterface* iface : library.interfaces)
            if (!registerInterface(result, prefix, *iface)) return;
        for (ParserEnumeration* enumeration : library.enumerations)
            if (!registerEnumeration(result, prefix, *enumeration)) return;
        for (ParserCatID* categoryID : library.categoryIDs)
            if (!registerCategoryID(result, prefix, *categoryID)) return;
    }
}

}  // namespace ZEMRA::IDL::PARSER
