// Tests of the enumeration and category ID phases, and of which phase's failure is reported.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/fake_host.h"
#include "support/parse_sources.h"
#include "tree/nodes.h"
#include "tree/parser_library.h"

namespace {

using lumoidl::test::ParsedSources;
using lumoidl::test::utf8;
using ZEMRA::IDL::PARSER::ParserLibrary;

constexpr const char* kLibraryUuid = "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41";
constexpr const char* kCoreUuid = "4A5E2E81-C093-11D4-9F1B-0010A4D198C2";
constexpr const char* kUuidA = "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E01";
constexpr const char* kUuidB = "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E02";
constexpr const char* kUuidC = "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E03";
constexpr const char* kNullUuid = "00000000-0000-0000-0000-000000000000";

/// A file holding the library `name` with the uuid `uuid` and `body`.
std::string library(const std::string& body, const char* uuid = kLibraryUuid, const char* name = "Shapes") {
    return std::string("[uuid(") + uuid + ")] library " + name + " {\n" + body + "};\n";
}

/// An enumeration with the uuid attribute `uuid` and the items `items`.
std::string enumeration(const std::string& name, const char* uuid = kUuidA,
                        const std::string& items = "Red = 1, Green = 2") {
    return std::string("[uuid(") + uuid + ")] enum { " + items + " } " + name + ";\n";
}

/// A category ID with the uuid attribute `uuid`.
std::string category(const std::string& name, const char* uuid = kUuidB) {
    return std::string("[uuid(") + uuid + ")] category " + name + ";\n";
}

/// An interface without methods with the uuid attribute `uuid`.
std::string iface(const std::string& name, const char* uuid = kUuidC) {
    return std::string("[uuid(") + uuid + ")] interface " + name + " { };\n";
}

/// `text` with every "{file}" replaced by `file`.
std::string withFile(std::string text, const std::string& file) {
    const std::string mark = "{file}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + file.size()))
        text.replace(at, mark.size(), file);
    return text;
}

/// The library of the result's k-th entry.
const ParserLibrary& libraryAt(const ParsedSources& parsed, size_t k) {
    return *static_cast<const ParserLibrary*>(parsed.result().libraries.at(k));
}

/// One source and the message it must give, "{file}" standing for its path.
struct FailureCase {
    const char* label;
    std::string source;
    const char* message;
};

/// Parses each case alone and compares the whole message; the library is handed over all the same.
void expectMessages(const std::vector<FailureCase>& cases) {
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed({c.source});
        EXPECT_EQ(parsed.error(), withFile(c.message, parsed.file(0)));
        EXPECT_EQ(parsed.result().libraries.size(), 1u);
    }
}

