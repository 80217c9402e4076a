// libFuzzer target: the input becomes one or two IDL files, parsed, walked and released.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/references.h"
#include "host/snapshot.h"

namespace {

/// A directory of this process's own for the input files.
const std::string& scratchDir() {
    static const std::string dir = [] {
        // Memory-backed when the system has it: every execution writes its files anew.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        const auto path = base / ("lumoidl-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return dir;
}

void writeFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A form feed splits the input into two files, so that references across files and the
    // cross-library checks are reached too; it is not a byte the language uses.
    const std::string first = scratchDir() + "/a.idl";
    const std::string second = scratchDir() + "/b.idl";
    size_t split = 0;
    while (split < size && data[split] != '\f') ++split;
    writeFile(first, data, split);
    std::vector<std::string> files{first};
    if (split < size) {
        writeFile(second, data + split + 1, size - split - 1);
        files.push_back(second);
    }
    lumoidl::host::ResultRef result = lumoidl::host::parseFiles(files);
    if (!result) return 0;
    if (lumoidl::host::errorMessage(result.get()).empty()) {
        lumoidl::host::takeSnapshot(result.get());
        ILumoIDLParseResult_sortInterfaces(result.get());
    }
    return 0;
}
