// ParserLibrary: one library declaration, the reference-counted root of one file's declarations.
#pragma once

#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "result/collections.h"
#include "result/zemra_base.h"
#include "tree/attribute_adapter.h"
#include "tree/attributes.h"
#include "tree/node_arena.h"
#include "tree/node_list.h"
#include "tree/nodes.h"
#include "tree/uuid_field.h"

namespace ZEMRA::IDL::PARSER {

/// A library: its attributes, name and uuid, and the interfaces, enumerations and category IDs
/// it owns, each with indexes by qualified name and by uuid that the checks fill.
class ParserLibrary : public AttributeAdapter<ParserLibrary>, public ParserAttribList,
                      public ZemraBaseImpl<ParserLibrary>, public ILumoIDLLibrary {
public:
    /// An empty library with count 0; never registered as an orphan.
    ParserLibrary();
    /// Deletes every interface, then every enumeration, then every category ID, then its
    /// attributes (here rather than in the base, whose destructor runs after the arena is gone).
    ~ParserLibrary() override;
    /// Accepts "uuid", "version" and "idlversion".
    bool validateAttributes(std::string& offending) override;

    /// Takes the attributes of `list` (when given) and moves each item's declaration of `body`
    /// (when given), in order, to the end of the matching list; the items are left empty.
    void adoptContents(ParserAttribList* list, CollectedList<ParserLibraryItem>* body);

    /// Library name.
    NodeString name;
    /// The uuid from the "uuid" attribute.
    UuidField uuid;
    /// Interfaces in source order; owned.
    std::vector<ParserInterface*> interfaces;
    /// Interfaces by qualified name.
    NameIndex<ParserInterface> interfacesByName;
    /// Interfaces by uuid.
    UuidIndex<ParserInterface> interfacesByUuid;
    /// Enumerations in source order; owned.
    std::vector<ParserEnumeration*> enumerations;
    /// Enumerations by qualified name.
    NameIndex<ParserEnumeration> enumerationsByName;
    /// Enumerations by uuid.
    UuidIndex<ParserEnumeration> enumerationsByUuid;
    /// Category IDs in source order; owned.
    std::vector<ParserCatID*> categoryIDs;
    /// Category IDs by qualified name.
    NameIndex<ParserCatID> categoryIDsByName;
    /// Category IDs by uuid.
    UuidIndex<ParserCatID> categoryIDsByUuid;
    /// The memory of every node below the library, freed after the destructor has destroyed them.
    NodeArena nodeArena;
};

}  // namespace ZEMRA::IDL::PARSER
