// What the client may insert at the cursor: type names, attribute names, or a fresh uuid.
#pragma once

#include <cstddef>
#include <string_view>

#include <nlohmann/json.hpp>

#include "tools/lsp/line_index.h"
#include "tools/lsp/symbol_index.h"

namespace lumoidl::lsp {

/// The completion items at byte `offset` of `text` (whose lines `lines` indexes): inside a
/// `uuid(` value a fresh uuid; inside an attribute list the attribute names the declaration
/// there takes; inside an interface the type names visible there (built-in types, the
/// interface's template parameters, the interfaces and enumerations of `symbols`, plain when of
/// the same library, else qualified); elsewhere none.
nlohmann::json completionItems(const SymbolIndex& symbols, std::string_view text, size_t offset, const LineIndex& lines);

}  // namespace lumoidl::lsp
