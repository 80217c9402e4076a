// Checking the documents of a workspace through the library, unsaved buffers included.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/diagnostics/diagnostic.h"
#include "tools/diagnostics/source_outline.h"
#include "tools/inputs.h"
#include "tools/lsp/workspace.h"

namespace lumoidl::lsp {

/// Hands the documents to the library in order and collects every failure the diagnostics find.
/// Open buffers go to the library as copies in a private scratch folder; each is written again
/// only when its text changed.
class WorkspaceChecker {
public:
    /// Receives the failure the library reported, located, before the search for more begins.
    using FirstFailure = std::function<void(const diagnostics::Diagnostic& failure)>;

    /// The failures of `documents`, each located by document display name; empty when valid.
    /// `outlines`, when given, holds each document's outline in the same order, so that the
    /// search for further failures does not read unchanged documents again. `first`, when
    /// given, learns of the library's own failure as soon as it is located.
    std::vector<diagnostics::Diagnostic> check(const std::vector<Document>& documents,
                                               const std::vector<std::shared_ptr<const diagnostics::SourceOutline>>& outlines = {},
                                               const FirstFailure& first = {});

private:
    /// The path to hand the library for `document`: the file itself, or a copy of its buffer.
    std::string libraryPath(const Document& document);

    tool::ScratchDir scratch_;                                      ///< holds the buffer copies
    std::map<std::string, std::pair<unsigned, std::string>> copies_;  ///< by URI: version and path of the copy
    size_t written_ = 0;                                            ///< copies written so far
};

}  // namespace lumoidl::lsp
