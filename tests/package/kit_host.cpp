// A C++ host on the installed host kit: parses the files named on its command line, prints the
// library names, then provokes and prints a lumora_error.
#include <iostream>
#include <string>
#include <vector>

#include <lumoidl/host/references.h>
#include <lumoidl/host/snapshot.h>

int main(int argc, char** argv) {
    const lumoidl::host::ResultRef result = lumoidl::host::parseFiles(std::vector<std::string>(argv + 1, argv + argc));
    const std::string error = lumoidl::host::errorMessage(result.get());
    if (!error.empty()) {
        std::cout << error << '\n';
        return 1;
    }
    for (const lumoidl::host::LibraryInfo& library : lumoidl::host::takeSnapshot(result.get()).libraries)
        std::cout << library.name << ' ';
    ILumoIDLLibrary* record = nullptr;
    ILumoIDLParseResult_getLibrary(result.get(), 0, &record);
    const lumoidl::host::LibraryRef library(record);
    try {
        ILumoIDLLibrary_getName(library.get(), nullptr);
    } catch (const ZEMRA::lumora_error& failure) {
        std::cout << failure.code() << ' ' << (failure.error_text() == failure.full_text()) << ' ' << failure.what();
    }
    std::cout << '\n';
    return 0;
}
