// Runs the lumoidl tool as a process: its formats, --sort, -o, standard input, its errors, its command line,
// and the runs shown in docs/json.md and README.md.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/fake_host.h"

namespace {

/// What one run of the tool left: exit status, standard output and standard error.
struct Outcome {
    int status;
    std::string out, err;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Runs the tool in `dir`, which is also its temporary directory, with the shell words `arguments`,
/// where $ex is the folder of the example files.
Outcome runTool(const lumoidl::test::ScratchDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + lumoidl::test::pathUtf8(dir.path("")) + "' && ex='" LUMOIDL_EXAMPLES
                                "' && TMPDIR=\"$PWD\" '" LUMOIDL_TOOL "' >stdout.txt 2>stderr.txt " + arguments;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.path("stdout.txt")),
            readFile(dir.path("stderr.txt"))};
}

const char kCycle[] =
    "[uuid(0C000000-0000-4000-8000-000000000001)]\nlibrary Loop {\n"
    "    [uuid(0C000000-0000-4000-8000-000000000002)] interface IFree { LUMORESULT a([out, retval] IA a); };\n"
    "    [uuid(0C000000-0000-4000-8000-000000000003)] interface IBox<T> { LUMORESULT get([out, retval] T t); };\n"
    "    [uuid(0C000000-0000-4000-8000-000000000004)] interface IA { LUMORESULT b([in] IA a, [in] IBox<IB> b); };\n"
    "    [uuid(0C000000-0000-4000-8000-000000000005)] interface IB { LUMORESULT a([out, retval] IA a); };\n};\n";
const char kBroken[] = "library Broken {\n  interface;\n};\n";
const char kTypos[] =
    "[uuid(0D000000-0000-4000-8000-000000000001)]\nlibrary Typos {\n    [uuid(0D000000-0000-4000-8000-000000000002)] "
    "interface IA {\n        IB f();\n        LumoStrin g();\n        LumoIntger h();\n    };\n};\n";

struct Case {
    const char* arguments;
    const char* input;  ///< written to input.idl first, when given
    int status;
    const char* out;  ///< a piece of standard output; "" when it must be empty
    const char* err;  ///< a piece of standard error; "" when it must be empty
    const char* written = nullptr;  ///< a piece of out.txt; null when the run must not create it
};

const Case kCases[] = {
    {"$ex/*.idl", nullptr, 0, "  interface ILayeredCanvas<TLayer> {1C09428E-659F-4DD4-B5C2-36FD956E105B}\n", ""},
    {"--format text $ex/*.idl", nullptr, 0, "[property_get, long_name(ActiveWindow)] LUMORESULT window(", ""},
    {"--format=dot $ex/*.idl", nullptr, 0, "  \"Geometry::IShapeGroup\" -> \"ZEMRA::ICollection\";\n", ""},
    {"--sort --format json input.idl",
     "[uuid(0A000000-0000-4000-8000-000000000001)]\nlibrary Base {\n"
     "    [uuid(0A000000-0000-4000-8000-000000000002)] interface IUser { LUMORESULT item([out, retval] IItem i); };\n"
     "    [uuid(0A000000-0000-4000-8000-000000000003)] interface IItem { LUMORESULT self([out, retval] IItem i); };\n"
     "    [uuid(0A000000-0000-4000-8000-000000000004)] interface ILone { LUMORESULT user([in] IUser user); };\n};\n",
     0, "\"interfaceOrder\": [\n    \"Base::IItem\",\n    \"Base::IUser\",\n    \"Base::ILone\"\n  ]", ""},
    {"--sort --format dot -o out.txt input.idl", kCycle, 2, "",
     "lumoidl: error: interfaces refer to each other in a cycle: Loop::IA -> Loop::IB -> Loop::IA\n"},
    {"input.idl", kCycle, 0, "  interface IB {0C000000-0000-4000-8000-000000000005}\n", ""},
    {"--format json $ex/*.idl input.idl", kBroken, 1,
     "{\n  \"error\": {\n    \"column\": 12,\n    \"file\": \"input.idl\",\n    \"line\": 2,\n"
     "    \"message\": \"Parse error in \\\"input.idl\\\": line 2, pos 12: syntax error\"\n  },\n"
     "  \"formatVersion\": 1\n}\n",
     "input.idl:2:12: error: Parse error in \"input.idl\": line 2, pos 12: syntax error\n 2 |   interface;\n"
     "   |            ^\n"},
    {"--color=never --max-errors 2 input.idl", kTypos, 1, "",
     "input.idl:4:9: error: Error with return type of method \"f\" of interface \"IA\": unresolved type \"IB\"\n"
     " 4 |         IB f();\n   |         ^~\ninput.idl:4:9: note: did you mean \"IA\"?\n"
     "input.idl:5:9: error: Error with return type of method \"g\" of interface \"IA\": unresolved type \"LumoStrin\"\n"
     " 5 |         LumoStrin g();\n   |         ^~~~~~~~~\ninput.idl:5:9: note: did you mean \"LumoString\"?\n"
     "lumoidl: stopped after 2 errors (--max-errors)\n"},
    {"--format=json --output out.txt input.idl", kBroken, 1, "", "Parse error", "\"message\": \"Parse error in"},
    {"--message-format=plain $ex/1-core.idl - <input.idl", kBroken, 1, "",
     "Parse error in \"<stdin>\": line 2, pos 12: syntax error\n"},
    {"-o out.txt input.idl", kBroken, 1, "", "Parse error in \"input.idl\""},
    {"--color always --max-errors=1 --message-format full --output=out.txt - $ex/2-geometry.idl <$ex/1-core.idl",
     nullptr, 0, "", "", "  interface ICollection<T> {5C646035-9555-48CF-AEE5-F5A5DC15681D}\n"},
    {"-o no/out.txt $ex/*.idl", nullptr, 1, "", "lumoidl: cannot write \"no/out.txt\": No such file or directory\n"},
    {"-o . $ex/*.idl", nullptr, 1, "", "lumoidl: cannot write \".\": "},
    {"$ex/*.idl missing.idl", nullptr, 1, "", "missing.idl: error: Failed to open \"missing.idl\" for reading: "},
    {"--color=never $ex/broken/shapes.idl", nullptr, 1, "",
     "/broken/shapes.idl:15:31: error: Error with type of argument \"background\" of method \"clear\" of interface "
     "\"ICanvas\": unresolved type \"Colour\"\n 15 |         LUMORESULT clear([in] Colour background);\n"
     "    |                               ^~~~~~\n"},
    {"-- --sort", nullptr, 1, "", "Failed to open \"--sort\" for reading: "},
    {"$ex/*.idl >/dev/full", nullptr, 1, "", "lumoidl: could not write the output\n"},
    {"", nullptr, 2, "", "lumoidl: no input files\nusage: lumoidl"},
    {"-x a.idl", nullptr, 2, "", "lumoidl: unknown option \"-x\"\nusage: lumoidl"},
    {"--format xml a.idl", nullptr, 2, "", "lumoidl: unknown format \"xml\": use text, json or dot\n"},
    {"a.idl --format", nullptr, 2, "", "lumoidl: --format needs a value: text, json or dot\n"},
    {"--color=sometimes a.idl", nullptr, 2, "", "lumoidl: unknown color mode \"sometimes\": use auto, always or never\n"},
    {"--max-errors 0 a.idl", nullptr, 2, "", "lumoidl: bad --max-errors value \"0\": use a whole number from 1\n"},
    {"a.idl -o", nullptr, 2, "", "lumoidl: -o needs a value: a file name\n"},
    {"- a.idl -", nullptr, 2, "", "lumoidl: standard input (-) can be read only once\n"},
    {"-h missing.idl", nullptr, 0, "usage: lumoidl [--format text|json|dot] [--sort] [-o FILE] [OPTION]... FILE...\n",
     ""},
    {"--version", nullptr, 0, "lumoidl 0.1.0\n", ""},
};

