// Tests of type resolution: the kind, uuid, name and parameter index of each type, every failure, and where it stops.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/fake_host.h"
#include "support/parse_sources.h"
#include "tree/nodes.h"

namespace {

using lumoidl::test::ParsedSources;
using ZEMRA::IDL::PARSER::ParserInterface;
using ZEMRA::IDL::PARSER::ParserMethod;
using ZEMRA::IDL::PARSER::ParserType;

/// The uuid text of the architecture's error interface.
const std::string kErrorUuid = "855063FA-5C39-45DA-9B3D-0B3D4B72660C";

/// A uuid text, upper case without braces, told apart from the others by `n`.
std::string uuid(unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "7E57AB1E-0000-4000-8000-%012X", n);
    return text;
}

/// One library file. Library uuids may repeat between files, so every library has the same one.
std::string library(const std::string& name, const std::string& body) {
    return "[uuid(" + uuid(0xFFF) + ")] library " + name + " {\n" + body + "};\n";
}

/// An interface; `header` is its name with any template parameters, as "IBox<T>".
std::string interfaceDecl(const std::string& header, unsigned uuidNumber, const std::string& methods = "") {
    return "  [uuid(" + uuid(uuidNumber) + ")] interface " + header + " {\n" + methods + "  };\n";
}

std::string enumDecl(const std::string& name, unsigned uuidNumber) {
    return "  [uuid(" + uuid(uuidNumber) + ")] enum { Red = 1, Green = 2 } " + name + ";\n";
}

std::string categoryDecl(const std::string& name, unsigned uuidNumber) {
    return "  [uuid(" + uuid(uuidNumber) + ")] category " + name + ";\n";
}

/// A resolved type as "KIND NAME {UUID} @INDEX <ARGUMENTS>"; the uuid only when not zero, the
/// index only when not -1, the arguments only when written.
std::string describe(const ParserType& type) {
    std::string text = std::to_string(type.kind) + " " + type.name;
    if (!type.uuid.isNullUuid()) text += " {" + lumoidl::test::utf8(type.uuid.uuidText()) + "}";
    if (type.templateParameterIndex != -1) text += " @" + std::to_string(type.templateParameterIndex);
    if (!type.templateArguments.empty()) {
        text += " <";
        for (size_t i = 0; i < type.templateArguments.size(); ++i)
            text += (i > 0 ? ", " : "") + describe(*type.templateArguments[i]);
        text += ">";
    }
    return text;
}

/// The method at `index` of the interface named `qualified`; a missing one throws, failing the test.
const ParserMethod& methodOf(const ParsedSources& parsed, const std::string& qualified, size_t index) {
    return *static_cast<const ParserInterface*>(parsed.result().interfacesByName.at(qualified))->methods.at(index);
}

// --- One library with a template interface whose method uses the type under test ---

/// The declarations every case of the tables below may refer to: IHost<T, U> holds the
/// method, the rest of Lib follows it, and Other comes in a later file.
std::vector<std::string> hostSources(const std::string& methods) {
    return {library("Lib", interfaceDecl("IHost<T, U>", 1, methods) + interfaceDecl("IThing", 2) +
                               interfaceDecl("IPair<A, B>", 3) + enumDecl("Color", 4) + categoryDecl("Things", 5)),
            library("Other", interfaceDecl("IRemote", 6) + enumDecl("Shade", 7))};
}

struct ResolvedCase {
    const char* written;
    std::string expected;
};

