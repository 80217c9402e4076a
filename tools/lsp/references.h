// The places across the workspace that name an interface or an enumeration.
#pragma once

#include <vector>

#include "tools/lsp/symbol_index.h"

namespace lumoidl::lsp {

/// A run of bytes in a document.
struct DocumentSpan {
    const Document* document = nullptr;  ///< the document
    diagnostics::Span span;              ///< the bytes in it
};

/// The places that name `declaration`: its declared name when `withDeclaration`, then every
/// type reference in `symbols` that resolves to it (template arguments included), in document
/// order and, within a document, by declaration.
std::vector<DocumentSpan> referencesTo(const SymbolIndex& symbols, const Declaration& declaration, bool withDeclaration);

}  // namespace lumoidl::lsp
