// The modal lexer: the bytes of the current context's file become tokens.
#pragma once

#include "frontend/tokens.h"

namespace ZEMRA::IDL::PARSER {

/// Reads the next token from the current context's file; returns its code and, for
/// kIdentifier, kAttributeValue and kNumber, sets `value` (a new token text or the
/// number). Line, pos, mode and the pushback byte live in the context.
int32_t nextToken(TokenValue& value);

}  // namespace ZEMRA::IDL::PARSER
