// Runs the lumoidl tool as a process: its three formats, --sort, its errors and docs/json.md.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/fake_host.h"

extern char** environ;

namespace lumoidl::test {
namespace {

using nlohmann::json;

const char* const kUsageLine = "usage: lumoidl [--format text|json|dot] [--sort] FILE...";

/// What a finished process left behind.
struct Outcome {
    int status = -1;  ///< exit status, or -1 when the process did not exit normally
    std::string out;  ///< everything written to standard output
    std::string err;  ///< everything written to standard error
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

/// The full path of `program` on PATH, if it is there.
std::optional<std::string> findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return std::nullopt;
}

/// Tool runs with their output captured in files of a scratch directory.
class ToolTest : public ::testing::Test {
protected:
    /// Runs `program` with `arguments`; standard input comes from `input` (or /dev/null) and
    /// standard output goes to `output` when given.
    Outcome runProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& input = "/dev/null", const std::optional<std::string>& output = {}) {
        const std::string outPath = output ? *output : pathUtf8(scratch_.path("stdout.txt"));
        const std::string errPath = pathUtf8(scratch_.path("stderr.txt"));
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<std::string> words{program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        Outcome outcome;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << program;
            return outcome;
        }
        int status = 0;
        pid_t waited = 0;
        do {
            waited = ::waitpid(pid, &status, 0);
        } while (waited < 0 && errno == EINTR);
        if (waited == pid && WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
        if (!output) outcome.out = readFile(outPath);
        outcome.err = readFile(errPath);
        return outcome;
    }

    Outcome run(const std::vector<std::string>& arguments) { return runProgram(LUMOIDL_TOOL, arguments); }

    /// The tool's JSON for `arguments`, which must succeed.
    json runJson(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--format", "json"});
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        return json::parse(outcome.out, nullptr, false);
    }

    ScratchDir scratch_;
};

/// The three example files, in the order they must be given.
std::vector<std::string> exampleFiles() {
    const std::string dir = LUMOIDL_EXAMPLES;
    return {dir + "/1-core.idl", dir + "/2-geometry.idl", dir + "/3-drawing.idl"};
}

std::vector<std::string> withExamples(std::vector<std::string> arguments) {
    for (const std::string& file : exampleFiles()) arguments.push_back(file);
    return arguments;
}

/// The interface with `qualifiedName` in any library of a dump.
const json& interfaceNamed(const json& document, const std::string& qualifiedName) {
    for (const json& library : document.at("libraries"))
        for (const json& iface : library.at("interfaces"))
            if (iface.at("qualifiedName") == qualifiedName) return iface;
    throw std::runtime_error("no interface " + qualifiedName);
}

/// The names of the objects of a JSON array, in order.
std::vector<std::string> names(const json& list) {
    std::vector<std::string> result;
    for (const json& entry : list) result.push_back(entry.at("name"));
    return result;
}

// ---- text ----

TEST_F(ToolTest, TextListsTheExamplesWithResolvedSignatures) {
    const Outcome outcome = run(exampleFiles());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const std::vector<std::string> listed = lines(outcome.out);
    const std::set<std::string> present(listed.begin(), listed.end());
    const char* const expected[] = {
        "library ZEMRA {4A5E2E81-C093-11D4-9F1B-0010A4D198C2} [version(1.0), idlversion(1)]",
        "  interface ICollection<T> {5C646035-9555-48CF-AEE5-F5A5DC15681D}",
        "    [property_get] LUMORESULT count([out, retval] LumoInteger count)",
        "    LUMORESULT item([in] LumoInteger index, [out, retval] T item)",
        "  enum LumoEnumeration {6C269FE1-2AB0-4041-83BB-A4A19216815D}",
        "library Geometry {7A45C23B-5F96-4245-8D8B-08E2380EA46A} [version(2.1), idlversion(1)]",
        "    [property_get] LUMORESULT owner([out, retval] ZEMRA::INamed owner)",
        "    LUMORESULT fill([in] Geometry::Color color)",
        "    LUMORESULT fill([in] LumoArrayEnumeration<Geometry::Color> gradient)",
        "    [property_get] LUMORESULT shapes([out, retval] ZEMRA::ICollection<Geometry::IShape> shapes)",
        "  enum Color {81D7ED04-1884-46E3-B817-E8C7BCDE0392}",
        "    Blue = 4",
        "  category ShapeProviders {C6ED0CF0-089D-4AB2-AC00-EB14B826C35A}",
        "library Drawing {CD3E4F50-E3EB-424D-81C2-7C03726B22D6} [version(1.0), idlversion(1)]",
        "    LUMORESULT draw([in] Geometry::IShape shape, [in] Drawing::BlendMode mode)",
        "    LUMORESULT lastError([out, retval] ZEMRA::ILumoError error)",
        "    [property_get, long_name(ActiveWindow)] LUMORESULT window([out, retval] LumoWindowId window)",
        "  interface ILayeredCanvas<TLayer> {1C09428E-659F-4DD4-B5C2-36FD956E105B}",
        "    LUMORESULT layers([out, retval] ZEMRA::ICollection<TLayer> layers)",
        "    LUMORESULT canvas([in] TLayer layer, [out, retval] Drawing::ICanvas canvas)",
        "  category Exporters {EAB986DB-6536-463C-BA78-0A03E8C4EBB5}",
    };
    for (const char* line : expected) EXPECT_TRUE(present.count(line)) << "missing line: " << line;

    std::vector<std::string> libraries;
    for (const std::string& line : listed)
        if (line.rfind("library ", 0) == 0) libraries.push_back(line.substr(8, line.find(' ', 8) - 8));
    EXPECT_EQ(libraries, (std::vector<std::string>{"ZEMRA", "Geometry", "Drawing"}));
}

TEST_F(ToolTest, TextWritesTemplateParametersAndArgumentsAlike) {
    const std::string file = pathUtf8(scratch_.write("map.idl", R"(
[uuid(0F000000-0000-4000-8000-000000000001)]
library Maps {
    [uuid(0F000000-0000-4000-8000-000000000002)]
    interface IMap<K, V> { LUMORESULT get([in] K key, [out, retval] V value); };
    [uuid(0F000000-0000-4000-8000-000000000003)]
    interface IIndex { LUMORESULT byName([out, retval] IMap<LumoString, IMap<LumoInteger, IIndex>> map); };
};
)"));
    const Outcome outcome = run({file});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> listed = lines(outcome.out);
    const std::set<std::string> present(listed.begin(), listed.end());
    for (const char* line : {
             "  interface IMap<K, V> {0F000000-0000-4000-8000-000000000002}",
             "    LUMORESULT byName([out, retval] Maps::IMap<LumoString, Maps::IMap<LumoInteger, Maps::IIndex>> map)",
         })
        EXPECT_TRUE(present.count(line)) << "missing line: " << line << "\n" << outcome.out;
}

TEST_F(ToolTest, TextIsTheDefaultFormat) {
    const Outcome implicit = run(exampleFiles());
    for (const std::vector<std::string>& option : {std::vector<std::string>{"--format", "text"},
                                                   std::vector<std::string>{"--format=text"}}) {
        SCOPED_TRACE(option.back());
        const Outcome explicitText = run(withExamples(option));
        EXPECT_EQ(explicitText.status, 0);
        EXPECT_EQ(explicitText.out, implicit.out);
    }
}

// ---- JSON ----

TEST_F(ToolTest, JsonListsLibrariesWithTheirAttributes) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    const json& libraries = document.at("libraries");
    ASSERT_EQ(libraries.size(), 3u);
    EXPECT_EQ(names(libraries), (std::vector<std::string>{"ZEMRA", "Geometry", "Drawing"}));
    EXPECT_EQ(libraries[0].at("uuid"), "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
    EXPECT_EQ(libraries[1].at("uuid"), "7A45C23B-5F96-4245-8D8B-08E2380EA46A");
    EXPECT_EQ(libraries[2].at("uuid"), "CD3E4F50-E3EB-424D-81C2-7C03726B22D6");
    EXPECT_EQ(libraries[1].at("attributes"), json::parse(R"([
        {"name": "uuid", "value": "7A45C23B-5F96-4245-8D8B-08E2380EA46A"},
        {"name": "version", "value": "2.1"},
        {"name": "idlversion", "value": "1"}])"));
    EXPECT_EQ(names(libraries[1].at("interfaces")), (std::vector<std::string>{"IShape", "IShapeGroup"}));
    EXPECT_EQ(names(libraries[2].at("interfaces")), (std::vector<std::string>{"ICanvas", "ILayeredCanvas"}));
}

TEST_F(ToolTest, JsonDescribesAnInterfaceWithResolvedTypes) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    const json& group = interfaceNamed(document, "Geometry::IShapeGroup");
    EXPECT_EQ(group.at("name"), "IShapeGroup");
    EXPECT_EQ(group.at("uuid"), "9F65EDFF-D3F2-4DED-8398-6C1B819525C3");
    EXPECT_EQ(group.at("templateParameters"), json::array());
    ASSERT_EQ(group.at("methods").size(), 2u);

    const json& shapes = group.at("methods")[0];
    EXPECT_EQ(shapes.at("name"), "shapes");
    // A flag carries no "value" member at all.
    EXPECT_EQ(shapes.at("attributes"), json::parse(R"([{"name": "property_get"}])"));
    EXPECT_EQ(shapes.at("returnType"), json::parse(R"(
        {"kind": 1, "kindName": "LUMORESULT", "name": "LUMORESULT", "templateArguments": []})"));
    ASSERT_EQ(shapes.at("arguments").size(), 1u);
    const json& shapesArgument = shapes.at("arguments")[0];
    EXPECT_EQ(shapesArgument.at("name"), "shapes");
    EXPECT_EQ(shapesArgument.at("attributes"), json::parse(R"([{"name": "out"}, {"name": "retval"}])"));
    EXPECT_EQ(shapesArgument.at("type"), json::parse(R"(
        {"kind": 6, "kindName": "object", "name": "ZEMRA::ICollection",
         "uuid": "5C646035-9555-48CF-AEE5-F5A5DC15681D",
         "templateArguments": [
           {"kind": 6, "kindName": "object", "name": "Geometry::IShape",
            "uuid": "A558B034-5CC2-447B-8001-25F37BD95C13", "templateArguments": []}]})"));

    const json& add = group.at("methods")[1];
    EXPECT_EQ(add.at("attributes"), json::array());
    EXPECT_EQ(names(add.at("arguments")), (std::vector<std::string>{"shape", "index"}));
    EXPECT_EQ(add.at("arguments")[1].at("type"), json::parse(R"(
        {"kind": 3, "kindName": "LumoInteger", "name": "LumoInteger", "templateArguments": []})"));
}

TEST_F(ToolTest, JsonGivesTemplateParametersTheirIndex) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    const json& collection = interfaceNamed(document, "ZEMRA::ICollection");
    EXPECT_EQ(collection.at("templateParameters"), json::parse(R"(["T"])"));
    EXPECT_EQ(collection.at("methods")[1].at("arguments")[1].at("type"), json::parse(R"(
        {"kind": 18, "kindName": "template parameter", "name": "T", "templateParameterIndex": 0,
         "templateArguments": []})"));

    const json& layered = interfaceNamed(document, "Drawing::ILayeredCanvas");
    EXPECT_EQ(layered.at("templateParameters"), json::parse(R"(["TLayer"])"));
    EXPECT_EQ(layered.at("methods")[0].at("arguments")[0].at("type"), json::parse(R"(
        {"kind": 6, "kindName": "object", "name": "ZEMRA::ICollection",
         "uuid": "5C646035-9555-48CF-AEE5-F5A5DC15681D",
         "templateArguments": [
           {"kind": 18, "kindName": "template parameter", "name": "TLayer", "templateParameterIndex": 0,
            "templateArguments": []}]})"));
}

TEST_F(ToolTest, JsonGivesEveryTypeOfTheCanvasItsKind) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    const json& methods = interfaceNamed(document, "Drawing::ICanvas").at("methods");
    ASSERT_EQ(methods.size(), 5u);
    EXPECT_EQ(methods[0].at("arguments")[1].at("type"), json::parse(R"(
        {"kind": 13, "kindName": "enumeration", "name": "Drawing::BlendMode",
         "uuid": "94DF0AEE-F996-49FA-8198-C76838BF7F89", "templateArguments": []})"));
    EXPECT_EQ(methods[2].at("arguments")[0].at("type"), json::parse(R"(
        {"kind": 12, "kindName": "LumoArrayEnumeration", "name": "LumoArrayEnumeration",
         "templateArguments": [
           {"kind": 13, "kindName": "enumeration", "name": "Geometry::Color",
            "uuid": "81D7ED04-1884-46E3-B817-E8C7BCDE0392", "templateArguments": []}]})"));
    EXPECT_EQ(methods[3].at("arguments")[0].at("type"), json::parse(R"(
        {"kind": 6, "kindName": "object", "name": "ZEMRA::ILumoError",
         "uuid": "855063FA-5C39-45DA-9B3D-0B3D4B72660C", "templateArguments": []})"));
    EXPECT_EQ(methods[4].at("attributes"), json::parse(R"(
        [{"name": "property_get"}, {"name": "long_name", "value": "ActiveWindow"}])"));
    EXPECT_EQ(methods[4].at("arguments")[0].at("type"), json::parse(R"(
        {"kind": 17, "kindName": "LumoWindowId", "name": "LumoWindowId", "templateArguments": []})"));
}

TEST_F(ToolTest, JsonListsEnumerationsAndCategoryIDs) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    const json& libraries = document.at("libraries");
    EXPECT_EQ(libraries[1].at("enumerations"), json::parse(R"([
        {"name": "Color", "qualifiedName": "Geometry::Color", "uuid": "81D7ED04-1884-46E3-B817-E8C7BCDE0392",
         "attributes": [{"name": "uuid", "value": "81D7ED04-1884-46E3-B817-E8C7BCDE0392"}],
         "items": [{"name": "Red", "value": 1}, {"name": "Green", "value": 2},
                   {"name": "Blue", "value": 4}, {"name": "Transparent", "value": 0}]}])"));
    EXPECT_EQ(libraries[0].at("categoryIDs"), json::array());
    EXPECT_EQ(libraries[2].at("categoryIDs"), json::parse(R"([
        {"name": "Renderers", "qualifiedName": "Drawing::Renderers", "uuid": "693A18EB-8097-4478-AA0C-817AAAED5DE9",
         "attributes": [{"name": "uuid", "value": "693A18EB-8097-4478-AA0C-817AAAED5DE9"}]},
        {"name": "Exporters", "qualifiedName": "Drawing::Exporters", "uuid": "EAB986DB-6536-463C-BA78-0A03E8C4EBB5",
         "attributes": [{"name": "uuid", "value": "EAB986DB-6536-463C-BA78-0A03E8C4EBB5"}]}])"));
}

TEST_F(ToolTest, JsonListsEveryInterfaceInTheResultOrder) {
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    EXPECT_EQ(document.at("interfaceOrder"), json::parse(R"([
        "ZEMRA::ICollection", "ZEMRA::INamed", "Geometry::IShape", "Geometry::IShapeGroup",
        "Drawing::ICanvas", "Drawing::ILayeredCanvas"])"));
}

// ---- --sort ----

/// Two libraries whose interfaces are declared before the interfaces they use.
class SortTest : public ToolTest {
protected:
    std::vector<std::string> files() {
        return {pathUtf8(scratch_.write("base.idl", R"(
[uuid(0A000000-0000-4000-8000-000000000001)]
library Base {
    [uuid(0A000000-0000-4000-8000-000000000002)]
    interface IUser { LUMORESULT item([out, retval] IItem item); };
    [uuid(0A000000-0000-4000-8000-000000000003)]
    interface IItem { LUMORESULT self([out, retval] IItem item); };
    [uuid(0A000000-0000-4000-8000-000000000004)]
    interface ILone { LUMORESULT count([out, retval] LumoInteger count); };
};
)")),
                pathUtf8(scratch_.write("top.idl", R"(
[uuid(0B000000-0000-4000-8000-000000000001)]
library Top {
    [uuid(0B000000-0000-4000-8000-000000000002)]
    interface IPanel { LUMORESULT show([in] IView view, [out, retval] Base::IUser user); };
    [uuid(0B000000-0000-4000-8000-000000000003)]
    interface IView { LUMORESULT user([out, retval] Base::IUser user); };
};
)"))};
    }
};

struct SortCase {
    std::vector<std::string> options;
    std::vector<std::string> order;  ///< qualified names
};

const SortCase kSortCases[] = {
    {{}, {"Base::IUser", "Base::IItem", "Base::ILone", "Top::IPanel", "Top::IView"}},
    {{"--sort"}, {"Base::IItem", "Base::IUser", "Base::ILone", "Top::IView", "Top::IPanel"}},
};

TEST_F(SortTest, InterfaceOrderIsDeclarationOrderOrDependencyOrder) {
    for (const SortCase& c : kSortCases) {
        SCOPED_TRACE(c.options.empty() ? "declaration order" : "--sort");
        std::vector<std::string> arguments = c.options;
        for (const std::string& file : files()) arguments.push_back(file);
        const json document = runJson(arguments);
        ASSERT_FALSE(document.is_discarded());
        EXPECT_EQ(document.at("interfaceOrder").get<std::vector<std::string>>(), c.order);

        // Each library's own list follows the same order.
        std::vector<std::string> fromLibraries;
        for (const json& library : document.at("libraries"))
            for (const json& iface : library.at("interfaces")) fromLibraries.push_back(iface.at("qualifiedName"));
        EXPECT_EQ(fromLibraries, c.order);
    }
}

TEST_F(SortTest, TextListsInterfacesInDependencyOrder) {
    std::vector<std::string> arguments{"--sort"};
    for (const std::string& file : files()) arguments.push_back(file);
    const Outcome outcome = run(arguments);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::vector<std::string> listed;
    for (const std::string& line : lines(outcome.out))
        if (line.rfind("  interface ", 0) == 0) listed.push_back(line.substr(12, line.find(' ', 12) - 12));
    EXPECT_EQ(listed, (std::vector<std::string>{"IItem", "IUser", "ILone", "IView", "IPanel"}));
}

TEST_F(ToolTest, ExamplesAreAlreadyInDependencyOrder) {
    const json document = runJson(withExamples({"--sort"}));
    ASSERT_FALSE(document.is_discarded());
    EXPECT_EQ(document.at("interfaceOrder"), runJson(exampleFiles()).at("interfaceOrder"));
}

/// Two interfaces that use each other.
class CycleTest : public ToolTest {
protected:
    std::string file() {
        return pathUtf8(scratch_.write("cycle.idl", R"(
[uuid(0C000000-0000-4000-8000-000000000001)]
library Loop {
    [uuid(0C000000-0000-4000-8000-000000000002)]
    interface IA { LUMORESULT b([out, retval] IB b); };
    [uuid(0C000000-0000-4000-8000-000000000003)]
    interface IB { LUMORESULT a([out, retval] IA a); };
};
)"));
    }
};

TEST_F(CycleTest, SortFailsWithNothingOnStandardOutput) {
    for (const char* format : {"text", "json", "dot"}) {
        SCOPED_TRACE(format);
        const Outcome outcome = run({"--sort", "--format", format, file()});
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err,
                  "lumoidl: the interfaces refer to each other in a cycle, so no dependency order exists\n");
    }
}

TEST_F(CycleTest, WithoutSortTheFilesAreValid) {
    for (const char* format : {"text", "json", "dot"}) {
        SCOPED_TRACE(format);
        const Outcome outcome = run({"--format", format, file()});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, "");
        EXPECT_NE(outcome.out.find("IB"), std::string::npos);
    }
}

// ---- DOT ----

TEST_F(ToolTest, DotHasAnEdgeForEachReferenceBetweenDeclaredInterfaces) {
    const Outcome outcome = run(withExamples({"--format", "dot"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> listed = lines(outcome.out);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed.front(), "digraph interfaces {");
    EXPECT_EQ(listed.back(), "}");

    std::set<std::string> edges;
    for (const std::string& line : listed)
        if (line.find("->") != std::string::npos) edges.insert(line);
    // Template arguments count (IShapeGroup uses IShape only inside ICollection<...>); the
    // built-in ILumoError is no node of the graph, so ICanvas has no edge for it.
    const std::set<std::string> expected{
        R"(  "Geometry::IShape" -> "ZEMRA::INamed";)",
        R"(  "Geometry::IShapeGroup" -> "Geometry::IShape";)",
        R"(  "Geometry::IShapeGroup" -> "ZEMRA::ICollection";)",
        R"(  "Drawing::ICanvas" -> "Geometry::IShape";)",
        R"(  "Drawing::ICanvas" -> "Geometry::IShapeGroup";)",
        R"(  "Drawing::ILayeredCanvas" -> "Drawing::ICanvas";)",
        R"(  "Drawing::ILayeredCanvas" -> "ZEMRA::ICollection";)",
    };
    EXPECT_EQ(edges, expected);

    const std::set<std::string> present(listed.begin(), listed.end());
    for (const char* line : {R"(    label="Geometry";)", R"(    "Geometry::IShape" [label="IShape"];)",
                             R"(    "ZEMRA::ICollection" [label="ICollection"];)"})
        EXPECT_TRUE(present.count(line)) << "missing line: " << line;
}

TEST_F(ToolTest, DotRendersWithGraphviz) {
    const std::optional<std::string> dot = findOnPath("dot");
    if (!dot) GTEST_SKIP() << "Graphviz dot is not on PATH";
    const Outcome graph = run(withExamples({"--format", "dot"}));
    ASSERT_EQ(graph.status, 0) << graph.err;
    const std::filesystem::path graphFile = scratch_.write("graph.dot", graph.out);

    const Outcome svg = runProgram(*dot, {"-Tsvg"}, pathUtf8(graphFile));
    EXPECT_EQ(svg.status, 0) << svg.err;
    EXPECT_NE(svg.out.find("<svg"), std::string::npos);
    EXPECT_NE(svg.out.find("<title>Drawing::ILayeredCanvas</title>"), std::string::npos);
}

// ---- invalid input ----

struct InvalidCase {
    const char* name;
    const char* source;
    const char* message;  ///< the standard error text; "<file>" stands for the file's path
};

const InvalidCase kInvalidCases[] = {
    {"unclosed argument list", "library A {\n  interface X {\n    LUMORESULT f(;\n  };\n};\n",
     "Parse error in \"<file>\": line 3, pos 18: syntax error\n"},
    {"no library", "// nothing\n", "Parse error in \"<file>\": line 2, pos 0: syntax error\n"},
    {"library without uuid", "library NoId {\n  interface IX { LUMORESULT f(); };\n};\n",
     "Library \"NoId\" must have a uuid\n"},
    {"unknown type",
     "[uuid(0D000000-0000-4000-8000-000000000001)]\nlibrary L {\n"
     "  [uuid(0D000000-0000-4000-8000-000000000002)]\n"
     "  interface IX { LUMORESULT f([in] IMissing m); };\n};\n",
     "Error with type of argument \"m\" of method \"f\" of interface \"IX\": unresolved type \"IMissing\"\n"},
};

TEST_F(ToolTest, InvalidInputFailsWithTheLibrarysMessage) {
    for (const InvalidCase& c : kInvalidCases) {
        SCOPED_TRACE(c.name);
        const std::string file = pathUtf8(scratch_.write("input.idl", c.source));
        std::string message = c.message;
        if (const size_t at = message.find("<file>"); at != std::string::npos) message.replace(at, 6, file);
        for (const char* format : {"text", "json", "dot"}) {
            SCOPED_TRACE(format);
            const Outcome outcome = run({"--format", format, file});
            EXPECT_EQ(outcome.status, 1);
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(outcome.err, message);
        }
    }
}

TEST_F(ToolTest, AnErrorInALaterFileNamesThatFile) {
    const std::string broken = pathUtf8(scratch_.write("4-broken.idl", "library Broken {\n  interface;\n};\n"));
    std::vector<std::string> files = exampleFiles();
    files.push_back(broken);
    const Outcome outcome = run(files);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("Parse error in \"" + broken + "\": line 2, pos ", 0), 0u) << outcome.err;
}

TEST_F(ToolTest, AMissingFileFails) {
    const std::string missing = pathUtf8(scratch_.path("missing.idl"));
    const Outcome outcome = run({exampleFiles()[0], missing});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("Failed to open \"" + missing + "\"", 0), 0u) << outcome.err;
    EXPECT_EQ(lines(outcome.err).size(), 1u) << outcome.err;
}

TEST_F(ToolTest, AnOutputThatCannotBeWrittenFails) {
    if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    const Outcome outcome = runProgram(LUMOIDL_TOOL, exampleFiles(), "/dev/null", "/dev/full");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "lumoidl: could not write the output\n");
}

// ---- command line ----

struct UsageCase {
    std::vector<std::string> arguments;
    const char* message;  ///< the first line on standard error, after "lumoidl: "
};

const UsageCase kUsageCases[] = {
    {{}, "no input files"},
    {{"--sort", "--format", "json"}, "no input files"},
    {{"--bogus", "a.idl"}, "unknown option \"--bogus\""},
    {{"-x", "a.idl"}, "unknown option \"-x\""},
    {{"--format", "xml", "a.idl"}, "unknown format \"xml\": use text, json or dot"},
    {{"--format=yaml", "a.idl"}, "unknown format \"yaml\": use text, json or dot"},
    {{"--format=", "a.idl"}, "unknown format \"\": use text, json or dot"},
    {{"a.idl", "--format"}, "--format needs a value: text, json or dot"},
};

TEST_F(ToolTest, ABadCommandLineGivesTheReasonAndTheUsage) {
    for (const UsageCase& c : kUsageCases) {
        std::string shown;
        for (const std::string& argument : c.arguments) shown += " " + argument;
        SCOPED_TRACE("lumoidl" + shown);
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "lumoidl: " + std::string(c.message) + "\n" + kUsageLine + "\n");
    }
}

TEST_F(ToolTest, HelpDescribesEveryOption) {
    const std::vector<std::vector<std::string>> commandLines{{"--help"}, {"-h"}, {"--help", "missing.idl"}};
    for (const std::vector<std::string>& arguments : commandLines) {
        SCOPED_TRACE(arguments.back());
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(outcome.out.rfind(std::string(kUsageLine) + "\n", 0), 0u) << outcome.out;
        for (const char* option : {"--format text", "--format json", "--format dot", "--sort", "--version"})
            EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
    }
}

TEST_F(ToolTest, VersionPrintsTheVersion) {
    const Outcome outcome = run({"--version"});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(std::regex_match(outcome.out, std::regex("lumoidl [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << outcome.out;
}

TEST_F(ToolTest, FilesAfterADoubleDashAreNeverOptions) {
    const Outcome outcome = run({"--", "--sort"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("Failed to open \"--sort\"", 0), 0u) << outcome.err;
}

// ---- docs/json.md ----

/// The parts of docs/json.md that can be checked against the tool.
struct JsonDoc {
    std::map<std::string, std::map<std::string, std::string>> fields;  ///< object heading -> field -> type
    std::map<int, std::string> kinds;                                   ///< kind -> kindName
    std::string exampleIdl;                                             ///< the ```idl block
    std::string exampleJson;                                            ///< the ```json block
};

JsonDoc readJsonDoc() {
    JsonDoc doc;
    std::ifstream in(LUMOIDL_JSON_DOC);
    EXPECT_TRUE(in) << "cannot read " << LUMOIDL_JSON_DOC;
    const std::regex heading("### (.+)");
    const std::regex fieldRow(R"(\| `([A-Za-z]+)` \| ([^|]+) \|.*)");
    const std::regex kindRow(R"(\| ([0-9]+) \| `([^`]+)` \|.*)");
    std::string object;
    std::string* block = nullptr;
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        if (block) {
            if (line == "```")
                block = nullptr;
            else
                *block += line + "\n";
        } else if (line == "```idl") {
            block = &doc.exampleIdl;
        } else if (line == "```json") {
            block = &doc.exampleJson;
        } else if (std::regex_match(line, match, heading)) {
            object = match[1];
        } else if (std::regex_match(line, match, fieldRow)) {
            std::string type = match[2];
            type.erase(type.find_last_not_of(' ') + 1);
            doc.fields[object][match[1]] = type;
        } else if (std::regex_match(line, match, kindRow)) {
            doc.kinds[std::stoi(match[1])] = match[2];
        }
    }
    return doc;
}

/// Which documented object the members of each nesting field hold.
const std::map<std::string, std::string> kChildObject{
    {"libraries", "Library"},     {"attributes", "Attribute"},     {"interfaces", "Interface"},
    {"methods", "Method"},        {"returnType", "Type"},          {"arguments", "Argument"},
    {"type", "Type"},             {"templateArguments", "Type"},   {"enumerations", "Enumeration"},
    {"items", "Item"},            {"categoryIDs", "CategoryID"},
};

/// Records every member of `value` under `object`, and the documented type's match.
void collectFields(const json& value, const std::string& object, const JsonDoc& doc,
                   std::map<std::string, std::set<std::string>>& seen) {
    for (const auto& [key, member] : value.items()) {
        seen[object].insert(key);
        const auto documented = doc.fields.find(object);
        if (documented == doc.fields.end() || !documented->second.count(key)) continue;
        const std::string& type = documented->second.at(key);
        SCOPED_TRACE(object + "." + key + ": " + type);
        if (type == "string")
            EXPECT_TRUE(member.is_string());
        else if (type == "integer")
            EXPECT_TRUE(member.is_number_integer());
        else if (type == "array of strings")
            EXPECT_TRUE(member.is_array() && std::all_of(member.begin(), member.end(),
                                                         [](const json& e) { return e.is_string(); }));
        else if (type.rfind("array of ", 0) == 0)
            EXPECT_TRUE(member.is_array());
        else
            EXPECT_TRUE(member.is_object());

        if (!member.is_object() && !member.is_array()) continue;
        const auto child = kChildObject.find(key);
        if (child == kChildObject.end()) continue;
        EXPECT_EQ(type.substr(type.rfind(' ') + 1), child->second);
        if (member.is_object())
            collectFields(member, child->second, doc, seen);
        else
            for (const json& element : member) collectFields(element, child->second, doc, seen);
    }
}

TEST_F(ToolTest, JsonDocListsExactlyTheFieldsOfTheExamplesDump) {
    const JsonDoc doc = readJsonDoc();
    const json document = runJson(exampleFiles());
    ASSERT_FALSE(document.is_discarded());
    std::map<std::string, std::set<std::string>> seen;
    collectFields(document, "Document", doc, seen);

    std::map<std::string, std::set<std::string>> documented;
    for (const auto& [object, fields] : doc.fields)
        for (const auto& field : fields) documented[object].insert(field.first);
    EXPECT_EQ(seen, documented);
}

TEST_F(ToolTest, JsonDocKindTableMatchesTheTool) {
    const JsonDoc doc = readJsonDoc();
    const std::string file = pathUtf8(scratch_.write("kinds.idl", R"(
[uuid(0E000000-0000-4000-8000-000000000001)]
library Kinds {
    [uuid(0E000000-0000-4000-8000-000000000002)]
    enum { One = 1 } Mode;
    [uuid(0E000000-0000-4000-8000-000000000003)]
    interface IAll<T> {
        LUMORESULT f([in] LumoString a, [in] LumoInteger b, [in] LumoBoolean c, [in] LumoReal d,
                     [in] LumoObject e, [in] LumoArrayString g, [in] LumoValue h, [in] LumoArrayInteger i,
                     [in] LumoArrayBoolean j, [in] LumoArrayReal k, [in] LumoArrayEnumeration<Mode> l,
                     [in] Mode m, [in] LumoArrayValue n, [in] LumoArrayByte o, [in] LumoUUID p,
                     [in] LumoWindowId q, [in] T r);
    };
};
)"));
    const json document = runJson({file});
    ASSERT_FALSE(document.is_discarded());
    const json& method = document.at("libraries")[0].at("interfaces")[0].at("methods")[0];
    std::map<int, std::string> kinds;
    const auto add = [&](const json& type) { kinds[type.at("kind").get<int>()] = type.at("kindName"); };
    add(method.at("returnType"));
    for (const json& argument : method.at("arguments")) add(argument.at("type"));
    ASSERT_EQ(kinds.size(), 18u);
    EXPECT_EQ(doc.kinds, kinds);
}

TEST_F(ToolTest, JsonDocExampleIsWhatTheToolWrites) {
    const JsonDoc doc = readJsonDoc();
    ASSERT_FALSE(doc.exampleIdl.empty());
    const json expected = json::parse(doc.exampleJson, nullptr, false);
    ASSERT_FALSE(expected.is_discarded()) << "the example in docs/json.md is no valid JSON";
    const json actual = runJson({pathUtf8(scratch_.write("shop.idl", doc.exampleIdl))});
    EXPECT_EQ(actual, expected);
}

}  // namespace
}  // namespace lumoidl::test
