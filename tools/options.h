// The tool's command line.
#pragma once

#include <string>
#include <vector>

namespace lumoidl::tool {

/// Output formats.
enum class Format { kText, kJson, kDot };

/// What the command line asks for.
struct Options {
    Format format = Format::kText;    ///< --format
    bool sort = false;                ///< --sort
    bool help = false;                ///< --help
    bool version = false;             ///< --version
    std::vector<std::string> files;   ///< the IDL files, in order
    std::string error;                ///< why the command line is not usable, or empty
};

/// Reads the arguments after the program name.
Options parseOptions(const std::vector<std::string>& arguments);

/// The one-line usage text.
const char* usageLine();

/// The full help text.
const char* helpText();

}  // namespace lumoidl::tool
