// What hovering over a type name shows.
#pragma once

#include <string>

#include "tools/lsp/symbol_index.h"

namespace lumoidl::lsp {

/// Markdown for `declaration`: its kind, qualified name and template parameters, its uuid, and
/// an interface's method signatures or an enumeration's items.
std::string hoverText(const Declaration& declaration);

}  // namespace lumoidl::lsp
