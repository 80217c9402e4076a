// Tests of the interface phase: interface, method and argument rules, method signatures and case folding.
#include <gtest/gtest.h>

#include <string>

#include "idl_sources.h"
#include "tree/type_signature.h"
#include "tree/nodes.h"
#include "tree/parser_library.h"

namespace {

using namespace lumoidl::test;

/// Reached only when the interface phase goes on after a failure.
const std::string kTail = "interface Z { };\n";

/// I (with a method M), J<T> and K holding `methods`.
std::string board(const std::string& methods) {
    return iface("I", 1, "LUMORESULT M();\n") + iface("J<T>", 2) + iface("K", 3, methods);
}

TEST(InterfaceRulesTest, InterfaceRules) {
    expectRules(kTail, {
        {iface("I", 1) + iface("J<T, U>", 2) + iface("LumoResult", 3), ""},
        {iface("I:J", 1), R"(Invalid interface name "I:J" in "{file}")"},
        {"[uuid] interface I { };", R"(Interface "I" has invalid specification of attribute "uuid" in "{file}")"},
        {iface("LumoReal", 1), R"(Type "LumoReal" cannot be redefined as interface in "{file}")"},
        {iface("I", 1) + iface("I", 2), R"(Interface "L::I" is declared multiple times in "{file}")"},
        {"interface I { };", R"(Interface "I" must have a uuid attribute)"},
        {"[uuid(5F0C2E61-7A3B-4C8D-9E1F-00000000000G)] interface I {};", R"(Interface "I" has invalid uuid attribute)"},
        {iface("I", 0), R"(Interface "I" cannot have null uuid)"},
        {iface("I", 1) + "[uuid({5f0c2e61-7a3b-4c8d-9e1f-000000000001})] interface J { };",
         R"(Interface "J" redefines uuid "{5f0c2e61-7a3b-4c8d-9e1f-000000000001}" in "{file}")"},
        {iface("J<T, LumoString>", 1),
         R"(Type "LumoString" cannot be used as template argument in interface "J" in "{file}")"},
    });
}

TEST(InterfaceRulesTest, MethodAndArgumentRules) {
    const auto m = [](const std::string& arguments) { return board("LUMORESULT M(" + arguments + ");\n"); };
    const std::string method = R"(Method "M" in interface "K" )";
    const std::string b = R"(Argument "b" of method "M" in interface "K" has )";
    expectRules(kTail, {
        {board("[property_get] LUMORESULT P([out, retval] LumoReal v);\n[property_set] LUMORESULT P([in] LumoUUID v);\n"
               "LUMORESULT M([in] LumoReal a, [out] LumoReal b, [out, retval] LumoReal c);\n"
               "LUMORESULT N([in] LumoReal A);"), ""},
        {board("[local] LUMORESULT M();"), method + R"(has invalid specification of attribute "local" in "{file}")"},
        {board("[property_set, property_get] LUMORESULT M([in] X v);"),
         method + R"(cannot have both "property_set" and "property_get" attributes in "{file}")"},
        {board("[property_set] LUMORESULT M();"),
         method + R"(has "property_set" attribute, and must have exactly one argument)"},
        {board("[property_get] LUMORESULT M([out] X a, [out, retval] X b);"),
         method + R"(has "property_get" attribute, and must have exactly one argument)"},
        {board("[property_set] LUMORESULT M([out, retval] X v);"),
         method + R"(has "property_set" attribute; its argument must have attribute "in")"},
        {board("[property_get] LUMORESULT M([out] X v);"),
         method + R"(has "property_get" attribute; its argument must have attributes "out" and "retval")"},
        {m("[in] X a, [in, in] X b"), b + R"(invalid attribute "in" in "{file}")"},
        {m("[in] X VALUE, [in] Y vaLue"),
         method + R"(has multiple arguments named "value" in "{file}" (all argument must differ by name in )"
                  R"(case-insensitive languages))"},
        {m("[in] X a1, [in] X a2, [in] X a3, [in] X a4, [in] X a5, [in] X a6, [in] X a7, [in] X a8, [in] X A8"),
         method + R"(has multiple arguments named "a8" in "{file}" (all argument must differ by name in )"
                  R"(case-insensitive languages))"},
        {m("[in] X a, [in, out] X b"), b + R"(both "in" and "out" attributes in "{file}")"},
        {m("[in] X a, [in, retval] X b"), b + R"("retval" attribute but not "out" attribute in "{file}")"},
        {m("[out] X a, [in] X b"), b + R"("in" attribute but appears after argument with "out" attribute in "{file}")"},
        {m("[in] X a, X b"), b + R"(neither "in" nor "out" attribute in "{file}")"},
        {m("[in] X a, [retval] X b"), b + R"(neither "in" nor "out" attribute in "{file}")"},
        {m("[out, retval] X a, [out] X b"),
         method + R"(has invalid "retval" argument (must be last argument) in "{file}")"},
    });
}

TEST(InterfaceRulesTest, MethodsMustDifferByFoldedNameOrArgumentTypes) {
    const auto clash = [](const std::string& name) {
        return "Multiple methods \"" + name + "\" exist in interface \"K\" that cannot be distinguished by argument "
               "type in \"{file}\" (all methods must differ by name or argument list in case-insensitive languages)";
    };
    expectRules(kTail, {
        // Types, their count and order tell methods apart, and so does the interface (I has M too).
        {board("LUMORESULT M([in] LumoReal a, [in] LumoString b);\nLUMORESULT M([in] LumoString a);\n"
               "LUMORESULT m([in] LumoString a, [in] LumoReal b);\nLUMORESULT m();\n"), ""},
        // So do the names as written, and template arguments.
        {board("LUMORESULT M([in] I a);\nLUMORESULT M([in] L::I a);\n"
               "LUMORESULT M([in] J<I> a);\nLUMORESULT M([in] J<LumoReal> a);\n"), ""},
        {board("[property_get] LUMORESULT M([out, retval] X v);\n[property_set] LUMORESULT m([in] X w);"), clash("m")},
        {board("LumoReal N();\nLumoString n();\n"), clash("n")},
        {board("LUMORESULT M([in] J<I> a);\nLUMORESULT m([in] J<I> b);\n"), clash("m")},
        {board("LUMORESULT M([in] X a);\nLUMORESULT M([in] Y a);\nLUMORESULT m([in] Y b);\n"), clash("m")},
    });
}

TEST(InterfaceRulesTest, SignatureIsTheWrittenTypeAndFoldingLowersAsciiLettersOnly) {
    ParsedSources parsed({library(
        "L", board("LUMORESULT M([in] J<J<I>> a, [in] P<J<LumoReal>, I> b);") + iface("P<A, B>", 4))});
    ASSERT_EQ(parsed.error(), "");
    const auto* k = static_cast<const ZEMRA::IDL::PARSER::ParserInterface*>(parsed.result().interfaces.at(2));
    std::string signature;
    EXPECT_EQ(ZEMRA::IDL::PARSER::signatureText(*k->methods.at(0), signature),
              "m$L::J<L::J<L::I>>$L::P<L::J<LumoReal>,L::I>");
    std::string folded = "earlier and longer text";
    EXPECT_EQ(ZEMRA::IDL::PARSER::foldCase("@AZ[`az{_09\xC3\x89", folded), "@az[`az{_09\xC3\x89");
}

TEST(InterfaceRulesTest, AfterAFailureTheMethodsThePhaseDidNotReachFindNoAttributes) {
    // Whether the first method of I, J and K finds its "property_get" and its argument its "out": only
    // what the phase validated before it stopped is found.
    const std::string accessor = "[property_get] LUMORESULT P([out, retval] X v);\n";
    const struct {
        std::string failing;
        std::vector<bool> found;
    } rows[] = {
        {"[uuid] interface J {\n" + accessor + "};\n", {true, false, false}},
        {iface("J", 2, accessor + "[local] LUMORESULT M();\n"), {true, true, false}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.failing);
        ParsedSources parsed({library("L", iface("I", 1, accessor) + row.failing + iface("K", 3, accessor))});
        ASSERT_NE(parsed.error(), "");
        const auto& lib = *static_cast<const ZEMRA::IDL::PARSER::ParserLibrary*>(parsed.result().libraries.at(0));
        std::vector<bool> found;
        for (const ZEMRA::IDL::PARSER::ParserInterface* checked : lib.interfaces) {
            const ZEMRA::IDL::PARSER::ParserMethod& method = *checked->methods.at(0);
            const bool get = method.containsAttribute(ZEMRA::IDL::PARSER::AttributeKey::kPropertyGet);
            EXPECT_EQ(method.arguments.at(0)->containsAttribute(ZEMRA::IDL::PARSER::AttributeKey::kOut), get);
            found.push_back(get);
        }
        EXPECT_EQ(found, row.found);
    }
}

}  // namespace
