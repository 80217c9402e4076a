// The workspace's declarations whose names hold a query, as the client's symbol list.
#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "tools/lsp/symbol_index.h"

namespace lumoidl::lsp {

/// The interfaces, enumerations, category IDs and methods of `symbols` whose names hold
/// `query` (ignoring case; every one for an empty query), in document order, at most `limit`.
nlohmann::json workspaceSymbols(const SymbolIndex& symbols, std::string_view query, size_t limit = 1000);

}  // namespace lumoidl::lsp
