// TokenText: the text of an identifier or attribute value, as the lexer hands it to the parser.
#pragma once

#include <cstddef>
#include <string_view>

#include "tree/node_string.h"
#include "tree/orphan_registry.h"
#include "tree/recycled.h"

namespace ZEMRA::IDL::PARSER {

/// A token text made by the lexer; registered until the grammar action that consumes it
/// moves or copies the text out and deletes it.
class TokenText : public Orphan<TokenText>, public Recycled<TokenText> {
public:
    /// Copies `value` into the node arena and registers the new text.
    explicit TokenText(std::string_view value) : text(value) { registerOrphan(this); }
    /// The text exactly as lexed; nodes take it over by copying the reference.
    NodeString text;
};

}  // namespace ZEMRA::IDL::PARSER
