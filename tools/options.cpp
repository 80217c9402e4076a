// Reading the tool's command line.
#include "tools/options.h"

namespace lumoidl::tool {
namespace {

bool setFormat(const std::string& name, Options& options) {
    if (name == "text")
        options.format = Format::kText;
    else if (name == "json")
        options.format = Format::kJson;
    else if (name == "dot")
        options.format = Format::kDot;
    else
        return false;
    return true;
}

}  // namespace

Options parseOptions(const std::vector<std::string>& arguments) {
    Options options;
    bool filesOnly = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
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
        } else if (argument == "--format" || argument.rfind("--format=", 0) == 0) {
            std::string name;
            if (argument == "--format") {
                if (i + 1 == arguments.size()) {
                    options.error = "--format needs a value: text, json or dot";
                    return options;
                }
                name = arguments[++i];
            } else {
                name = argument.substr(9);
            }
            if (!setFormat(name, options)) {
                options.error = "unknown format \"" + name + "\": use text, json or dot";
                return options;
            }
        } else {
            options.error = "unknown option \"" + argument + "\"";
            return options;
        }
    }
    if (!options.help && !options.version && options.files.empty()) options.error = "no input files";
    return options;
}

const char* usageLine() { return "usage: lumoidl [--format text|json|dot] [--sort] FILE..."; }

const char* helpText() {
    return "usage: lumoidl [--format text|json|dot] [--sort] FILE...\n"
           "\n"
           "Checks the IDL files, in order, as one set of type libraries, and prints what they\n"
           "declare.\n"
           "\n"
           "  --format text   a readable summary (the default)\n"
           "  --format json   the whole result as JSON (see docs/json.md)\n"
           "  --format dot    the interfaces and their references as a Graphviz graph\n"
           "  --sort          list interfaces in dependency order; fails on a cycle\n"
           "  --help          this text\n"
           "  --version       the version\n"
           "\n"
           "Exit status: 0 when the files are valid, 1 when they are not or the output cannot\n"
           "be written (the reason is on standard error), 2 for a bad command line or a\n"
           "dependency cycle with --sort.\n";
}

}  // namespace lumoidl::tool
