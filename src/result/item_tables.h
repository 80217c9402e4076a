// The operation tables of the declaration item interfaces, one per node class.
#pragma once

#include "lumoidl/lumoidl.h"

namespace ZEMRA::IDL::PARSER {

/// Table of ParserInterface's ILumoIDLInterface.
extern const ILumoIDLInterfaceVtbl kInterfaceTable;
/// Table of ParserMethod's ILumoIDLMethod.
extern const ILumoIDLMethodVtbl kMethodTable;
/// Table of ParserArg's ILumoIDLMethodArgument.
extern const ILumoIDLMethodArgumentVtbl kArgumentTable;
/// Table of ParserEnumeration's ILumoIDLEnumeration.
extern const ILumoIDLEnumerationVtbl kEnumerationTable;
/// Table of ParserCatID's ILumoIDLCategoryID.
extern const ILumoIDLCategoryIDVtbl kCategoryIDTable;
/// Table of ParserType's ILumoIDLType.
extern const ILumoIDLTypeVtbl kTypeTable;
/// Table of ParserLibrary's ILumoIDLLibrary.
extern const ILumoIDLLibraryVtbl kLibraryTable;

}  // namespace ZEMRA::IDL::PARSER
