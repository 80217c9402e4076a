// Reporting a failed check: located diagnostics on standard error and, for JSON, an error document.
#include "tools/failure_report.h"

#include <unistd.h>

#include <iostream>

#include "host/references.h"
#include "tools/diagnostics/checker.h"
#include "tools/diagnostics/renderer.h"
#include "tools/output.h"
#include "tools/output_file.h"

namespace lumoidl::tool {
namespace {

std::vector<diagnostics::CheckInput> checkInputs(const InputSet& inputs) {
    std::vector<diagnostics::CheckInput> out;
    for (size_t i = 0; i < inputs.size(); ++i) {
        const auto bytes = inputs.bytes(i);
        out.push_back({inputs.displayName(i), inputs.libraryPath(i), bytes ? std::string(*bytes) : std::string()});
    }
    return out;
}

/// The failures of `files`, starting from the library's `message`: every one the search finds,
/// or with the plain message format that one alone (still located, for the JSON document).
diagnostics::CheckReport findFailures(const std::string& message, const InputSet& inputs,
                                      const std::vector<diagnostics::CheckInput>& files,
                                      const diagnostics::SourceSet& sources, const Options& options) {
    if (options.messageFormat == MessageFormat::kPlain)
        return {{diagnostics::locateMessage(inputs.toDisplay(message), sources).diagnostic}, 0, false};
    const ScratchDir scratch;
    size_t staged = 0;
    const auto stage = [&](size_t index, const std::string& text) {
        return scratch.write(std::to_string(staged++) + "-" + std::to_string(index) + ".idl", text);
    };
    const auto parse = [](const std::vector<std::string>& paths) {
        return host::errorMessage(host::parseFiles(paths).get());
    };
    return diagnostics::collectDiagnostics(files, message, static_cast<size_t>(options.maxErrors), parse, stage);
}

}  // namespace

int reportFailure(const std::string& message, const InputSet& inputs, const Options& options) {
    const std::vector<diagnostics::CheckInput> files = checkInputs(inputs);
    std::vector<diagnostics::SourceSet::File> views;
    for (const auto& file : files) views.push_back({file.displayName, file.text});
    const diagnostics::SourceSet sources(std::move(views));
    const diagnostics::CheckReport report = findFailures(message, inputs, files, sources, options);
    const bool color = colorWanted(options, isatty(STDERR_FILENO) != 0);
    for (const diagnostics::Diagnostic& diagnostic : report.diagnostics) {
        if (options.messageFormat == MessageFormat::kPlain)
            std::cerr << diagnostic.message << '\n';
        else
            diagnostics::renderDiagnostic(diagnostic, sources, color, std::cerr);
    }
    if (report.stoppedAtLimit)
        std::cerr << "lumoidl: stopped after " << report.diagnostics.size() << " errors (--max-errors)\n";
    if (options.format == Format::kJson && !report.diagnostics.empty()) {
        const diagnostics::Diagnostic& first = report.diagnostics[report.libraryMessage];
        writeOutput(options.output, [&](std::ostream& out) { writeJsonError(first, out); });
    }
    return 1;
}

}  // namespace lumoidl::tool
