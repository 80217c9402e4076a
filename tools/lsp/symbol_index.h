// The outlines of a workspace's documents, and the declarations that type names refer to.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/diagnostics/source_outline.h"
#include "tools/lsp/workspace.h"

namespace lumoidl::lsp {

/// An interface or an enumeration and the document that declares it.
struct Declaration {
    const Document* document = nullptr;                  ///< where it is declared
    const diagnostics::SourceOutline* outline = nullptr;  ///< that document's outline
    const diagnostics::Interface* interface = nullptr;   ///< the interface, or null for an enumeration
    const diagnostics::Enumeration* enumeration = nullptr;  ///< the enumeration, or null for an interface

    /// The declared name.
    const diagnostics::Word& name() const { return interface ? interface->name : enumeration->name; }
    /// `LIBRARY::Name`.
    std::string qualifiedName() const { return outline->libraryName.text + "::" + name().text; }
};

/// The outlines of the documents, made again for a document only when its version changed.
class SymbolIndex {
public:
    /// One document's outline.
    struct Entry {
        const Document* document;                                ///< the document
        std::string uri;                                         ///< its URI, to match it on the next update
        unsigned version;                                        ///< its version when outlined
        std::shared_ptr<const diagnostics::SourceOutline> outline;  ///< its outline
    };

    /// Takes the documents as they are now; pointers into `documents` are kept until the next call.
    void update(const std::vector<Document>& documents);

    /// The outlines of the documents, in document order.
    std::vector<std::shared_ptr<const diagnostics::SourceOutline>> outlines() const;
    /// The outline of `uri`, or null when it is no document.
    const diagnostics::SourceOutline* outline(const std::string& uri) const;
    /// The declaration named by the type name or declared name at byte `offset` of `uri`; none for
    /// built-in types, template parameters, unknown names and other places.
    std::optional<Declaration> declarationAt(const std::string& uri, size_t offset) const;
    /// The declaration `name` stands for when written in library `library`: `LIB::Name` in any
    /// document of library LIB, a plain name in a document of `library`.
    std::optional<Declaration> resolve(std::string_view name, std::string_view library) const;

    /// The outlined documents, in document order.
    const std::vector<Entry>& entries() const { return entries_; }
    /// Every interface and enumeration of every document, in document order.
    std::vector<Declaration> declarations() const;

private:
    std::vector<Entry> entries_;  ///< in document order
};

}  // namespace lumoidl::lsp
