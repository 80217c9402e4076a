// Times whole LumoIDLParse calls on generated corpora and reports speed, scaling and peak memory.
//
// usage: throughput [--runs N] CORPUS_DIR...
//        throughput --calls N CORPUS_DIR
// Each CORPUS_DIR is a folder written by gen_corpus.py. One line per corpus goes to standard
// output, as tab-separated fields: megabytes, files, declarations, median seconds, MB/s,
// declarations per second, peak memory in MB, peak memory per input byte.
// With --calls the corpus is parsed N times and nothing is printed: for instruction counts
// under callgrind, where the counts of two runs with different N differ by the calls alone.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "host/host_string_array.h"
#include "host/references.h"

namespace {

using lumoidl::host::errorMessage;
using lumoidl::host::HostStringArray;
using lumoidl::host::ResultRef;

/// One generated corpus as its manifest describes it.
struct Corpus {
    std::string directory;           ///< where it lies
    std::vector<std::string> files;  ///< full names, in hand-over order
    double bytes = 0;                ///< total size of the IDL files
    double declarations = 0;         ///< all declarations of every kind
};

Corpus loadCorpus(const std::string& directory) {
    std::ifstream in(directory + "/manifest.json");
    if (!in) {
        std::fprintf(stderr, "throughput: no manifest.json in %s\n", directory.c_str());
        std::exit(2);
    }
    const nlohmann::json manifest = nlohmann::json::parse(in);
    Corpus corpus;
    corpus.directory = directory;
    for (const auto& file : manifest["files"]) corpus.files.push_back(directory + "/" + file.get<std::string>());
    corpus.bytes = manifest["bytes"].get<double>();
    for (const auto& [kind, count] : manifest["declarations"].items()) corpus.declarations += count.get<double>();
    return corpus;
}

/// Adds the corpus's file names to `names`, in hand-over order.
void addFiles(const Corpus& corpus, HostStringArray& names) {
    for (const std::string& file : corpus.files) names.addUtf8(file);
}

/// One parse of the corpus; stops the program when the library rejects it.
double timedParse(const Corpus& corpus, HostStringArray& names) {
    const auto start = std::chrono::steady_clock::now();
    ResultRef result(LumoIDLParse(names.record()));
    const auto stop = std::chrono::steady_clock::now();
    const std::string error = errorMessage(result.get());
    if (!error.empty()) {
        std::fprintf(stderr, "throughput: %s was rejected: %s\n", corpus.directory.c_str(), error.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(stop - start).count();
}

/// A field of /proc/self/status in kB ("VmHWM", "VmRSS").
long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0) return std::strtol(line.c_str() + prefix.size(), nullptr, 10);
    }
    return -1;
}

/// Prints the growth of the resident set during one parse, in bytes: the work of a fresh
/// process (see peakMemory), so that no earlier run has left memory behind to reuse.
int measureMemory(const std::string& directory) {
    const Corpus corpus = loadCorpus(directory);
    HostStringArray names;
    addFiles(corpus, names);
    const long before = statusKilobytes("VmRSS");
    ResultRef result(LumoIDLParse(names.record()));
    std::printf("%ld\n", (statusKilobytes("VmHWM") - before) * 1024);
    return 0;
}

/// Parses the corpus `calls` times, each result released before the next call, and prints nothing.
int parseRepeatedly(const std::string& directory, int calls) {
    const Corpus corpus = loadCorpus(directory);
    HostStringArray names;
    addFiles(corpus, names);
    for (int call = 0; call < calls; ++call) timedParse(corpus, names);
    return 0;
}

/// Runs this program again as `throughput --memory DIRECTORY` and reads what it prints.
double peakMemory(const std::string& directory) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        close(channel[1]);
        execl("/proc/self/exe", "throughput", "--memory", directory.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    char text[64] = {};
    const ssize_t length = read(channel[0], text, sizeof text - 1);
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return length > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::atof(text) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::vector<std::string> directories;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--memory" && i + 1 < argc) return measureMemory(argv[i + 1]);
        if (argument == "--calls" && i + 2 < argc) return parseRepeatedly(argv[i + 2], std::atoi(argv[i + 1]));
        if (argument == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            directories.push_back(argument);
        }
    }
    if (directories.empty()) {
        std::fprintf(stderr, "usage: throughput [--runs N] CORPUS_DIR...\n       throughput --calls N CORPUS_DIR\n");
        return 2;
    }
    for (const std::string& directory : directories) {
        const Corpus corpus = loadCorpus(directory);
        HostStringArray names;
        addFiles(corpus, names);
        timedParse(corpus, names);  // warm-up: file cache, allocator, code
        std::vector<double> seconds;
        for (int run = 0; run < runs; ++run) seconds.push_back(timedParse(corpus, names));
        std::sort(seconds.begin(), seconds.end());
        const double median = seconds[seconds.size() / 2];
        const double megabytes = corpus.bytes / (1024.0 * 1024.0);
        const double peak = peakMemory(directory);
        std::printf("%.2f\t%zu\t%.0f\t%.4f\t%.1f\t%.0f\t%.1f\t%.2f\n", megabytes, corpus.files.size(),
                    corpus.declarations, median, megabytes / median, corpus.declarations / median,
                    peak / (1024.0 * 1024.0), peak / corpus.bytes);
        std::fflush(stdout);
    }
    return 0;
}
