// Time of sortInterfaces on a parse result whose interfaces are declared in reverse dependency order.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "host/references.h"
#include "interface_chain.h"

namespace {

using lumoidl::host::errorMessage;
using lumoidl::host::parseFiles;
using lumoidl::host::ResultRef;

/// The chain source of one size in a file of its own, removed with the object.
class ChainFile {
public:
    explicit ChainFile(int count) {
        static std::atomic<unsigned> serial{0};
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("lumoidl-sort-benchmark-" + std::to_string(seed()) + "-" + std::to_string(serial++) + ".idl");
        std::ofstream(path_, std::ios::binary) << lumoidl::bench::interfaceChainSource(count);
    }
    ChainFile(const ChainFile&) = delete;
    ChainFile& operator=(const ChainFile&) = delete;
    ~ChainFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }

    /// The file name in UTF-8, as parseFiles takes it.
    std::string name() const {
        const std::u8string bytes = path_.u8string();
        return std::string(bytes.begin(), bytes.end());
    }

private:
    std::filesystem::path path_;
};

void sortChain(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const ChainFile file(count);
    // A sorted list stays sorted, and the host interface offers no way to put it back, so
    // every iteration needs a result still in declaration order. Holding one parsed result
    // per iteration would take hundreds of megabytes at the largest size; instead the same
    // file is parsed again with the timer paused, and the sorted result is released with the
    // timer paused, so that only sortInterfaces is measured.
    for (auto _ : state) {
        state.PauseTiming();
        ResultRef result = parseFiles({file.name()});
        const std::string error = errorMessage(result.get());
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
        state.ResumeTiming();
        const LumoBool sorted = ILumoIDLParseResult_sortInterfaces(result.get());
        state.PauseTiming();
        if (!sorted) {
            state.SkipWithError("the chain was reported as a cycle");
            break;
        }
        result.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

// The iteration counts keep the untimed parsing to a few seconds per size.
BENCHMARK(sortChain)->Arg(1000)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(sortChain)->Arg(10000)->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(sortChain)->Arg(100000)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
