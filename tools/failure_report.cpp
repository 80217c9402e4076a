// Reporting a failed check on standard error and, for JSON, as an error document.
#include "tools/failure_report.h"

#include <iostream>

#include "tools/output.h"
#include "tools/output_file.h"

namespace lumoidl::tool {

int reportFailure(const std::string& message, const InputSet&, const Options& options) {
    std::cerr << message << '\n';
    if (options.format == Format::kJson) {
        const diagnostics::Diagnostic diagnostic{message, {}, {}};
        writeOutput(options.output, [&](std::ostream& out) { writeJsonError(diagnostic, out); });
    }
    return 1;
}

}  // namespace lumoidl::tool