TEST(DeclarationRulesTest, EachEnumerationRuleReportsItsMessage) {
    expectMessages({
        {"name with \"::\"", library(enumeration("Color::Dark")),
         R"(Invalid enumeration name "Color::Dark" in "{file}")"},
        {"name with a single \":\"", library(enumeration("Co:lor")),
         R"(Invalid enumeration name "Co:lor" in "{file}")"},
        {"attribute an enumeration does not take",
         library("[uuid(" + std::string(kUuidA) + "), flags] enum { Red = 1 } Color;\n"),
         R"(Enumeration "Color" has invalid specification of attribute "flags" in "{file}")"},
        {"uuid without value fails as an attribute, not as a missing uuid", library("[uuid] enum { Red = 1 } Color;\n"),
         R"(Enumeration "Color" has invalid specification of attribute "uuid" in "{file}")"},
        {"built-in type name", library(enumeration("LumoString")),
         R"(Type "LumoString" cannot be redefined as enumeration in "{file}")"},
        {"LumoEnumeration outside the core library", library(enumeration("LumoEnumeration")),
         R"(Type "LumoEnumeration" cannot be redefined as enumeration in "{file}")"},
        {"LumoEnumeration in a library whose uuid differs from the core one in the last digit",
         library(enumeration("LumoEnumeration"), "4A5E2E81-C093-11D4-9F1B-0010A4D198C3"),
         R"(Type "LumoEnumeration" cannot be redefined as enumeration in "{file}")"},
        {"LumoString in the core library", library(enumeration("LumoString"), kCoreUuid, "ZEMRA"),
         R"(Type "LumoString" cannot be redefined as enumeration in "{file}")"},
        {"LumoArrayEnumeration in the core library", library(enumeration("LumoArrayEnumeration"), kCoreUuid, "ZEMRA"),
         R"(Type "LumoArrayEnumeration" cannot be redefined as enumeration in "{file}")"},
        {"same name twice shows the qualified name", library(enumeration("Color") + enumeration("Color", kUuidB)),
         R"(Enumeration "Shapes::Color" is declared multiple times in "{file}")"},
        {"named like an interface shows the qualified name", library(iface("Color") + enumeration("Color")),
         R"(Multiple types "Shapes::Color" are declared in "{file}")"},
        {"interface declared after it is still checked first", library(enumeration("Color") + iface("Color")),
         R"(Multiple types "Shapes::Color" are declared in "{file}")"},
        {"no uuid attribute", library("enum { Red = 1 } Color;\n"),
         R"(Enumeration "Color" must have a uuid attribute)"},
        {"uuid not accepted", library(enumeration("Color", "7D2E4F60-1A2B-4C3D-8E9F")),
         R"(Enumeration "Color" has invalid uuid attribute)"},
        {"null uuid", library(enumeration("Color", kNullUuid)), R"(Enumeration "Color" cannot have null uuid)"},
        {"uuid repeated, shown as the second one writes it",
         library(enumeration("Color") + enumeration("Shade", "{7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e01}")),
         R"(Enumeration "Shade" redefines uuid "{7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e01}" in "{file}")"},
        {"uuid of an interface, shown as the enumeration writes it",
         library(iface("IShape", kUuidA) + enumeration("Color", "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e01")),
         R"(Multiple types with uuid "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e01" are defined in "{file}")"},
        {"item repeated", library(enumeration("Color", kUuidA, "Red = 1, Green = 2, Red = 3")),
         R"(Enumeration "Color" has multiple definitions of item "Red" in "{file}")"},
        {"the first repeated item is named",
         library(enumeration("Color", kUuidA, "Red = 1, red = 1, Blue = 2, Blue = 3, red = 4")),
         R"(Enumeration "Color" has multiple definitions of item "Blue" in "{file}")"},
        {"name with \":\" is checked before the attributes", library("[uuid, flags] enum { Red = 1 } Co:lor;\n"),
         R"(Invalid enumeration name "Co:lor" in "{file}")"},
        {"attributes are checked before the built-in name", library("[flags] enum { Red = 1 } LumoString;\n"),
         R"(Enumeration "LumoString" has invalid specification of attribute "flags" in "{file}")"},
        {"built-in name is checked before the uuid", library("enum { Red = 1 } LumoReal;\n"),
         R"(Type "LumoReal" cannot be redefined as enumeration in "{file}")"},
        {"repeated name is checked before the uuid", library(enumeration("Color") + "enum { Red = 1 } Color;\n"),
         R"(Enumeration "Shapes::Color" is declared multiple times in "{file}")"},
        {"uuid is checked before the items", library("enum { Red = 1, Red = 2 } Color;\n"),
         R"(Enumeration "Color" must have a uuid attribute)"},
        {"the first failing enumeration decides", library(enumeration("LumoValue") + "enum { Red = 1 } Color;\n"),
         R"(Type "LumoValue" cannot be redefined as enumeration in "{file}")"},
    });
}

