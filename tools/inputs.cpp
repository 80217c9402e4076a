// Input files by display name and library path; standard input through a scratch copy.
#include "tools/inputs.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

#include "tools/diagnostics/checker.h"

namespace lumoidl::tool {
namespace {

/// The whole content of `in`, or no value when reading fails.
std::optional<std::string> readAll(std::istream& in) {
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumoidl-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a scratch folder \"" + pattern + "\": " + std::strerror(errno));
    dir_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
}

std::string ScratchDir::write(const std::string& name, std::string_view bytes) const {
    const std::string path = (dir_ / name).string();
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write the scratch file \"" + path + "\"");
    return path;
}

InputSet::InputSet(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (file != "-") {
            inputs_.push_back({file, file, std::nullopt, false});
            continue;
        }
        std::optional<std::string> bytes = readAll(std::cin);
        if (!bytes) throw std::runtime_error("cannot read standard input");
        scratch_ = std::make_unique<ScratchDir>();
        inputs_.push_back({"<stdin>", scratch_->write("stdin.idl", *bytes), std::move(bytes), true});
    }
}

std::vector<std::string> InputSet::libraryPaths() const {
    std::vector<std::string> paths;
    for (const Input& input : inputs_) paths.push_back(input.path);
    return paths;
}

std::vector<std::string> InputSet::displayNames() const {
    std::vector<std::string> names;
    for (const Input& input : inputs_) names.push_back(input.display);
    return names;
}

std::optional<std::string_view> InputSet::bytes(size_t index) const {
    const Input& input = inputs_[index];
    if (!input.read) {
        std::ifstream in(input.path, std::ios::binary);
        if (in) input.bytes = readAll(in);
        input.read = true;
    }
    if (!input.bytes) return std::nullopt;
    return std::string_view(*input.bytes);
}

std::string InputSet::toDisplay(std::string message) const {
    for (const Input& input : inputs_) {
        if (input.path != input.display) diagnostics::showFileName(message, input.path, input.display);
    }
    return message;
}

}  // namespace lumoidl::tool
