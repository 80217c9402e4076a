// The enumeration phase and the category ID phase.
#include "semantics/builtin_types.h"
#include "semantics/file_check.h"
#include "result/uuid_hash.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Reports a uuid that another kind of declaration of the library already uses.
bool uuidTaken(FileCheck& check, const std::string& uuidText) {
    check.fail().set("Multiple types with uuid ").quoted(uuidText).utf8(" are defined").inFile(check.file);
    return false;
}

bool checkEnumeration(FileCheck& check, ParserEnumeration& enumeration) {
    ParserLibrary& library = check.library;
    enumeration.libraryUuid = library.uuid;
    enumeration.libraryName = library.name;
    if (hasColon(enumeration.name)) {
        check.fail().set("Invalid enumeration name ").quoted(enumeration.name).inFile(check.file);
        return false;
    }
    std::string offending;
    if (!enumeration.validateAttributes(offending)) {
        check.fail()
            .set("Enumeration ")
            .quoted(enumeration.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    const uint32_t kind = builtinKind(enumeration.name);
    const bool coreEnumeration =
        kind == LUMO_KIND_ENUMERATION && UuidEqual()(library.uuid.value, kCoreLibraryUuid);
    if (kind != 0 && !coreEnumeration) {
        check.fail().set("Type ").quoted(enumeration.name).utf8(" cannot be redefined as enumeration").inFile(check.file);
        return false;
    }
    const std::string qualified = check.qualified(enumeration.name);
    if (library.enumerationsByName.count(qualified)) {
        check.fail().set("Enumeration ").quoted(qualified).utf8(" is declared multiple times").inFile(check.file);
        return false;
    }
    if (library.interfacesByName.count(qualified)) {
        check.fail().set("Multiple types ").quoted(qualified).utf8(" are declared").inFile(check.file);
        return false;
    }
    library.enumerationsByName.emplace(qualified, &enumeration);
    const std::string* uuidText = takeUuid(check, enumeration, "Enumeration");
    if (!uuidText) return false;
    if (library.enumerationsByUuid.count(enumeration.uuid.value)) {
        check.fail()
            .set("Enumeration ")
            .quoted(enumeration.name)
            .utf8(" redefines uuid ")
            .quoted(*uuidText)
            .inFile(check.file);
        return false;
    }
    if (library.interfacesByUuid.count(enumeration.uuid.value)) return uuidTaken(check, *uuidText);
    library.enumerationsByUuid.emplace(enumeration.uuid.value, &enumeration);
    for (const ParserEnumItem* item : enumeration.items) {
        if (!enumeration.itemValues.emplace(item->name, item->value).second) {
            check.fail()
                .set("Enumeration ")
                .quoted(enumeration.name)
                .utf8(" has multiple definitions of item ")
                .quoted(item->name)
                .inFile(check.file);
            return false;
        }
    }
    return true;
}

bool checkCategoryID(FileCheck& check, ParserCatID& categoryID) {
    ParserLibrary& library = check.library;
    categoryID.libraryUuid = library.uuid;
    categoryID.libraryName = library.name;
    if (hasColon(categoryID.name)) {
        check.fail().set("Invalid category ID name ").quoted(categoryID.name).inFile(check.file);
        return false;
    }
    std::string offending;
    if (!categoryID.validateAttributes(offending)) {
        check.fail()
            .set("Category ID ")
            .quoted(categoryID.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    if (builtinKind(categoryID.name) != 0) {
        check.fail().set("Type ").quoted(categoryID.name).utf8(" cannot be redefined as category ID").inFile(check.file);
        return false;
    }
    const std::string qualified = check.qualified(categoryID.name);
    if (library.categoryIDsByName.count(qualified)) {
        check.fail().set("Category ID ").quoted(qualified).utf8(" is declared multiple times").inFile(check.file);
        return false;
    }
    if (library.enumerationsByName.count(qualified) || library.interfacesByName.count(qualified)) {
        check.fail().set("Multiple types ").quoted(categoryID.name).utf8(" are declared").inFile(check.file);
        return false;
    }
    library.categoryIDsByName.emplace(qualified, &categoryID);
    const std::string* uuidText = takeUuid(check, categoryID, "Category ID");
    if (!uuidText) return false;
    if (library.categoryIDsByUuid.count(categoryID.uuid.value)) {
        check.fail()
            .set("Category ID ")
            .quoted(categoryID.name)
            .utf8(" redefines uuid ")
            .quoted(*uuidText)
            .inFile(check.file);
        return false;
    }
    if (library.enumerationsByUuid.count(categoryID.uuid.value) || library.interfacesByUuid.count(categoryID.uuid.value))
        return uuidTaken(check, *uuidText);
    library.categoryIDsByUuid.emplace(categoryID.uuid.value, &categoryID);
    return true;
}

}  // namespace

bool checkEnumerations(FileCheck& check) {
    for (ParserEnumeration* enumeration : check.library.enumerations)
        if (!checkEnumeration(check, *enumeration)) return false;
    return true;
}

bool checkCategoryIDs(FileCheck& check) {
    for (ParserCatID* categoryID : check.library.categoryIDs)
        if (!checkCategoryID(check, *categoryID)) return false;
    return true;
}

}  // namespace ZEMRA::IDL::PARSER
