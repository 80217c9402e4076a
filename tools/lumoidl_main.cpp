// lumoidl: checks IDL files with the library and prints what they declare.
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "host/references.h"
#include "host/snapshot.h"
#include "tools/cycles.h"
#include "tools/failure_report.h"
#include "tools/inputs.h"
#include "tools/lsp/server_loop.h"
#include "tools/options.h"
#include "tools/output.h"
#include "tools/output_file.h"

namespace {

using lumoidl::host::LibraryRef;
using lumoidl::host::ResultRef;
using namespace lumoidl::tool;

/// Puts the result's interfaces, and each library's, into dependency order; false on a cycle.
bool sortAll(ILumoIDLParseResult* result) {
    if (!ILumoIDLParseResult_sortInterfaces(result)) return false;
    for (int32_t i = 0, n = ILumoIDLParseResult_getLibraryCount(result); i < n; ++i) {
        ILumoIDLLibrary* record = nullptr;
        if (ILumoIDLParseResult_getLibrary(result, i, &record) != LUMO_OK || !record) continue;
        LibraryRef library(record);
        ILumoIDLLibrary_sortInterfaces(library.get());
    }
    return true;
}

/// Checks the files and writes the listing or the failure; returns the exit status.
int check(const Options& options) {
    const InputSet inputs(options.files);
    ResultRef result = lumoidl::host::parseFiles(inputs.libraryPaths());
    if (!result) {
        std::cerr << "lumoidl: out of memory\n";
        return 1;
    }
    const std::string error = lumoidl::host::errorMessage(result.get());
    if (!error.empty()) return reportFailure(error, inputs, options);
    if (options.sort && !sortAll(result.get())) {
        std::cerr << "lumoidl: error: interfaces refer to each other in a cycle:";
        for (size_t i = 0; const std::string& name : findCycle(lumoidl::host::takeSnapshot(result.get())))
            std::cerr << (i++ ? " -> " : " ") << name;
        std::cerr << '\n';
        return 2;
    }
    const lumoidl::host::ResultSnapshot snapshot = lumoidl::host::takeSnapshot(result.get());
    return writeOutput(options.output, [&](std::ostream& out) {
        switch (options.format) {
        case Format::kText: writeText(snapshot, out); break;
        case Format::kJson: writeJson(snapshot, inputs.displayNames(), out); break;
        case Format::kDot: writeDot(snapshot, out); break;
        }
    });
}

/// Serves a language client on standard input and output, which carry bytes unchanged.
int serveLanguageClient() {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return lumoidl::lsp::runServer(std::cin, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "lsp") return serveLanguageClient();
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::cerr << "lumoidl: " << options.error << '\n' << usageLine() << '\n';
        return 2;
    }
    if (options.help) return writeOutput("", [](std::ostream& out) { out << helpText(); });
    if (options.version)
        return writeOutput("", [](std::ostream& out) { out << "lumoidl " << LUMOIDL_VERSION << '\n'; });
    try {
        return check(options);
    } catch (const std::exception& failure) {
        std::cerr << "lumoidl: " << failure.what() << '\n';
        return 1;
    }
}
