// lumoidl: checks IDL files with the library and reports the outcome.
#include <cstdio>
#include <string>
#include <vector>

#include "host/references.h"

namespace {

void printUsage(std::FILE* out) {
    std::fputs("usage: lumoidl FILE...\n"
               "Checks the IDL files, in order, as one set of type libraries.\n",
               out);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printUsage(stdout);
            return 0;
        }
        files.push_back(arg);
    }
    if (files.empty()) {
        printUsage(stderr);
        return 2;
    }
    lumoidl::host::ResultRef result = lumoidl::host::parseFiles(files);
    if (!result) {
        std::fputs("lumoidl: out of memory\n", stderr);
        return 1;
    }
    const std::string error = lumoidl::host::errorMessage(result.get());
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("%zu file(s) checked, %d librar%s\n", files.size(),
                ILumoIDLParseResult_getLibraryCount(result.get()),
                ILumoIDLParseResult_getLibraryCount(result.get()) == 1 ? "y" : "ies");
    return 0;
}
