// The tool's three renderings of a parse result, and the JSON form of a failure.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/snapshot.h"
#include "tools/diagnostics/diagnostic.h"

namespace lumoidl::tool {

/// A readable summary: library after library, with interfaces, methods and their resolved
/// signatures, enumerations with their items, and category IDs.
void writeText(const host::ResultSnapshot& snapshot, std::ostream& out);

/// The whole result as one JSON document (shape in docs/json.md); `files` names the file of each
/// library, in the same order.
void writeJson(const host::ResultSnapshot& snapshot, const std::vector<std::string>& files, std::ostream& out);

/// A failure as the JSON error document: {"error": {"message", and "file", "line", "column" when
/// known}} (shape in docs/json.md).
void writeJsonError(const diagnostics::Diagnostic& diagnostic, std::ostream& out);

/// The interfaces and the references between them as a Graphviz digraph.
void writeDot(const host::ResultSnapshot& snapshot, std::ostream& out);

/// A type as written in a signature: name, then template arguments in angle brackets.
std::string typeText(const host::TypeInfo& type);

}  // namespace lumoidl::tool
