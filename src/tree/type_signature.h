// Signatures that tell methods apart the way case-insensitive languages see them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

/// Writes into `out` (replacing what it held) `text` with the 26 upper-case ASCII letters
/// lowered, every other byte unchanged; returns `out`.
std::string& foldCase(std::string_view text, std::string& out);

/// True when `a` and `b` are equal once folded as foldCase folds them.
bool equalFolded(std::string_view a, std::string_view b);

/// Writes into `out` (replacing what it held) the method's signature: its name folded as
/// foldCase folds it, then for each argument "$" and the argument type's signature: its written
/// name and, when it has template arguments, "<", their signatures separated by ",", and ">".
/// Returns `out`. Nesting of any depth is walked without recursion.
std::string& signatureText(const ParserMethod& method, std::string& out);

/// A hash of the signature signatureText writes: equal signatures have equal hashes.
uint64_t signatureHash(const ParserMethod& method);

}  // namespace ZEMRA::IDL::PARSER