TEST(TypeResolutionTest, ReturnAndArgumentTypesResolve) {
    const ResolvedCase cases[] = {
        // Every built-in name, without uuid or parameter index.
        {"LUMORESULT", "1 LUMORESULT"},
        {"LumoString", "2 LumoString"},
        {"LumoInteger", "3 LumoInteger"},
        {"LumoBoolean", "4 LumoBoolean"},
        {"LumoReal", "5 LumoReal"},
        {"LumoObject", "6 LumoObject"},
        {"LumoArrayString", "7 LumoArrayString"},
        {"LumoValue", "8 LumoValue"},
        {"LumoArrayInteger", "9 LumoArrayInteger"},
        {"LumoArrayBoolean", "10 LumoArrayBoolean"},
        {"LumoArrayReal", "11 LumoArrayReal"},
        {"LumoArrayEnumeration<LumoEnumeration>", "12 LumoArrayEnumeration <13 LumoEnumeration>"},
        {"LumoEnumeration", "13 LumoEnumeration"},
        {"LumoArrayValue", "14 LumoArrayValue"},
        {"LumoArrayByte", "15 LumoArrayByte"},
        {"LumoUUID", "16 LumoUUID"},
        {"LumoWindowId", "17 LumoWindowId"},
        // Declarations, also those after the using interface, under their qualified names.
        {"IThing", "6 Lib::IThing {" + uuid(2) + "}"},
        {"Lib::IThing", "6 Lib::IThing {" + uuid(2) + "}"},
        {"Color", "13 Lib::Color {" + uuid(4) + "}"},
        {"Lib::Color", "13 Lib::Color {" + uuid(4) + "}"},
        {"Other::IRemote", "6 Other::IRemote {" + uuid(6) + "}"},
        {"Other::Shade", "13 Other::Shade {" + uuid(7) + "}"},
        {"ILumoError", "6 ZEMRA::ILumoError {" + kErrorUuid + "}"},
        // Template parameters of the enclosing interface.
        {"T", "18 T @0"},
        {"U", "18 U @1"},
        // Template arguments, nested.
        {"LumoArrayEnumeration<Color>", "12 LumoArrayEnumeration <13 Lib::Color {" + uuid(4) + "}>"},
        {"LumoArrayEnumeration<Other::Shade>", "12 LumoArrayEnumeration <13 Other::Shade {" + uuid(7) + "}>"},
        {"IPair<LumoString, T>", "6 Lib::IPair {" + uuid(3) + "} <2 LumoString, 18 T @0>"},
        {"IHost<U, IThing>", "6 Lib::IHost {" + uuid(1) + "} <18 U @1, 6 Lib::IThing {" + uuid(2) + "}>"},
        {"IPair<IPair<Color, IPair<LumoArrayEnumeration<Color>, U>>, Other::IRemote>",
         "6 Lib::IPair {" + uuid(3) + "} <6 Lib::IPair {" + uuid(3) + "} <13 Lib::Color {" + uuid(4) +
             "}, 6 Lib::IPair {" + uuid(3) + "} <12 LumoArrayEnumeration <13 Lib::Color {" + uuid(4) +
             "}>, 18 U @1>>, 6 Other::IRemote {" + uuid(6) + "}>"},
    };
    for (const ResolvedCase& c : cases) {
        SCOPED_TRACE(c.written);
        const std::string type = c.written;
        ParsedSources parsed(hostSources("    " + type + " Probe([in] " + type + " value);\n"));
        ASSERT_EQ(parsed.error(), "");
        const ParserMethod& method = methodOf(parsed, "Lib::IHost", 0);
        EXPECT_EQ(describe(*method.returnType), c.expected);
        EXPECT_EQ(describe(*method.arguments.at(0)->type), c.expected);
    }
}

struct FailureCase {
    const char* written;
    std::string detail;
};