TEST(DeclarationRulesTest, EachCategoryIDRuleReportsItsMessage) {
    expectMessages({
        {"name with \"::\"", library(category("Shapes::Drawable")),
         R"(Invalid category ID name "Shapes::Drawable" in "{file}")"},
        {"name with a single \":\"", library(category("Draw:able")),
         R"(Invalid category ID name "Draw:able" in "{file}")"},
        {"attribute a category ID does not take",
         library("[uuid(" + std::string(kUuidB) + "), version(1)] category Drawable;\n"),
         R"(Category ID "Drawable" has invalid specification of attribute "version" in "{file}")"},
        {"uuid without value fails as an attribute, not as a missing uuid", library("[uuid] category Drawable;\n"),
         R"(Category ID "Drawable" has invalid specification of attribute "uuid" in "{file}")"},
        {"built-in type name", library(category("LumoUUID")),
         R"(Type "LumoUUID" cannot be redefined as category ID in "{file}")"},
        {"LumoEnumeration even in the core library", library(category("LumoEnumeration"), kCoreUuid, "ZEMRA"),
         R"(Type "LumoEnumeration" cannot be redefined as category ID in "{file}")"},
        {"same name twice shows the qualified name", library(category("Drawable") + category("Drawable", kUuidC)),
         R"(Category ID "Shapes::Drawable" is declared multiple times in "{file}")"},
        {"named like an enumeration shows the plain name", library(enumeration("Drawable") + category("Drawable")),
         R"(Multiple types "Drawable" are declared in "{file}")"},
        {"named like an interface shows the plain name", library(iface("Drawable") + category("Drawable")),
         R"(Multiple types "Drawable" are declared in "{file}")"},
        {"no uuid attribute", library("category Drawable;\n"), R"(Category ID "Drawable" must have a uuid attribute)"},
        {"uuid not accepted", library(category("Drawable", "{7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E02")),
         R"(Category ID "Drawable" has invalid uuid attribute)"},
        {"null uuid", library(category("Drawable", kNullUuid)), R"(Category ID "Drawable" cannot have null uuid)"},
        {"uuid repeated, shown as the second one writes it",
         library(category("Drawable") + category("Movable", "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02")),
         R"(Category ID "Movable" redefines uuid "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02" in "{file}")"},
        {"uuid of an enumeration, shown as the category ID writes it",
         library(enumeration("Color", kUuidB) + category("Drawable", "{7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02}")),
         R"(Multiple types with uuid "{7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02}" are defined in "{file}")"},
        {"uuid of an interface, shown as the category ID writes it",
         library(iface("IShape", kUuidB) + category("Drawable", "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02")),
         R"(Multiple types with uuid "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e02" are defined in "{file}")"},
        {"name with \":\" is checked before the attributes", library("[uuid, local] category Draw:able;\n"),
         R"(Invalid category ID name "Draw:able" in "{file}")"},
        {"attributes are checked before the built-in name", library("[local] category LumoString;\n"),
         R"(Category ID "LumoString" has invalid specification of attribute "local" in "{file}")"},
        {"built-in name is checked before the uuid", library("category LumoWindowId;\n"),
         R"(Type "LumoWindowId" cannot be redefined as category ID in "{file}")"},
        {"repeated name is checked before the uuid", library(category("Drawable") + "category Drawable;\n"),
         R"(Category ID "Shapes::Drawable" is declared multiple times in "{file}")"},
        {"the first failing category ID decides", library(category("LumoValue") + "category Drawable;\n"),
         R"(Type "LumoValue" cannot be redefined as category ID in "{file}")"},
    });
}

TEST(DeclarationRulesTest, TheLastPhaseThatFailedIsReported) {
    const std::string badInterface = "interface IBroken { };\n";
    const std::string badEnumeration = "enum { Red = 1 } Broken;\n";
    const std::string badCategory = "category BrokenCat;\n";
    const char* const interfaceMessage = R"(Interface "IBroken" must have a uuid attribute)";
    const char* const enumerationMessage = R"(Enumeration "Broken" must have a uuid attribute)";
    const char* const categoryMessage = R"(Category ID "BrokenCat" must have a uuid attribute)";
    expectMessages({
        {"interface and enumeration fail", library(badInterface + badEnumeration), enumerationMessage},
        {"enumeration and category ID fail", library(badEnumeration + badCategory), categoryMessage},
        {"interface and category ID fail", library(badInterface + enumeration("Color") + badCategory), categoryMessage},
        {"all three fail", library(badCategory + badEnumeration + badInterface), categoryMessage},
        {"a later phase that passes keeps the interface's message",
         library(badInterface + enumeration("Color") + category("Drawable")), interfaceMessage},
        {"a later phase that passes keeps the enumeration's message",
         library(iface("IShape") + badEnumeration + category("Drawable")), enumerationMessage},
    });
}

