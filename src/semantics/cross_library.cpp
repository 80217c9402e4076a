// The cross-library pass: every declaration into the result's registries, clashes rejected.
#include "result/error_message.h"
#include "semantics/semantics.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Reports a qualified name that another library took; returns false.
bool nameTaken(ParserResult& result, std::string_view qualified) {
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

/// The kinds in the order they are registered. A qualified name clashes with a name of its own
/// kind or of any kind registered before it, and so does a uuid, except that category IDs are
/// not compared with each other by uuid: the same category may be declared in several
/// libraries, and the latest takes the uuid's entry.
enum class Kind { Interface, Enumeration, CategoryID };

/// Whether neither `kind` nor a kind registered before it holds `qualified`.
template <class Record>
bool nameFree(const ParserResult& result, std::string_view qualified, Kind kind, const NameIndex<Record>& byName) {
    return !byName.count(qualified) && (kind == Kind::Interface || !result.interfacesByName.count(qualified)) &&
           (kind < Kind::CategoryID || !result.enumerationsByName.count(qualified));
}

bool uuidFree(const ParserResult& result, const LumoUUID& uuid, Kind kind) {
    return !result.interfacesByUuid.count(uuid) &&
           (kind < Kind::Enumeration || !result.enumerationsByUuid.count(uuid));
}

/// Enters `node` of kind `kind` in its list and its two look-ups; false when its name or uuid is
/// taken.
template <class Node, class Record>
bool enter(ParserResult& result, Kind kind, Node& node, std::vector<Record*>& list, NameIndex<Record>& byName,
           UuidIndex<Record>& byUuid) {
    const std::string_view qualified = node.qualifiedName;
    if (!nameFree(result, qualified, kind, byName)) return nameTaken(result, qualified);
    // A failing declaration leaves no trace in the indexes, as if it had not been looked at.
    if (!uuidFree(result, node.uuid.value, kind)) return uuidTaken(result, node.uuid);
    byName.insert(qualified, &node);
    list.push_back(&node);
    byUuid.insertOrAssign(node.uuid.value, &node);
    return true;
}

}  // namespace

void registerLibraries(ParserResult& result) {
    // Room for every declaration at once, so that no index grows and rehashes on the way.
    size_t interfaces = 0, enumerations = 0, categoryIDs = 0;
    for (ILumoIDLLibrary* record : result.libraries) {
        const ParserLibrary& library = *static_cast<const ParserLibrary*>(record);
        interfaces += library.interfaces.size();
        enumerations += library.enumerations.size();
        categoryIDs += library.categoryIDs.size();
    }
    result.interfaces.reserve(interfaces);
    result.interfacesByName.reserve(interfaces);
    result.interfacesByUuid.reserve(interfaces);
    result.enumerations.reserve(enumerations);
    result.enumerationsByName.reserve(enumerations);
    result.enumerationsByUuid.reserve(enumerations);
    result.categoryIDs.reserve(categoryIDs);
    result.categoryIDsByName.reserve(categoryIDs);
    result.categoryIDsByUuid.reserve(categoryIDs);
    for (ILumoIDLLibrary* record : result.libraries) {
        ParserLibrary& library = *static_cast<ParserLibrary*>(record);
        for (ParserInterface* iface : library.interfaces)
            if (!enter(result, Kind::Interface, *iface, result.interfaces, result.interfacesByName,
                       result.interfacesByUuid))
                return;
        for (ParserEnumeration* enumeration : library.enumerations)
            if (!enter(result, Kind::Enumeration, *enumeration, result.enumerations,
                       result.enumerationsByName, result.enumerationsByUuid))
                return;
        for (ParserCatID* categoryID : library.categoryIDs)
            if (!enter(result, Kind::CategoryID, *categoryID, result.categoryIDs, result.categoryIDsByName,
                       result.categoryIDsByUuid))
                return;
    }
}

}  // namespace ZEMRA::IDL::PARSER