TEST(TypeResolutionTest, UnresolvableTypesFailInReturnAndArgumentForm) {
    const FailureCase cases[] = {
        {"Undeclared", "unresolved type \"Undeclared\""},
        // Names are compared exactly, case included.
        {"ithing", "unresolved type \"ithing\""},
        {"lib::IThing", "unresolved type \"lib::IThing\""},
        {"lumostring", "unresolved type \"lumostring\""},
        {"ilumoerror", "unresolved type \"ilumoerror\""},
        {"t", "unresolved type \"t\""},
        // A category ID is no type; an unqualified name looks in the own library only.
        {"Things", "unresolved type \"Things\""},
        {"Lib::Things", "unresolved type \"Lib::Things\""},
        {"IRemote", "unresolved type \"IRemote\""},
        {"Other::IThing", "unresolved type \"Other::IThing\""},
        // Argument counts.
        {"LumoArrayEnumeration",
         "template argument count mismatch for \"LumoArrayEnumeration\", expected 1 argument, received 0"},
        {"LumoArrayEnumeration<Color, Color>",
         "template argument count mismatch for \"LumoArrayEnumeration\", expected 1 argument, received 2"},
        {"LumoString<LumoInteger>",
         "template argument count mismatch for \"LumoString\", expected 0 arguments, received 1"},
        {"IPair<LumoString>", "template argument count mismatch for \"Lib::IPair\", expected 2 arguments, received 1"},
        {"IPair<LumoString, LumoString, LumoString>",
         "template argument count mismatch for \"Lib::IPair\", expected 2 arguments, received 3"},
        {"IThing<LumoString>",
         "template argument count mismatch for \"Lib::IThing\", expected 0 arguments, received 1"},
        {"Color<LumoString>", "template argument count mismatch for \"Lib::Color\", expected 0 arguments, received 1"},
        {"ILumoError<LumoString>",
         "template argument count mismatch for \"ZEMRA::ILumoError\", expected 0 arguments, received 1"},
        {"T<LumoString>", "template argument count mismatch for \"T\", expected 0 arguments, received 1"},
        // The argument of LumoArrayEnumeration.
        {"LumoArrayEnumeration<LumoInteger>",
         "Type \"LumoArrayEnumeration\" must have enumeration type as template argument"},
        {"LumoArrayEnumeration<IThing>",
         "Type \"LumoArrayEnumeration\" must have enumeration type as template argument"},
        {"LumoArrayEnumeration<T>", "Type \"LumoArrayEnumeration\" must have enumeration type as template argument"},
        {"LumoArrayEnumeration<LumoArrayEnumeration<Color>>",
         "Type \"LumoArrayEnumeration\" must have enumeration type as template argument"},
        {"LumoArrayEnumeration<Undeclared>", "unresolved type \"Undeclared\""},
        {"LumoArrayEnumeration<Color<LumoInteger>>",
         "template argument count mismatch for \"Lib::Color\", expected 0 arguments, received 1"},
        // Failures inside nested arguments, the first in written order.
        {"IPair<IThing, IPair<LumoString>>",
         "template argument count mismatch for \"Lib::IPair\", expected 2 arguments, received 1"},
        {"IPair<IPair<LumoString, Missing>, IThing>", "unresolved type \"Missing\""},
        {"IPair<First, Second>", "unresolved type \"First\""},
        {"IPair<LumoArrayEnumeration<LumoReal>, Second>",
         "Type \"LumoArrayEnumeration\" must have enumeration type as template argument"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.written);
        const std::string type = c.written;
        {
            ParsedSources parsed(hostSources("    " + type + " Probe([in] LumoInteger value);\n"));
            EXPECT_EQ(parsed.error(), "Error with return type of method \"Probe\" of interface \"IHost\": " + c.detail);
        }
        {
            ParsedSources parsed(
                hostSources("    LumoInteger Probe([in] LumoString first, [in] " + type + " value);\n"));
            EXPECT_EQ(parsed.error(),
                      "Error with type of argument \"value\" of method \"Probe\" of interface \"IHost\": " + c.detail);
        }
    }
}

struct SourcesCase {
    const char* name;
    std::vector<std::string> sources;
    std::string expected;
};

/// Runs each case and compares the return type of User::IUser's first method.
void expectUserProbe(const SourcesCase& c) {
    SCOPED_TRACE(c.name);
    ParsedSources parsed(c.sources);
    ASSERT_EQ(parsed.error(), "");
    EXPECT_EQ(describe(*methodOf(parsed, "User::IUser", 0).returnType), c.expected);
}

TEST(TypeResolutionTest, ErrorInterfaceResolvesByNameUnlessLibraryZemraDeclaresIt) {
    const std::string probe = "    ILumoError Probe();\n";
    const std::string user = library("User", interfaceDecl("IUser", 1, probe));
    const std::string builtin = "6 ZEMRA::ILumoError {" + kErrorUuid + "}";
    const SourcesCase cases[] = {
        {"no declaration", {user}, builtin},
        {"declared by another library", {user, library("Other", interfaceDecl("ILumoError", 2))}, builtin},
        {"declared by the using library",
         {library("User", interfaceDecl("IUser", 1, probe) + interfaceDecl("ILumoError", 2))},
         builtin},
        {"declared by a library named zemra in lower case",
         {user, library("zemra", interfaceDecl("ILumoError", 2))},
         builtin},
        {"declared by the using library and named with its qualified name",
         {library("User",
                  interfaceDecl("IUser", 1, "    User::ILumoError Probe();\n") + interfaceDecl("ILumoError", 2))},
         "6 User::ILumoError {" + uuid(2) + "}"},
        {"declared as interface by library ZEMRA in a later file",
         {user, library("ZEMRA", interfaceDecl("ILumoError", 2))},
         "6 ZEMRA::ILumoError {" + uuid(2) + "}"},
        {"declared as enumeration by library ZEMRA",
         {library("ZEMRA", enumDecl("ILumoError", 2)), user},
         "13 ZEMRA::ILumoError {" + uuid(2) + "}"},
        {"written with its qualified name and not declared",
         {library("User", interfaceDecl("IUser", 1, "    ZEMRA::ILumoError Probe();\n"))},
         builtin},
        {"a template parameter of that name",
         {library("User", interfaceDecl("IUser<ILumoError>", 1, probe))},
         "18 ILumoError @0"},
    };
    for (const SourcesCase& c : cases) expectUserProbe(c);
}