TEST(DeclarationRulesTest, FailingPhaseStopsOnlyItself) {
    ParsedSources parsed(
        {library("interface IBroken { };\n" + iface("IShape") + enumeration("Color") + "enum { Red = 1 } Broken;\n" +
                 enumeration("Shade", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E04") + category("Drawable"))});
    EXPECT_EQ(parsed.error(), R"(Enumeration "Broken" must have a uuid attribute)");
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const ParserLibrary& lib = libraryAt(parsed, 0);
    // Interface phase: ended at IBroken, so IShape is not entered.
    EXPECT_EQ(lib.interfacesByName.count("Shapes::IShape"), 0u);
    EXPECT_TRUE(lib.interfacesByUuid.empty());
    // Enumeration phase ran all the same: Color fully, Broken by name only, Shade not at all.
    EXPECT_EQ(lib.enumerationsByName.size(), 2u);
    EXPECT_EQ(lib.enumerationsByName.count("Shapes::Color"), 1u);
    EXPECT_EQ(lib.enumerationsByName.count("Shapes::Broken"), 1u);
    ASSERT_EQ(lib.enumerations.size(), 3u);
    EXPECT_EQ(lib.enumerationsByUuid.size(), 1u);
    EXPECT_EQ(lib.enumerationsByUuid.count(lib.enumerations[0]->uuid.value), 1u);
    EXPECT_EQ(lib.enumerations[0]->itemValues.size(), 2u);
    EXPECT_EQ(lib.enumerations[2]->libraryName, "");
    // Category ID phase ran all the same.
    EXPECT_EQ(lib.categoryIDsByName.count("Shapes::Drawable"), 1u);
    EXPECT_EQ(lib.categoryIDsByUuid.size(), 1u);
}

TEST(DeclarationRulesTest, FailingEnumerationKeepsTheEntriesMadeBeforeItsFailingStep) {
    struct Case {
        const char* label;
        std::string failing;
        bool inNameMap;
        bool inUuidMap;
        std::vector<std::pair<std::string, int>> items;
    };
    const Case cases[] = {
        {"name with \":\"", enumeration("Co:lor"), false, false, {}},
        {"built-in name", enumeration("LumoBoolean"), false, false, {}},
        {"null uuid", enumeration("Color", kNullUuid), true, false, {}},
        {"uuid of an interface", enumeration("Color", kUuidC), true, false, {}},
        {"repeated item",
         enumeration("Color", kUuidA, "Red = 5, Green = 6, Red = 7, Blue = 8"),
         true,
         true,
         {{"Red", 5}, {"Green", 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed({library(iface("IShape") + c.failing)});
        EXPECT_NE(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        const ParserLibrary& lib = libraryAt(parsed, 0);
        ASSERT_EQ(lib.enumerations.size(), 1u);
        const auto& failing = *lib.enumerations[0];
        // The library's fields are copied before any rule, even the name rule.
        EXPECT_EQ(failing.libraryName, "Shapes");
        EXPECT_EQ(utf8(failing.libraryUuid.uuidText()), kLibraryUuid);
        EXPECT_EQ(lib.enumerationsByName.size(), c.inNameMap ? 1u : 0u);
        EXPECT_EQ(lib.enumerationsByUuid.size(), c.inUuidMap ? 1u : 0u);
        EXPECT_EQ(failing.itemValues.size(), c.items.size());
        for (const auto& [name, value] : c.items) {
            ASSERT_EQ(failing.itemValues.count(name), 1u) << name;
            EXPECT_EQ(failing.itemValues.at(name), value) << name;
        }
    }
}

TEST(DeclarationRulesTest, FailingCategoryIDHasTheLibraryFieldsEvenWithABadName) {
    ParsedSources parsed({library(category("Draw:able"))});
    EXPECT_EQ(parsed.error(), withFile(R"(Invalid category ID name "Draw:able" in "{file}")", parsed.file(0)));
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const ParserLibrary& lib = libraryAt(parsed, 0);
    ASSERT_EQ(lib.categoryIDs.size(), 1u);
    EXPECT_EQ(lib.categoryIDs[0]->libraryName, "Shapes");
    EXPECT_EQ(utf8(lib.categoryIDs[0]->libraryUuid.uuidText()), kLibraryUuid);
    EXPECT_TRUE(lib.categoryIDsByName.empty());
}

TEST(DeclarationRulesTest, LumoEnumerationIsAcceptedOnlyInTheCoreLibrary) {
    for (const char* uuid : {"4A5E2E81-C093-11D4-9F1B-0010A4D198C2", "4a5e2e81-c093-11d4-9f1b-0010a4d198c2",
                             "{4A5E2E81-C093-11d4-9f1b-0010A4D198C2}"}) {
        SCOPED_TRACE(uuid);
        ParsedSources parsed({library(enumeration("LumoEnumeration"), uuid, "ZEMRA")});
        EXPECT_EQ(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        EXPECT_EQ(libraryAt(parsed, 0).enumerationsByName.count("ZEMRA::LumoEnumeration"), 1u);
    }
}

TEST(DeclarationRulesTest, ItemNamesAreCaseSensitiveAndValuesMayRepeat) {
    ParsedSources parsed({library(enumeration("Color", kUuidA, "Red = 1, red = 2, RED = 2, Green = 0x1F, Other = 1"))});
    ASSERT_EQ(parsed.error(), "");
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const auto& values = libraryAt(parsed, 0).enumerations.at(0)->itemValues;
    const std::vector<std::pair<std::string, int>> expected = {
        {"Red", 1}, {"red", 2}, {"RED", 2}, {"Green", 31}, {"Other", 1}};
    EXPECT_EQ(values.size(), expected.size());
    for (const auto& [name, value] : expected) {
        ASSERT_EQ(values.count(name), 1u) << name;
        EXPECT_EQ(values.at(name), value) << name;
    }
}

TEST(DeclarationRulesTest, SuccessfulPhasesFillEveryEnumerationAndCategoryID) {
    ParsedSources parsed({library(iface("IShape") + enumeration("Color", "7d2e4f60-1a2b-4c3d-8e9f-0a1b2c3d4e01") +
                                  category("Drawable", "{7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E02}") +
                                  enumeration("Shade", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E04", "Light = 0xFFFFFFFF") +
                                  category("Movable", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E05"))});
    ASSERT_EQ(parsed.error(), "");
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const ParserLibrary& lib = libraryAt(parsed, 0);
    ASSERT_EQ(lib.enumerations.size(), 2u);
    ASSERT_EQ(lib.categoryIDs.size(), 2u);
    struct Expected {
        const char* qualified;
        const char* uuidText;
    };
    const Expected enumerations[] = {{"Shapes::Color", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E01"},
                                     {"Shapes::Shade", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E04"}};
    EXPECT_EQ(lib.enumerationsByName.size(), 2u);
    EXPECT_EQ(lib.enumerationsByUuid.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(enumerations[k].qualified);
        const auto* entry = lib.enumerations[k];
        EXPECT_EQ(utf8(entry->uuid.uuidText()), enumerations[k].uuidText);
        EXPECT_EQ(entry->libraryName, "Shapes");
        EXPECT_EQ(utf8(entry->libraryUuid.uuidText()), kLibraryUuid);
        ASSERT_EQ(lib.enumerationsByName.count(enumerations[k].qualified), 1u);
        EXPECT_EQ(lib.enumerationsByName.at(enumerations[k].qualified), entry);
        ASSERT_EQ(lib.enumerationsByUuid.count(entry->uuid.value), 1u);
        EXPECT_EQ(lib.enumerationsByUuid.at(entry->uuid.value), entry);
    }
    EXPECT_EQ(lib.enumerations[1]->itemValues.at("Light"), -1);

    const Expected categoryIDs[] = {{"Shapes::Drawable", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E02"},
                                    {"Shapes::Movable", "7D2E4F60-1A2B-4C3D-8E9F-0A1B2C3D4E05"}};
    EXPECT_EQ(lib.categoryIDsByName.size(), 2u);
    EXPECT_EQ(lib.categoryIDsByUuid.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(categoryIDs[k].qualified);
        const auto* entry = lib.categoryIDs[k];
        EXPECT_EQ(utf8(entry->uuid.uuidText()), categoryIDs[k].uuidText);
        EXPECT_EQ(entry->libraryName, "Shapes");
        EXPECT_EQ(utf8(entry->libraryUuid.uuidText()), kLibraryUuid);
        ASSERT_EQ(lib.categoryIDsByName.count(categoryIDs[k].qualified), 1u);
        EXPECT_EQ(lib.categoryIDsByName.at(categoryIDs[k].qualified), entry);
        ASSERT_EQ(lib.categoryIDsByUuid.count(entry->uuid.value), 1u);
        EXPECT_EQ(lib.categoryIDsByUuid.at(entry->uuid.value), entry);
    }
}

}  // namespace
