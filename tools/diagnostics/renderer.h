// Writes diagnostics as compilers do: location, severity, message, the source line and a caret.
#pragma once

#include <ostream>

#include "tools/diagnostics/diagnostic.h"
#include "tools/diagnostics/locator.h"

namespace lumoidl::diagnostics {

/// Writes `diagnostic` and its notes to `out`: `FILE:LINE:COL: error: MESSAGE`, the source line
/// from `sources` and a caret line under the place; `FILE: error:` when the place is not known,
/// `lumoidl: error:` when no file is. With `color`, in the colours of a terminal.
void renderDiagnostic(const Diagnostic& diagnostic, const SourceSet& sources, bool color, std::ostream& out);

}  // namespace lumoidl::diagnostics
