// Suggestions for misspelt names: the closest known name by edit distance.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/diagnostics/source_outline.h"

namespace lumoidl::diagnostics {

class SourceSet;

/// The number of single-byte insertions, deletions, substitutions and swaps of neighbours
/// that turn `a` into `b`.
size_t editDistance(std::string_view a, std::string_view b);

/// The candidate closest to `name`, when one is close enough to be a likely misspelling
/// (and is not `name` itself); the first of equally close ones.
std::optional<std::string> closestName(std::string_view name, const std::vector<std::string>& candidates);

/// The type name closest to the unresolved `name` written in file `file`: the interface's
/// template parameters, the built-in types, the qualified names of every interface and
/// enumeration of `sources`, and the plain names of those of libraries named like file
/// `file`'s. A name that differs only in its library qualifier counts as one edit away.
std::optional<std::string> closestType(std::string_view name, const SourceSet& sources, size_t file,
                                       const std::vector<Word>& templateParameters);

}  // namespace lumoidl::diagnostics
