// Signatures that tell methods apart the way case-insensitive languages see them.
#pragma once

#include <string>
#include <string_view>

#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

/// Writes into `out` (replacing what it held) `text` with the 26 upper-case ASCII letters
/// lowered, every other byte unchanged; returns `out`.
std::string& foldCase(std::string_view text, std::string& out);

/// True when `a` and `b` are equal once folded as foldCase folds them.
bool equalFolded(std::string_view a, std::string_view b);

/// Appends the type's signature: its written name and, when it has template arguments, "<",
/// their signatures separated by ",", and ">". Nesting of any depth is walked without recursion.
void appendTypeSignature(const ParserType& type, std::string& out);

}  // namespace ZEMRA::IDL::PARSER
