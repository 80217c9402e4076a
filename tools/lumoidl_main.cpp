// lumoidl: checks IDL files with the library and prints what they declare.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "host/references.h"
#include "host/snapshot.h"
#include "tools/options.h"
#include "tools/output.h"

namespace {

using lumoidl::host::LibraryRef;
using lumoidl::host::ResultRef;

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

/// Flushes standard output; a full disk or closed pipe must not pass for a complete listing.
int finishOutput() {
    std::cout.flush();
    if (std::cout) return 0;
    std::cerr << "lumoidl: could not write the output\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumoidl::tool;
    const Options options = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::cerr << "lumoidl: " << options.error << '\n' << usageLine() << '\n';
        return 2;
    }
    if (options.help) {
        std::cout << helpText();
        return finishOutput();
    }
    if (options.version) {
        std::cout << "lumoidl " << LUMOIDL_VERSION << '\n';
        return finishOutput();
    }
    ResultRef result = lumoidl::host::parseFiles(options.files);
    if (!result) {
        std::cerr << "lumoidl: out of memory\n";
        return 1;
    }
    const std::string error = lumoidl::host::errorMessage(result.get());
    if (!error.empty()) {
        std::cerr << error << '\n';
        return 1;
    }
    if (options.sort && !sortAll(result.get())) {
        std::cerr << "lumoidl: the interfaces refer to each other in a cycle, so no dependency order exists\n";
        return 2;
    }
    const lumoidl::host::ResultSnapshot snapshot = lumoidl::host::takeSnapshot(result.get());
    switch (options.format) {
    case Format::kText: writeText(snapshot, std::cout); break;
    case Format::kJson: writeJson(snapshot, std::cout); break;
    case Format::kDot: writeDot(snapshot, std::cout); break;
    }
    return finishOutput();
}
