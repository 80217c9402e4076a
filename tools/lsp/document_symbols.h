// The outline of one document as the client's document symbols.
#pragma once

#include <nlohmann/json.hpp>

#include "tools/diagnostics/source_outline.h"
#include "tools/lsp/line_index.h"

namespace lumoidl::lsp {

/// The symbols of `outline` as a tree: the library, holding its interfaces (holding their
/// methods), enumerations (holding their items) and category IDs; empty when no library name
/// was reached. `lines` indexes the outlined text.
nlohmann::json documentSymbols(const diagnostics::SourceOutline& outline, const LineIndex& lines);

}  // namespace lumoidl::lsp
