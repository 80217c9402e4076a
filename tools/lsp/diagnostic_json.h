// The tool's diagnostics as the diagnostics a language client shows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/diagnostics/diagnostic.h"
#include "tools/lsp/workspace.h"

namespace lumoidl::lsp {

/// The client diagnostics of `found`, by document URI: each with its range, notes that point
/// elsewhere as related information and the others (suggestions) appended to the message. A failure that names no document of `documents` goes to the first document.
std::map<std::string, nlohmann::json> clientDiagnostics(const std::vector<diagnostics::Diagnostic>& found,
                                                        const std::vector<Document>& documents);

}  // namespace lumoidl::lsp
