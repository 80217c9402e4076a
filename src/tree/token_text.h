// TokenText: the text of an identifier or attribute value, as the lexer hands it to the parser.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tree/orphan_registry.h"

namespace ZEMRA::IDL::PARSER {

/// A token text made by the lexer; registered until the grammar action that consumes it
/// moves or copies the text out and deletes it.
class TokenText : public Orphan<TokenText> {
public:
    /// Copies `value` and registers the new text.
    explicit TokenText(std::string_view value) : text(value) { registerOrphan(this); }
    /// The text exactly as lexed.
    std::string text;

    /// Takes the memory of a spent token text when one is kept, else allocates.
    static void* operator new(size_t size);
    /// Keeps the memory for the next token text.
    static void operator delete(void* memory, size_t size) noexcept;
};

}  // namespace ZEMRA::IDL::PARSER
