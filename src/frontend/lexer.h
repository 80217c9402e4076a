// The modal lexer: the bytes of the current context's file become tokens.
#pragma once

#include "frontend/tokens.h"

namespace ZEMRA::IDL::PARSER {

/// Reads the next token from the current context's file: its code and, for kIdentifier,
/// kAttributeValue and kNumber, its value (a new token text or the number); any other token's
/// value is null. Line, pos, mode and the pushback byte live in the context.
Token nextToken();

}  // namespace ZEMRA::IDL::PARSER
