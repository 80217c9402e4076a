// One check of the workspace: the library's message, then the diagnostics' search for more.
#include "tools/lsp/workspace_check.h"

#include <filesystem>

#include "host/references.h"
#include "tools/diagnostics/checker.h"
#include "tools/diagnostics/locator.h"

namespace lumoidl::lsp {
namespace {

/// The most failures reported for one check.
constexpr size_t kMaxDiagnostics = 100;

}  // namespace

std::string WorkspaceChecker::libraryPath(const Document& document) {
    if (!document.open) return document.path;
    auto& [version, path] = copies_[document.uri];
    if (path.empty() || version != document.version) {
        const std::string name = std::filesystem::path(document.path).filename().string();
        path = scratch_.write(std::to_string(written_++) + "-" + name, document.text);
        version = document.version;
    }
    return path;
}

std::vector<diagnostics::Diagnostic> WorkspaceChecker::check(
    const std::vector<Document>& documents, const std::vector<std::shared_ptr<const diagnostics::SourceOutline>>& outlines,
    const FirstFailure& first) {
    std::vector<diagnostics::CheckInput> inputs;
    std::vector<std::string> paths;
    for (size_t i = 0; i < documents.size(); ++i) {
        paths.push_back(libraryPath(documents[i]));
        inputs.push_back({documents[i].displayName, paths.back(), documents[i].text,
                          i < outlines.size() ? outlines[i] : nullptr});
    }
    const auto parse = [](const std::vector<std::string>& files) {
        return host::errorMessage(host::parseFiles(files).get());
    };
    const std::string message = parse(paths);
    if (message.empty()) return {};
    if (first) {
        std::vector<diagnostics::SourceSet::File> files;
        std::string shown = message;
        for (const diagnostics::CheckInput& input : inputs) {
            files.emplace_back(input.displayName, input.text, input.outline);
            diagnostics::showFileName(shown, input.libraryPath, input.displayName);
        }
        const diagnostics::SourceSet sources(std::move(files));
        first(diagnostics::locateMessage(shown, sources).diagnostic);
        for (size_t i = 0; i < inputs.size(); ++i) inputs[i].outline = sources.sharedOutline(i);
    }
    std::vector<std::string> staged;
    const auto stage = [&](size_t, const std::string& text) {
        staged.push_back(scratch_.write(std::to_string(written_++) + "-staged.idl", text));
        return staged.back();
    };
    auto found = diagnostics::collectDiagnostics(std::move(inputs), message, kMaxDiagnostics, parse, stage);
    std::error_code ignored;
    for (const std::string& path : staged) std::filesystem::remove(path, ignored);
    return std::move(found.diagnostics);
}

}  // namespace lumoidl::lsp
