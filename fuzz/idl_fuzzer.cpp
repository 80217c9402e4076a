// libFuzzer target: the input becomes one or two IDL files, parsed, walked and released, or on failure
// located and searched for further failures as the tool does.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/references.h"
#include "host/snapshot.h"
#include "tools/diagnostics/checker.h"

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
    const std::string message = lumoidl::host::errorMessage(result.get());
    if (message.empty()) {
        lumoidl::host::takeSnapshot(result.get());
        ILumoIDLParseResult_sortInterfaces(result.get());
        return 0;
    }
    std::vector<lumoidl::diagnostics::CheckInput> inputs;
    for (size_t i = 0; i < files.size(); ++i) {
        const uint8_t* begin = i == 0 ? data : data + split + 1;
        const uint8_t* end = i == 0 ? data + split : data + size;
        inputs.push_back({files[i], files[i], std::string(begin, end)});
    }
    const auto parse = [](const std::vector<std::string>& paths) {
        return lumoidl::host::errorMessage(lumoidl::host::parseFiles(paths).get());
    };
    const auto stage = [&](size_t index, const std::string& text) {
        const std::string path = scratchDir() + "/staged-" + std::to_string(index) + ".idl";
        writeFile(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
        return path;
    };
    lumoidl::diagnostics::collectDiagnostics(inputs, message, 4, parse, stage);
    return 0;
}