TEST(TypeResolutionTest, ErrorInterfaceDeclaredInLibraryZemraResolvesInsideIt) {
    ParsedSources parsed(
        {library("ZEMRA", interfaceDecl("IUser", 1, "    ILumoError Probe();\n") + interfaceDecl("ILumoError", 2))});
    ASSERT_EQ(parsed.error(), "");
    EXPECT_EQ(describe(*methodOf(parsed, "ZEMRA::IUser", 0).returnType), "6 ZEMRA::ILumoError {" + uuid(2) + "}");
}

TEST(TypeResolutionTest, ReferencesFindDeclarationsOfOtherFiles) {
    const std::string probe = "    IExtra Probe();\n";
    const SourcesCase cases[] = {
        {"an unqualified name declared by a later file of a same-named library",
         {library("User", interfaceDecl("IUser", 1, probe)), library("User", interfaceDecl("IExtra", 2))},
         "6 User::IExtra {" + uuid(2) + "}"},
        {"a qualified name declared by an earlier file",
         {library("Other", interfaceDecl("IExtra", 2)),
          library("User", interfaceDecl("IUser", 1, "    Other::IExtra Probe();\n"))},
         "6 Other::IExtra {" + uuid(2) + "}"},
        {"an enumeration declared by a later file of a same-named library",
         {library("User", interfaceDecl("IUser", 1, probe)), library("User", enumDecl("IExtra", 2))},
         "13 User::IExtra {" + uuid(2) + "}"},
        {"an interface wins over a same-named enumeration of an earlier file",
         {library("User", enumDecl("IExtra", 3)),
          library("User", interfaceDecl("IUser", 1, probe) + interfaceDecl("IExtra", 2))},
         "6 User::IExtra {" + uuid(2) + "}"},
        {"a template parameter wins over a declared interface",
         {library("User", interfaceDecl("IUser<IExtra>", 1, probe) + interfaceDecl("IExtra", 2))},
         "18 IExtra @0"},
    };
    for (const SourcesCase& c : cases) expectUserProbe(c);
}

TEST(TypeResolutionTest, RepeatedTemplateParameterNameTakesTheLaterIndex) {
    ParsedSources parsed({library("Lib", interfaceDecl("IRepeat<T, U, T>", 1, "    T Probe([in] U value);\n"))});
    ASSERT_EQ(parsed.error(), "");
    const ParserMethod& method = methodOf(parsed, "Lib::IRepeat", 0);
    EXPECT_EQ(describe(*method.returnType), "18 T @2");
    EXPECT_EQ(describe(*method.arguments.at(0)->type), "18 U @1");
}

TEST(TypeResolutionTest, TemplateParameterBelongsToItsOwnInterface) {
    ParsedSources parsed(
        {library("Lib", interfaceDecl("IBox<T>", 1, "    T Get();\n") + interfaceDecl("IPlain", 2, "    T Get();\n"))});
    EXPECT_EQ(parsed.error(),
              "Error with return type of method \"Get\" of interface \"IPlain\": unresolved type \"T\"");
    EXPECT_EQ(describe(*methodOf(parsed, "Lib::IBox", 0).returnType), "18 T @0");
}

TEST(TypeResolutionTest, LaterInterfaceFailureReplacesEarlierOne) {
    const SourcesCase cases[] = {
        {"two interfaces of one file",
         {library("Lib", interfaceDecl("IFirst", 1, "    Missing1 Get();\n") +
                             interfaceDecl("ISecond", 2, "    LumoInteger Put([in] Missing2 value);\n"))},
         "Error with type of argument \"value\" of method \"Put\" of interface \"ISecond\": unresolved type "
         "\"Missing2\""},
        {"interfaces in file order, not name order",
         {library("Lib", interfaceDecl("IZeta", 1, "    LumoInteger Put([in] Missing1 value);\n")),
          library("Lib", interfaceDecl("IAlpha", 2, "    Missing2 Get();\n"))},
         "Error with return type of method \"Get\" of interface \"IAlpha\": unresolved type \"Missing2\""},
        {"a later interface that resolves keeps the earlier failure",
         {library("Lib", interfaceDecl("IFirst", 1, "    Missing1 Get();\n") +
                             interfaceDecl("ISecond", 2, "    LumoInteger Get();\n"))},
         "Error with return type of method \"Get\" of interface \"IFirst\": unresolved type \"Missing1\""},
        {"two methods of one interface with failing arguments",
         {library("Lib", interfaceDecl("IFirst", 1,
                                       "    LumoInteger Get([in] Missing1 value);\n"
                                       "    LumoInteger Put([in] LumoString key, [in] Missing2 value);\n"))},
         "Error with type of argument \"value\" of method \"Put\" of interface \"IFirst\": unresolved type "
         "\"Missing2\""},
    };
    for (const SourcesCase& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedSources parsed(c.sources);
        EXPECT_EQ(parsed.error(), c.expected);
    }
}

