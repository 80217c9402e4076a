// ParserResult: the reference-counted object that one LumoIDLParse call hands to the host.
#pragma once

#include <string_view>
#include <vector>

#include "errors/lumo_string.h"
#include "lumoidl/lumoidl.h"
#include "result/collections.h"
#include "result/zemra_base.h"

namespace ZEMRA::IDL::PARSER {

/// The parse result: error text, libraries in input order and, when every file passed, the
/// flat cross-library lists with their name and uuid registries. The lists hold the items'
/// interface records, borrowed from the libraries; each library carries one reference.
class ParserResult : public ZemraBaseImpl<ParserResult>, public ILumoIDLParseResult {
public:
    /// Units the error text has room for from the start, so that the catch-all line for an
    /// exception can always be written, even when memory has run out.
    static constexpr size_t kReservedErrorUnits = 256;

    /// An empty result with count 0 and an empty error text with room reserved.
    ParserResult();
    /// Releases each library once, in list order.
    ~ParserResult() override;

    /// True while no failure has been reported.
    bool errorEmpty() const { return errorText.text.empty(); }
    /// Appends a library whose reference the caller has already taken for this result.
    void appendLibrary(ILumoIDLLibrary* library) { libraries.push_back(library); }

    /// The error text, empty on success; messages are composed into it by ErrorMessage.
    LumoStringImpl errorText;
    /// One counted reference each, in input-file order.
    std::vector<ILumoIDLLibrary*> libraries;
    /// All libraries' interfaces, library by library, each in declaration order.
    std::vector<ILumoIDLInterface*> interfaces;
    /// Interfaces by qualified name.
    NameIndex<ILumoIDLInterface> interfacesByName;
    /// Interfaces by uuid.
    UuidIndex<ILumoIDLInterface> interfacesByUuid;
    /// All libraries' enumerations.
    std::vector<ILumoIDLEnumeration*> enumerations;
    /// Enumerations by qualified name.
    NameIndex<ILumoIDLEnumeration> enumerationsByName;
    /// Enumerations by uuid.
    UuidIndex<ILumoIDLEnumeration> enumerationsByUuid;
    /// All libraries' category IDs.
    std::vector<ILumoIDLCategoryID*> categoryIDs;
    /// Category IDs by qualified name.
    NameIndex<ILumoIDLCategoryID> categoryIDsByName;
    /// Category IDs by uuid.
    UuidIndex<ILumoIDLCategoryID> categoryIDsByUuid;
};

}  // namespace ZEMRA::IDL::PARSER
