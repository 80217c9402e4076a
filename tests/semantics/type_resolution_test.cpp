// Tests of type resolution: the kind, uuid, name and parameter index of each type, every failure, and where it stops.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "idl_sources.h"
#include "tree/nodes.h"

namespace {

using namespace lumoidl::test;
using ZEMRA::IDL::PARSER::ParserType;

const std::string kErrorUuid = "855063FA-5C39-45DA-9B3D-0B3D4B72660C";

/// A resolved type as "KIND NAME UUID @INDEX <ARGUMENTS>": the uuid only when not null, as "#n" when it is
/// uuidNo(n); the index only when not -1; the arguments only when written.
std::string describe(const ParserType& type) {
    ZEMRA::IDL::PARSER::UuidField field;
    field.assign(type.uuid);
    std::string text = std::to_string(type.kind) + " " + type.name, uuid = utf8(field.uuidText());
    if (uuid.starts_with("5F0C2E61-7A3B-4C8D-9E1F-")) text += " #" + std::to_string(std::stoul(uuid.substr(24), 0, 16));
    else if (!field.isNullUuid()) text += " {" + uuid + "}";
    if (type.templateParameterIndex != -1) text += " @" + std::to_string(type.templateParameterIndex);
    for (size_t i = 0; i < type.templateArguments.size(); ++i)
        text += (i == 0 ? " <" : ", ") + describe(*type.templateArguments[i]);
    return text + (type.templateArguments.empty() ? "" : ">");
}

/// The first method of the first registered interface.
const ZEMRA::IDL::PARSER::ParserMethod& firstMethod(const ParsedSources& parsed) {
    return *static_cast<const ZEMRA::IDL::PARSER::ParserInterface*>(parsed.result().interfaces.at(0))->methods.at(0);
}

/// Library L: H<T, U> holding `methods`, then I, P<A, B>, E and the category ID C; library O in a later file.
std::vector<std::string> hostSources(const std::string& methods) {
    return {library("L", iface("H<T, U>", 1, methods) + iface("I", 2) + iface("P<A, B>", 3) + enumeration("E", 4) +
                             category("C", 5)),
            library("O", iface("R", 6) + enumeration("S", 7))};
}

TEST(TypeResolutionTest, ReturnAndArgumentTypesResolve) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        // Every built-in name, with the kind the host reads.
        {"LUMORESULT", "1 LUMORESULT"}, {"LumoString", "2 LumoString"}, {"LumoInteger", "3 LumoInteger"},
        {"LumoBoolean", "4 LumoBoolean"}, {"LumoReal", "5 LumoReal"}, {"LumoObject", "6 LumoObject"},
        {"LumoArrayString", "7 LumoArrayString"}, {"LumoValue", "8 LumoValue"},
        {"LumoArrayInteger", "9 LumoArrayInteger"}, {"LumoArrayBoolean", "10 LumoArrayBoolean"},
        {"LumoArrayReal", "11 LumoArrayReal"},
        {"LumoArrayEnumeration<LumoEnumeration>", "12 LumoArrayEnumeration <13 LumoEnumeration>"},
        {"LumoArrayValue", "14 LumoArrayValue"}, {"LumoArrayByte", "15 LumoArrayByte"}, {"LumoUUID", "16 LumoUUID"},
        {"LumoWindowId", "17 LumoWindowId"}, {"LumoEnumeration", "13 LumoEnumeration"},
        // Declarations of every file, also later ones, by their qualified names; the error interface by its own.
        {"I", "6 L::I #2"}, {"L::I", "6 L::I #2"}, {"E", "13 L::E #4"}, {"O::R", "6 O::R #6"}, {"O::S", "13 O::S #7"},
        {"ILumoError", "6 ZEMRA::ILumoError {" + kErrorUuid + "}"},
        {"T", "18 T @0"}, {"U", "18 U @1"}, {"LumoArrayEnumeration<E>", "12 LumoArrayEnumeration <13 L::E #4>"},
        {"H<U, P<LumoString, T>>", "6 L::H #1 <18 U @1, 6 L::P #3 <2 LumoString, 18 T @0>>"},
        {"P<P<E, I>, LumoArrayEnumeration<O::S>>",
         "6 L::P #3 <6 L::P #3 <13 L::E #4, 6 L::I #2>, 12 LumoArrayEnumeration <13 O::S #7>>"},
    };
    for (const auto& [written, expected] : cases) {
        SCOPED_TRACE(written);
        ParsedSources parsed(hostSources(written + " M([in] " + written + " a);"));
        ASSERT_EQ(parsed.error(), "");
        EXPECT_EQ(describe(*firstMethod(parsed).returnType), expected);
        EXPECT_EQ(describe(*firstMethod(parsed).arguments.at(0)->type), expected);
    }
}