TEST(TypeResolutionTest, ReturnTypeFailureSkipsTheRestOfTheInterface) {
    ParsedSources parsed(
        {library("Lib", interfaceDecl("IFirst", 1,
                                      "    Missing Get([in] LumoInteger index);\n"
                                      "    LumoString Name([in] LumoReal scale);\n") +
                            interfaceDecl("ISecond", 2, "    LumoBoolean Ready([in] LumoUUID id);\n"))});
    EXPECT_EQ(parsed.error(),
              "Error with return type of method \"Get\" of interface \"IFirst\": unresolved type \"Missing\"");
    const ParserMethod& get = methodOf(parsed, "Lib::IFirst", 0);
    const ParserMethod& name = methodOf(parsed, "Lib::IFirst", 1);
    const ParserMethod& ready = methodOf(parsed, "Lib::ISecond", 0);
    EXPECT_EQ(get.arguments.at(0)->type->kind, 0u);
    EXPECT_EQ(name.returnType->kind, 0u);
    EXPECT_EQ(name.arguments.at(0)->type->kind, 0u);
    EXPECT_EQ(describe(*ready.returnType), "4 LumoBoolean");
    EXPECT_EQ(describe(*ready.arguments.at(0)->type), "16 LumoUUID");
}

TEST(TypeResolutionTest, ArgumentFailureSkipsTheRestOfTheMethodOnly) {
    ParsedSources parsed({library("Lib", interfaceDecl("IFirst", 1,
                                                       "    LumoString Get([in] LumoInteger index, [in] Missing key,"
                                                       " [in] LumoReal scale);\n"
                                                       "    LumoBoolean Ready([in] LumoUUID id);\n"))});
    EXPECT_EQ(
        parsed.error(),
        "Error with type of argument \"key\" of method \"Get\" of interface \"IFirst\": unresolved type \"Missing\"");
    const ParserMethod& get = methodOf(parsed, "Lib::IFirst", 0);
    const ParserMethod& ready = methodOf(parsed, "Lib::IFirst", 1);
    EXPECT_EQ(describe(*get.returnType), "2 LumoString");
    EXPECT_EQ(describe(*get.arguments.at(0)->type), "3 LumoInteger");
    EXPECT_EQ(get.arguments.at(2)->type->kind, 0u);
    EXPECT_EQ(describe(*ready.returnType), "4 LumoBoolean");
    EXPECT_EQ(describe(*ready.arguments.at(0)->type), "16 LumoUUID");
}

TEST(TypeResolutionTest, DeeplyNestedTypeResolvesAtEveryLevel) {
    constexpr size_t kDepth = 4000;
    std::string type;
    for (size_t i = 0; i < kDepth; ++i) type += "IBox<";
    type += "LumoInteger";
    type += std::string(kDepth, '>');
    ParsedSources parsed(
        {library("Lib", interfaceDecl("IBox<T>", 1) + interfaceDecl("IUser", 2, "    " + type + " Probe();\n"))});
    ASSERT_EQ(parsed.error(), "");
    const ParserType* level = methodOf(parsed, "Lib::IUser", 0).returnType;
    const std::string box = "6 Lib::IBox {" + uuid(1) + "}";
    size_t depth = 0;
    for (; depth < kDepth; ++depth) {
        ASSERT_EQ(level->templateArguments.size(), 1u) << "at depth " << depth;
        ASSERT_EQ(
            std::to_string(level->kind) + " " + level->name + " {" + lumoidl::test::utf8(level->uuid.uuidText()) + "}",
            box)
            << "at depth " << depth;
        level = level->templateArguments[0];
    }
    EXPECT_EQ(describe(*level), "3 LumoInteger");
}

}  // namespace
