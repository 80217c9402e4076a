// TokenText: the text of an identifier or attribute value, as the lexer hands it to the parser.
#pragma once

#include <string_view>

#include "tree/node_string.h"

namespace ZEMRA::IDL::PARSER {

/// A token text made by the lexer. The parser's value slot holds one pointer, so a token text
/// is the stored form of a NodeString in the node arena, seen through a type of its own. It
/// needs no destruction and no registry: its bytes belong to the file's arena, which frees
/// them with the library's nodes or, when the parse fails, with the context.
class TokenText {
public:
    TokenText() = delete;

    /// Copies `value` into the current node arena.
    static TokenText* make(std::string_view value) {
        return fromData(NodeString(value).data());
    }

    /// The token text whose stored form starts at `data`, the data() of a NodeString that lives
    /// at least as long as the nodes that will take it over.
    static TokenText* fromData(const char* data) { return reinterpret_cast<TokenText*>(const_cast<char*>(data)); }

    /// The text exactly as lexed; nodes take it over by copying the reference.
    NodeString text() const { return NodeString::fromData(reinterpret_cast<const char*>(this)); }
};

}  // namespace ZEMRA::IDL::PARSER