TEST(ToolTest, RunsGiveTheirStatusAndOutput) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("lumoidl ") + c.arguments);
        const lumoidl::test::ScratchDir dir;
        if (c.input) dir.write("input.idl", c.input);
        const Outcome run = runTool(dir, c.arguments);
        EXPECT_EQ(run.status, c.status);
        for (const auto& [text, piece] : {std::pair{run.out, c.out}, std::pair{run.err, c.err}})
            EXPECT_TRUE(*piece ? text.find(piece) != std::string::npos : text.empty()) << text;
        const std::string written = readFile(dir.path("out.txt"));
        EXPECT_EQ(std::filesystem::exists(dir.path("out.txt")), c.written != nullptr);
        if (c.written) {
            EXPECT_NE(written.find(c.written), std::string::npos) << written;
        }
        // Scratch folders and unfinished output files are gone whatever the outcome.
        for (const auto& entry : std::filesystem::directory_iterator(dir.path("")))
            EXPECT_EQ(entry.path().filename().string().find('-'), std::string::npos) << entry.path();
    }
}

/// A documented run: the first ```idl block of `doc`, written to `file`, checked with `arguments`, gives
/// the first block fenced with `fence` whose first line starts with `heading` (a heading line is
/// left out of the comparison); JSON compares as JSON.
struct DocumentedRun {
    const char* doc;
    const char* file;
    const char* arguments;
    const char* fence;
    const char* heading;
};

const DocumentedRun kDocumentedRuns[] = {
    {LUMOIDL_JSON_DOC, "shop.idl", "--format json shop.idl", "```json", "{"},
    {LUMOIDL_README, "shapes.idl", "shapes.idl", "```", "$ lumoidl shapes.idl"},
};

TEST(ToolTest, DocumentedRunsGiveTheOutputShown) {
    for (const DocumentedRun& documented : kDocumentedRuns) {
        SCOPED_TRACE(documented.doc);
        std::vector<std::pair<std::string, std::string>> blocks;  // fence line, text
        std::istringstream doc(readFile(documented.doc));
        for (std::string line, *block = nullptr; std::getline(doc, line);) {
            if (block && line == "```") block = nullptr;
            else if (block) *block += line + "\n";
            else if (line.starts_with("```")) block = &blocks.emplace_back(line, "").second;
        }
        auto first = [&](const std::string& fence, const std::string& heading) {
            for (const auto& [line, text] : blocks)
                if (line == fence && text.starts_with(heading)) return text;
            return std::string();
        };
        std::string expected = first(documented.fence, documented.heading);
        ASSERT_FALSE(expected.empty());
        if (documented.heading[0] == '$') expected.erase(0, expected.find('\n') + 1);
        const lumoidl::test::ScratchDir dir;
        dir.write(documented.file, first("```idl", ""));
        const Outcome run = runTool(dir, documented.arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        if (documented.fence == std::string("```json"))
            EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(expected));
        else
            EXPECT_EQ(run.out, expected);
    }
}

}  // namespace
