// The tool's command line.
#pragma once

#include <string>
#include <vector>

namespace lumoidl::tool {

/// Output formats.
enum class Format { kText, kJson, kDot };

/// When messages are coloured.
enum class ColorMode { kAuto, kAlways, kNever };

/// How a failure is shown on standard error.
enum class MessageFormat { kPlain, kFull };

/// What the command line asks for.
struct Options {
    Format format = Format::kText;                     ///< --format
    bool sort = false;                                 ///< --sort
    bool help = false;                                 ///< --help
    bool version = false;                              ///< --version
    ColorMode color = ColorMode::kAuto;                ///< --color
    MessageFormat messageFormat = MessageFormat::kFull;  ///< --message-format
    int maxErrors = 20;                                ///< --max-errors, at least 1
    std::string output;                                ///< -o/--output; empty for standard output
    std::vector<std::string> files;                    ///< the IDL files, in order; "-" is standard input
    std::string error;                                 ///< why the command line is not usable, or empty
};

/// Reads the arguments after the program name.
Options parseOptions(const std::vector<std::string>& arguments);

/// True when messages on standard error should be coloured: always with --color=always, never
/// with --color=never, and with auto when standard error is a terminal and NO_COLOR is unset or empty.
bool colorWanted(const Options& options, bool stderrIsTerminal);

/// The one-line usage text.
const char* usageLine();

/// The full help text.
const char* helpText();

}  // namespace lumoidl::tool
