// Token codes that the lexer returns and the parser reads.
#pragma once

#include <cstdint>

namespace ZEMRA::IDL::PARSER {

class TokenText;

/// Codes of the multi-character tokens; single characters are their own code, end of input
/// is 0, and bytes 0x80 to 0xFF come back negative (which the parser takes as end of input).
enum TokenCode : int32_t {
    kEndOfInput = 0,
    kIdentifier = 257,      ///< an identifier or attribute name; value: new token text
    kAttributeValue = 258,  ///< an attribute value; value: new token text
    kNumber = 259,          ///< a number; value: 32-bit integer
    kLibrary = 260,         ///< keyword "library"
    kEnum = 261,            ///< keyword "enum"
    kInterface = 262,       ///< keyword "interface"
    kCategory = 263,        ///< keyword "category"
};

/// The value a token carries: a text for identifiers and attribute values, a number for
/// numbers.
union TokenValue {
    TokenText* text;  ///< token text in the node arena, for kIdentifier and kAttributeValue
    int32_t number;   ///< for kNumber
};

/// A token as the lexer hands it over, small enough to come back in registers.
struct Token {
    int32_t code;      ///< a TokenCode or a single byte's code
    TokenValue value;  ///< null for a token without a value
};

}  // namespace ZEMRA::IDL::PARSER
