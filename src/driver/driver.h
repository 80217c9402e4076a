// The driver: one LumoIDLParse call from the file list to the finished result.
#pragma once

#include "lumoidl/lumoidl.h"
#include "result/parser_result.h"

namespace ZEMRA::IDL::PARSER {

/// Reads, parses and checks the files of `fileNames` into `result`, reporting every failure
/// in its error text. Expects the process-wide lock to be held; never throws.
void runParse(ILumoStringArray* fileNames, ParserResult& result);

}  // namespace ZEMRA::IDL::PARSER