TEST(TypeResolutionTest, UnresolvableTypesFailAsReturnAndArgumentType) {
    const std::string notEnumeration = "Type \"LumoArrayEnumeration\" must have enumeration type as template argument";
    const std::vector<std::pair<std::string, std::string>> cases = {
        // Names compare exactly; a category ID is no type; a plain name is looked up in its own library only.
        {"i", "unresolved type \"i\""}, {"LumoResult", "unresolved type \"LumoResult\""},
        {"C", "unresolved type \"C\""}, {"R", "unresolved type \"R\""}, {"O::I", "unresolved type \"O::I\""},
        {"LumoArrayEnumeration",
         "template argument count mismatch for \"LumoArrayEnumeration\", expected 1 argument, received 0"},
        {"LumoArrayEnumeration<E, E>",
         "template argument count mismatch for \"LumoArrayEnumeration\", expected 1 argument, received 2"},
        {"LumoString<I>", "template argument count mismatch for \"LumoString\", expected 0 arguments, received 1"},
        {"P<I>", "template argument count mismatch for \"L::P\", expected 2 arguments, received 1"},
        {"ILumoError<I>",
         "template argument count mismatch for \"ZEMRA::ILumoError\", expected 0 arguments, received 1"},
        {"LumoArrayEnumeration<I>", notEnumeration},
        {"LumoArrayEnumeration<LumoArrayEnumeration<E>>", notEnumeration},
        {"LumoArrayEnumeration<X>", "unresolved type \"X\""},
        // Within template arguments the first failure in written order stands.
        {"P<I, P<I>>", "template argument count mismatch for \"L::P\", expected 2 arguments, received 1"},
        {"P<P<I, X>, Y>", "unresolved type \"X\""},
        {"P<LumoArrayEnumeration<I>, X>", notEnumeration},
    };
    for (const auto& [written, detail] : cases) {
        SCOPED_TRACE(written);
        EXPECT_EQ(ParsedSources(hostSources(written + " M([in] LumoReal a);")).error(),
                  "Error with return type of method \"M\" of interface \"H\": " + detail);
        EXPECT_EQ(ParsedSources(hostSources("LumoReal M([in] LumoReal a, [in] " + written + " b);")).error(),
                  "Error with type of argument \"b\" of method \"M\" of interface \"H\": " + detail);
    }
}

TEST(TypeResolutionTest, NamesAcrossFilesAndWhereAFailureEndsResolution) {
    const std::string x = "X M();", error = "ILumoError M();", builtin = "6 ZEMRA::ILumoError {" + kErrorUuid + "}";
    const std::string returnType = "Error with return type of method \"M\" of interface ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{library("U", iface("Q", 1, x)), library("U", iface("X", 2))}, "6 U::X #2"},
        {{library("U", iface("Q", 1, "O::X M();")), library("O", iface("X", 2))}, "6 O::X #2"},
        // An interface before an enumeration, a template parameter before both; a repeated one by its later index.
        {{library("U", enumeration("X", 3)), library("U", iface("Q", 1, x) + iface("X", 2))}, "6 U::X #2"},
        {{library("U", iface("Q<X>", 1, x) + iface("X", 2))}, "18 X @0"},
        {{library("U", iface("Q<X, Y, X>", 1, x))}, "18 X @2"},
        // The error interface is ZEMRA's, declared or not, whoever else declares one.
        {{library("U", iface("Q", 1, error) + iface("ILumoError", 2))}, builtin},
        {{library("U", iface("Q", 1, "ZEMRA::ILumoError M();"))}, builtin},
        {{library("U", iface("Q", 1, error)), library("ZEMRA", iface("ILumoError", 2))}, "6 ZEMRA::ILumoError #2"},
        {{library("ZEMRA", enumeration("ILumoError", 2) + iface("Q", 1, error))}, "13 ZEMRA::ILumoError #2"},
        // A return type failure ends its interface, an argument type failure its method; a later failure replaces.
        {{library("L", iface("I", 1, "X M();\nY N([in] Z a);"))}, returnType + "\"I\": unresolved type \"X\""},
        {{library("L", iface("I", 1, "LumoReal M([in] X a, [in] Y b);"))},
         "Error with type of argument \"a\" of method \"M\" of interface \"I\": unresolved type \"X\""},
        {{library("L", iface("I", 1, "LumoReal M([in] X a);\nLumoReal N([in] Y b);"))},
         "Error with type of argument \"b\" of method \"N\" of interface \"I\": unresolved type \"Y\""},
        {{library("L", iface("I", 1, x)), library("L", iface("J", 2, "Y M();") + iface("K", 3, "LumoReal M();"))},
         returnType + "\"J\": unresolved type \"Y\""},
        // Template parameters are those of the enclosing interface only.
        {{library("L", iface("I<T>", 1, "T M();") + iface("J", 2, "T M();"))},
         returnType + "\"J\": unresolved type \"T\""},
    };
    for (const auto& [sources, expected] : cases) {
        SCOPED_TRACE(sources.front());
        ParsedSources parsed(sources);
        EXPECT_EQ(parsed.error().empty() ? describe(*firstMethod(parsed).returnType) : parsed.error(), expected);
    }
}

}  // namespace
