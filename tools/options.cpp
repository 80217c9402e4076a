// Reading the tool's command line.
#include "tools/options.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace lumoidl::tool {
namespace {

/// Stores the enumerator at the position of `word` in `names` (listed in the enumeration's
/// order) into `target`; returns why `word` is not usable, or empty.
template <class Value>
std::string choose(const std::string& word, const char* what, const std::vector<std::string>& names,
                   const char* expected, Value& target) {
    for (size_t k = 0; k < names.size(); ++k) {
        if (word != names[k]) continue;
        target = static_cast<Value>(k);
        return {};
    }
    return std::string("unknown ") + what + " \"" + word + "\": use " + expected;
}

/// Stores a --max-errors value; returns why it is not a whole number from 1, or empty.
std::string setMaxErrors(const std::string& word, const char* expected, Options& options) {
    const char* end = word.data() + word.size();
    const auto [stop, fault] = std::from_chars(word.data(), end, options.maxErrors);
    if (fault != std::errc() || stop != end || options.maxErrors < 1)
        return "bad --max-errors value \"" + word + "\": use " + expected;
    return {};
}

/// An option that takes a value: "--name VALUE", "--name=VALUE", or "-x VALUE" for a short name.
struct ValueOption {
    const char* name;       ///< the long name
    const char* shortName;  ///< the one-letter name, or null
    const char* expected;   ///< what the value may be, for messages
    /// Stores the value; returns why it is bad, or empty.
    std::string (*apply)(const std::string& value, const char* expected, Options& options);
};

const ValueOption kValueOptions[] = {
    {"--format", nullptr, "text, json or dot",
     [](const std::string& value, const char* expected, Options& options) {
         return choose(value, "format", {"text", "json", "dot"}, expected, options.format);
     }},
    {"--color", nullptr, "auto, always or never",
     [](const std::string& value, const char* expected, Options& options) {
         return choose(value, "color mode", {"auto", "always", "never"}, expected, options.color);
     }},
    {"--message-format", nullptr, "plain or full",
     [](const std::string& value, const char* expected, Options& options) {
         return choose(value, "message format", {"plain", "full"}, expected, options.messageFormat);
     }},
    {"--max-errors", nullptr, "a whole number from 1", setMaxErrors},
    {"--output", "-o", "a file name",
     [](const std::string& value, const char* expected, Options& options) {
         options.output = value;
         return value.empty() ? "--output needs a value: " + std::string(expected) : std::string();
     }},
};

/// Reads the value option at arguments[i], moving `i` past a separate value; false when
/// arguments[i] is none of them.
bool readValueOption(const std::vector<std::string>& arguments, size_t& i, Options& options) {
    const std::string& argument = arguments[i];
    for (const ValueOption& option : kValueOptions) {
        const std::string name = option.name;
        if (argument.rfind(name + "=", 0) == 0) {
            options.error = option.apply(argument.substr(name.size() + 1), option.expected, options);
            return true;
        }
        if (argument != name && !(option.shortName && argument == option.shortName)) continue;
        if (i + 1 == arguments.size())
            options.error = argument + " needs a value: " + option.expected;
        else
            options.error = option.apply(arguments[++i], option.expected, options);
        return true;
    }
    return false;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    bool filesOnly = false;
    for (size_t i = 0; i < arguments.size() && options.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (filesOnly || argument.empty() || argument[0] != '-' || argument == "-") {
            options.files.push_back(argument);
        } else if (argument == "--") {
            filesOnly = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (argument == "--sort") {
            options.sort = true;
        } else if (!readValueOption(arguments, i, options)) {
            options.error = "unknown option \"" + argument + "\"";
        }
    }
    if (!options.error.empty()) return options;
    if (std::count(options.files.begin(), options.files.end(), "-") > 1)
        options.error = "standard input (-) can be read only once";
    else if (!options.help && !options.version && options.files.empty())
        options.error = "no input files";
    return options;
}

bool colorWanted(const Options& options, bool stderrIsTerminal) {
    if (options.color != ColorMode::kAuto) return options.color == ColorMode::kAlways;
    const char* noColor = std::getenv("NO_COLOR");
    return stderrIsTerminal && !(noColor && *noColor);
}

const char* usageLine() { return "usage: lumoidl [--format text|json|dot] [--sort] [-o FILE] [OPTION]... FILE..."; }

const char* helpText() {
    return "usage: lumoidl [--format text|json|dot] [--sort] [-o FILE] [OPTION]... FILE...\n"
           "\n"
           "Checks the IDL files, in order, as one set of type libraries, and prints what they\n"
           "declare. A FILE of - is standard input.\n"
           "\n"
           "  --format text           a readable summary (the default)\n"
           "  --format json           the whole result as JSON, or an error document on failure\n"
           "                          (see docs/json.md)\n"
           "  --format dot            the interfaces and their references as a Graphviz graph\n"
           "  --sort                  list interfaces in dependency order; fails on a cycle\n"
           "  -o, --output FILE       write to FILE instead of standard output; FILE is replaced\n"
           "                          only by a complete listing\n"
           "  --color WHEN            colour messages: auto (on a terminal, unless NO_COLOR is\n"
           "                          set), always or never; auto is the default\n"
           "  --message-format FORM   full (the default), or plain: the library's message alone\n"
           "  --max-errors N          report at most N errors (default 20)\n"
           "  --help                  this text\n"
           "  --version               the version\n"
           "\n"
           "A value can also follow its option after '=', as in --color=never.\n"
           "\n"
           "lumoidl lsp runs a language server on standard input and output for editors\n"
           "(see docs/editors.md).\n"
           "\n"
           "Exit status: 0 when the files are valid, 1 when they are not or the output cannot\n"
           "be written (the reason is on standard error), 2 for a bad command line or a\n"
           "dependency cycle with --sort.\n";
}

}  // namespace lumoidl::tool
