// The enumeration phase and the category ID phase.
#include "semantics/builtin_types.h"
#include "semantics/file_check.h"
#include "result/uuid_hash.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// The words that name one kind of declaration in its messages.
struct KindWords {
    /// At the start of a message: "Enumeration", "Category ID".
    const char* title;
    /// Inside a message: "enumeration", "category ID".
    const char* lower;
    /// Whether the message for a name another kind holds quotes the qualified name.
    bool clashQuotesQualified;
};

/// The checks that enumerations and category IDs share, in their order: the name, the
/// attributes, a built-in name (`builtinClash`), a name or uuid this kind already holds in the
/// library, a name or uuid another kind holds (`nameElsewhere`, `uuidElsewhere`). Enters the
/// declaration into its kind's indexes `byName` and `byUuid`; false at the first failing rule.
template <class Node, class NameElsewhere, class UuidElsewhere>
bool checkDeclaration(FileCheck& check, Node& node, const KindWords& words, bool builtinClash,
                      NameIndex<Node>& byName, UuidIndex<Node>& byUuid, NameElsewhere nameElsewhere,
                      UuidElsewhere uuidElsewhere) {
    node.libraryUuid = check.library.uuid;
    node.libraryName = check.library.name;
    if (hasColon(node.name)) {
        check.fail().set("Invalid ").utf8(words.lower).utf8(" name ").quoted(node.name).inFile(check.file);
        return false;
    }
    std::string offending;
    if (!node.validateAttributes(offending)) {
        check.fail()
            .set(words.title)
            .utf8(" ")
            .quoted(node.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    if (builtinClash) {
        check.fail()
            .set("Type ")
            .quoted(node.name)
            .utf8(" cannot be redefined as ")
            .utf8(words.lower)
            .inFile(check.file);
        return false;
    }
    const NodeString qualified = check.qualified(node.name);
    if (byName.count(qualified)) {
        check.fail()
            .set(words.title)
            .utf8(" ")
            .quoted(qualified)
            .utf8(" is declared multiple times")
            .inFile(check.file);
        return false;
    }
    if (nameElsewhere(qualified)) {
        check.fail()
            .set("Multiple types ")
            .quoted(words.clashQuotesQualified ? qualified.view() : node.name.view())
            .utf8(" are declared")
            .inFile(check.file);
        return false;
    }
    byName.insert(qualified, &node);
    node.qualifiedName = qualified;
    const char* uuidText = takeUuid(check, node, words.title);
    if (!uuidText) return false;
    if (byUuid.count(node.uuid.value)) {
        check.fail()
            .set(words.title)
            .utf8(" ")
            .quoted(node.name)
            .utf8(" redefines uuid ")
            .quoted(uuidText)
            .inFile(check.file);
        return false;
    }
    if (uuidElsewhere(node.uuid.value)) {
        check.fail().set("Multiple types with uuid ").quoted(uuidText).utf8(" are defined").inFile(check.file);
        return false;
    }
    byUuid.insert(node.uuid.value, &node);
    return true;
}

bool checkEnumeration(FileCheck& check, ParserEnumeration& enumeration) {
    static constexpr KindWords kWords{"Enumeration", "enumeration", true};
    ParserLibrary& library = check.library;
    const uint32_t kind = builtinKind(enumeration.name);
    // The core library declares the built-in enumerations themselves.
    const bool coreEnumeration = kind == LUMO_KIND_ENUMERATION && UuidEqual()(library.uuid.value, kCoreLibraryUuid);
    const bool declared = checkDeclaration(
        check, enumeration, kWords, kind != 0 && !coreEnumeration, library.enumerationsByName,
        library.enumerationsByUuid,
        [&](std::string_view qualified) { return library.interfacesByName.count(qualified) != 0; },
        [&](const LumoUUID& uuid) { return library.interfacesByUuid.count(uuid) != 0; });
    if (!declared) return false;
    for (size_t position = 0; position < enumeration.items.size(); ++position) {
        const ParserEnumItem* item = enumeration.items[position];
        if (!enumeration.itemIndex.enter(enumeration.items, position)) {
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
    static constexpr KindWords kWords{"Category ID", "category ID", false};
    ParserLibrary& library = check.library;
    return checkDeclaration(
        check, categoryID, kWords, builtinKind(categoryID.name) != 0, library.categoryIDsByName,
        library.categoryIDsByUuid,
        [&](std::string_view qualified) {
            return library.enumerationsByName.count(qualified) || library.interfacesByName.count(qualified);
        },
        [&](const LumoUUID& uuid) {
            return library.enumerationsByUuid.count(uuid) || library.interfacesByUuid.count(uuid);
        });
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
