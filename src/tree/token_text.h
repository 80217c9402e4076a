// TokenText: the text of an identifier or attribute value, as the lexer hands it to the parser.
#pragma once

#include <string>

#include "tree/orphan_registry.h"

namespace ZEMRA::IDL::PARSER {

/// A token text made by the lexer; registered until the grammar action that consumes it
/// moves or copies the text out and deletes it.
class TokenText : public Orphan<TokenText> {
public:
    /// Takes `value` and registers the new text.
    explicit TokenText(std::string value) : text(std::move(value)) { registerOrphan(this); }
    /// The text exactly as lexed.
    std::string text;
};

}  // namespace ZEMRA::IDL::PARSER
