// The three passes of semantic analysis: per file, across libraries, and type resolution.
#pragma once

#include "lumoidl/lumoidl.h"
#include "result/parser_result.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {

/// Checks one parsed library (its attributes and uuid, then its interfaces, enumerations and
/// category IDs) and fills its derived fields and maps, reporting failures into `result`'s
/// error text with `fileName` where a message names the file. Returns false when the
/// library's own checks failed (the library must then not be handed over), true otherwise,
/// also when a later phase failed.
bool checkFile(ParserLibrary& library, const LumoChar* fileName, ParserResult& result);

/// Registers every declaration of the result's libraries in the result's lists and
/// registries, stopping at the first name or uuid that another library already took.
void registerLibraries(ParserResult& result);

/// Resolves the return type and argument types of every method of the result's interfaces;
/// the last failure's message stands.
void resolveTypes(ParserResult& result);

}  // namespace ZEMRA::IDL::PARSER
