// Several failures in one run: what is left out after each, and what is no longer reported then.
#include "tools/diagnostics/checker.h"

#include <gtest/gtest.h>

#include "host/references.h"
#include "support/fake_host.h"

namespace {

using lumoidl::diagnostics::collectDiagnostics;

/// A library file named `name` holding `items`, each declaration on its own lines.
std::string library(const std::string& name, const std::string& uuidDigit, const std::string& items) {
    return "[uuid(" + std::string(8, uuidDigit[0]) + "-0000-4000-8000-000000000001)]\nlibrary " + name + " {\n" +
           items + "};\n";
}

std::string iface(const std::string& name, const std::string& uuidTail, const std::string& methods = "") {
    return "    [uuid(0A000000-0000-4000-8000-" + uuidTail + ")]\n    interface " + name + " {\n" + methods +
           "    };\n";
}

struct Case {
    const char* name;
    std::vector<std::string> files;    ///< the texts of a.idl, b.idl, ... in order
    size_t maxErrors;
    std::vector<std::string> expected;  ///< "FILE:LINE:COL: MESSAGE" of each diagnostic, in order
    bool stoppedAtLimit;
};

std::vector<Case> cases() {
    const std::string good = iface("IGood", "000000000001");
    return {
        {"three independent rule failures in one file, reported in source order",
         {library("L", "1", "    interface INoUuid { };\n" + iface("IBad", "000000000002",
                  "        LUMORESULT f([in] LumoReal x, [in] LumoReal X);\n") +
                  "    [uuid(0B000000-0000-4000-8000-000000000003)]\n    enum { R = 1, R = 2 } E;\n")},
         20,
         {"a.idl:3:15: Interface \"INoUuid\" must have a uuid attribute",
          "a.idl:6:53: Method \"f\" in interface \"IBad\" has multiple arguments named \"x\" in \"a.idl\" (all argument "
          "must differ by name in case-insensitive languages)",
          "a.idl:9:19: Enumeration \"E\" has multiple definitions of item \"R\" in \"a.idl\""},
         false},
        {"a syntax error ends its file; the next file is still checked on its own",
         {library("A", "1", "    interface I { }\n"), library("B", "2", "    interface J { };\n")},
         20,
         {"a.idl:4:1: Parse error in \"a.idl\": line 4, pos 1: syntax error",
          "b.idl:3:15: Interface \"J\" must have a uuid attribute"},
         false},
        {"after a file's own failure, failures across files are not reported",
         {library("A", "1", "    interface I { };\n"),
          library("B", "2", good + iface("IUse", "000000000002", "        LUMORESULT f([in] IMissing m);\n"))},
         20,
         {"a.idl:3:15: Interface \"I\" must have a uuid attribute"},
         false},
        {"type resolution failures of several methods, each reported",
         {library("A", "1", iface("IUse", "000000000002",
                                  "        LUMORESULT f([in] IMisng m);\n        IOther g();\n"))},
         20,
         {"a.idl:5:27: Error with type of argument \"m\" of method \"f\" of interface \"IUse\": unresolved type \"IMisng\"",
          "a.idl:6:9: Error with return type of method \"g\" of interface \"IUse\": unresolved type \"IOther\""},
         false},
        {"a uuid used in two libraries gets a fresh one and the check goes on",
         {library("A", "1", good), library("B", "2", good + iface("IUse", "000000000003", "        X f();\n"))},
         20,
         {"b.idl:3:11: Type with uuid \"0A000000-0000-4000-8000-000000000001\" is defined in multiple libraries",
          "b.idl:8:9: Error with return type of method \"f\" of interface \"IUse\": unresolved type \"X\""},
         false},
        {"the limit ends the search",
         {library("A", "1", "    interface I { };\n"), library("B", "2", "    interface J { };\n")},
         1,
         {"a.idl:3:15: Interface \"I\" must have a uuid attribute"},
         true},
    };
}

TEST(CheckerTest, FindsIndependentFailuresAndLeavesOutWhatFailed) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const lumoidl::test::ScratchDir dir;
        std::vector<lumoidl::diagnostics::CheckInput> inputs;
        std::vector<std::string> paths;
        for (size_t i = 0; i < c.files.size(); ++i) {
            const std::string name = std::string(1, static_cast<char>('a' + i)) + ".idl";
            paths.push_back(lumoidl::test::pathUtf8(dir.write(name, c.files[i])));
            inputs.push_back({name, paths.back(), c.files[i]});
        }
        const auto parse = [](const std::vector<std::string>& files) {
            return lumoidl::host::errorMessage(lumoidl::host::parseFiles(files).get());
        };
        int staged = 0;
        const auto stage = [&](size_t index, const std::string& text) {
            return lumoidl::test::pathUtf8(dir.write(std::to_string(staged++) + inputs[index].displayName, text));
        };
        const auto report = collectDiagnostics(inputs, parse(paths), c.maxErrors, parse, stage);
        std::vector<std::string> seen;
        for (const auto& d : report.diagnostics)
            seen.push_back(d.location.file + ":" + std::to_string(d.location.line) + ":" +
                           std::to_string(d.location.column) + ": " + d.message);
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(report.stoppedAtLimit, c.stoppedAtLimit);
    }
}

}  // namespace
