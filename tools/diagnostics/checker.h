// Finds more than one failure in a set of files by checking again with the failing part left out.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/diagnostics/diagnostic.h"
#include "tools/diagnostics/source_outline.h"

namespace lumoidl::diagnostics {

/// One file of a check.
struct CheckInput {
    std::string displayName;  ///< the name to show
    std::string libraryPath;  ///< the name handed to the library
    std::string text;         ///< the file's bytes
    std::shared_ptr<const SourceOutline> outline = nullptr;  ///< the outline of `text` when made already, else null
};

/// Replaces in `message` every quoted `path` (as the library quotes file names) by the quoted
/// `display` name.
void showFileName(std::string& message, const std::string& path, const std::string& display);

/// Hands `paths` to the library in that order and returns its message in UTF-8, empty when
/// the files are valid.
using ParseFunction = std::function<std::string(const std::vector<std::string>& paths)>;

/// Writes `text` as a private copy of input `index` and returns the path to hand the library.
using StageFunction = std::function<std::string(size_t index, const std::string& text)>;

/// The failures found, in file order and, within a file, in source order.
struct CheckReport {
    std::vector<Diagnostic> diagnostics;  ///< every failure found
    size_t libraryMessage = 0;            ///< index of the one the library gave for the whole set
    bool stoppedAtLimit = false;          ///< true when `maxErrors` ended the search
};

/// Locates `firstMessage` (what the library said for `inputs`, file names as handed to it)
/// and looks for further independent failures, up to `maxErrors` in all. After a failure in
/// one file's own checks the failing declaration (or, after a syntax error or a library-level
/// failure, the whole file) is left out and the rest is checked again; only failures of the
/// files' own checks are reported then, since those across files could stem from what was left
/// out. After a failure across libraries or in type resolution, the method (or, for a uuid
/// used twice, that uuid) is left out or replaced and the set is checked again.
CheckReport collectDiagnostics(std::vector<CheckInput> inputs, const std::string& firstMessage, size_t maxErrors,
                               const ParseFunction& parse, const StageFunction& stage);

}  // namespace lumoidl::diagnostics
