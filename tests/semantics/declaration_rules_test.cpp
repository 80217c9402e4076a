// Tests of the per-file pass: library checks, enumeration and category ID rules, which failure stands, what is filled.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <unordered_map>

#include "idl_sources.h"
#include "tree/parser_library.h"

namespace {

using namespace lumoidl::test;

TEST(LibraryChecksTest, FailingLibraryIsNotHandedOverAndEndsTheParse) {
    const std::tuple<std::string, std::string, size_t> cases[] = {
        {"[uuid(" + kLibraryUuid + "), local]", R"(Invalid format of attribute "local" for library "L")", 0},
        {"[uuid(" + kLibraryUuid + "), in]", R"(Invalid format of attribute "in" for library "L")", 0},
        {"", R"(Library "L" must have a uuid)", 0},
        {"[uuid(6C1B3A10-2F4E)]", R"(Library "L" has invalid uuid attribute)", 0},
        {"[uuid({00000000-0000-0000-0000-000000000000})]", R"(Library "L" cannot have null uuid)", 0},
        // A library whose own checks pass is handed over although its interface fails.
        {"[uuid(" + kLibraryUuid + ")]", R"(Interface "I" must have a uuid attribute)", 1},
    };
    for (const auto& [attributes, message, handedOver] : cases) {
        SCOPED_TRACE(attributes);
        // The interface fails its phase; the second file would fail the parser if it were read.
        ParsedSources parsed({attributes + " library L { interface I { }; };\n", "not idl"});
        EXPECT_EQ(parsed.error(), message);
        EXPECT_EQ(parsed.result().libraries.size(), handedOver);
        // The passes across libraries did not run.
        EXPECT_TRUE(parsed.result().interfaces.empty());
    }
    // The library destroyed above held the one "in" that every list shares; it is still there.
    EXPECT_EQ(ParsedSources({library("M", iface("I", 1, "LUMORESULT m([in] LumoInteger a);"))}).error(), "");
}

TEST(DeclarationRulesTest, EnumerationRules) {
    expectRules("enum { R = 1 } Z;\n", {
        {enumeration("E", 1, "R = 1, r = 2, G = 1"), ""},
        {enumeration("E:F", 1), R"(Invalid enumeration name "E:F" in "{file}")"},
        {"[flags] enum { R = 1 } E;", R"(Enumeration "E" has invalid specification of attribute "flags" in "{file}")"},
        {enumeration("LumoValue", 1), R"(Type "LumoValue" cannot be redefined as enumeration in "{file}")"},
        {enumeration("E", 1) + enumeration("E", 2), R"(Enumeration "L::E" is declared multiple times in "{file}")"},
        {iface("E", 1) + enumeration("E", 2), R"(Multiple types "L::E" are declared in "{file}")"},
        {"enum { R = 1 } E;", R"(Enumeration "E" must have a uuid attribute)"},
        {"[uuid(5F0C2E61)] enum { R = 1 } E;", R"(Enumeration "E" has invalid uuid attribute)"},
        {enumeration("E", 0), R"(Enumeration "E" cannot have null uuid)"},
        {enumeration("E", 1) + "[uuid({5f0c2e61-7a3b-4c8d-9e1f-000000000001})] enum { R = 1 } F;",
         R"(Enumeration "F" redefines uuid "{5f0c2e61-7a3b-4c8d-9e1f-000000000001}" in "{file}")"},
        {iface("I", 1) + "[uuid(5f0c2e61-7a3b-4c8d-9e1f-000000000001)] enum { R = 1 } E;",
         R"(Multiple types with uuid "5f0c2e61-7a3b-4c8d-9e1f-000000000001" are defined in "{file}")"},
        {enumeration("E", 1, "R = 1, r = 1, B = 2, B = 3, r = 4"),
         R"(Enumeration "E" has multiple definitions of item "B" in "{file}")"},
    });
}

TEST(DeclarationRulesTest, OnlyTheCoreLibraryMayDeclareLumoEnumeration) {
    const std::string redefined = R"(Type "LumoEnumeration" cannot be redefined as )";
    expectRules("", {{enumeration("LumoEnumeration", 1), ""},
                     {category("LumoEnumeration", 1), redefined + R"(category ID in "{file}")"}},
                "{4a5e2e81-c093-11d4-9f1b-0010a4d198c2}");
    expectRules("", {{enumeration("LumoEnumeration", 1), redefined + R"(enumeration in "{file}")"}},
                "4A5E2E81-C093-11D4-9F1B-0010A4D198C3");
}

TEST(DeclarationRulesTest, CategoryIDRules) {
    const std::string taken = R"(Multiple types with uuid "5F0C2E61-7A3B-4C8D-9E1F-000000000001" are defined in )"
                              R"("{file}")";
    expectRules("category Z;\n", {
        {category("C:D", 1), R"(Invalid category ID name "C:D" in "{file}")"},
        {"[version(1)] category C;", R"(Category ID "C" has invalid specification of attribute "version" in "{file}")"},
        {category("LumoUUID", 1), R"(Type "LumoUUID" cannot be redefined as category ID in "{file}")"},
        {category("C", 1) + category("C", 2), R"(Category ID "L::C" is declared multiple times in "{file}")"},
        {enumeration("C", 1) + category("C", 2), R"(Multiple types "C" are declared in "{file}")"},
        {iface("C", 1) + category("C", 2), R"(Multiple types "C" are declared in "{file}")"},
        {"category C;", R"(Category ID "C" must have a uuid attribute)"},
        {"[uuid(5F0C2E617-A3B-4C8D-9E1F-000000000001)] category C;", R"(Category ID "C" has invalid uuid attribute)"},
        {category("C", 0), R"(Category ID "C" cannot have null uuid)"},
        {category("C", 1) + "[uuid(5f0c2e61-7a3b-4c8d-9e1f-000000000001)] category D;",
         R"(Category ID "D" redefines uuid "5f0c2e61-7a3b-4c8d-9e1f-000000000001" in "{file}")"},
        {enumeration("E", 1) + category("C", 1), taken},
        {iface("I", 1) + category("C", 1), taken},
    });
}

TEST(DeclarationRulesTest, EveryPhaseRunsAndTheLastFailureStands) {
    const std::string badInterface = "interface I { };\n", badEnumeration = "enum { R = 1 } E;\n";
    const std::string goodEnumeration = enumeration("E", 2), badCategory = "category C;\n";
    expectRules("", {
        {badInterface + badEnumeration + category("C", 3), R"(Enumeration "E" must have a uuid attribute)"},
        {badInterface + goodEnumeration + badCategory, R"(Category ID "C" must have a uuid attribute)"},
        {badInterface + goodEnumeration + category("C", 3), R"(Interface "I" must have a uuid attribute)"},
    });
}

TEST(DeclarationRulesTest, PassingPhasesFillTheLibrary) {
    ParsedSources parsed({library("L", iface("I", 1) + enumeration("E", 2, "R = 1, G = 0x1F") + category("C", 3))});
    ASSERT_EQ(parsed.error(), "");
    const auto& lib = *static_cast<const ZEMRA::IDL::PARSER::ParserLibrary*>(parsed.result().libraries.at(0));
    for (const auto* uuid : {&lib.interfaces.at(0)->libraryUuid, &lib.enumerations.at(0)->libraryUuid,
                             &lib.categoryIDs.at(0)->libraryUuid})
        EXPECT_EQ(utf8(uuid->uuidText()), kLibraryUuid);
    const ZEMRA::IDL::PARSER::ParserEnumeration& enumeration = *lib.enumerations.at(0);
    for (const auto& [name, value] : {std::pair{"R", 1}, std::pair{"G", 31}})
        EXPECT_EQ(enumeration.itemIndex.find(enumeration.items, name)->value, value) << name;
    EXPECT_EQ(enumeration.itemIndex.find(enumeration.items, "B"), nullptr);
}

}  // namespace
