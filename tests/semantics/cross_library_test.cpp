// Tests of the cross-library pass: which clashes between files fail, what is registered, and in which order.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/parse_sources.h"
#include "tree/nodes.h"

namespace {

using lumoidl::test::ParsedSources;
using ZEMRA::IDL::PARSER::ParserCatID;
using ZEMRA::IDL::PARSER::ParserEnumeration;
using ZEMRA::IDL::PARSER::ParserInterface;
using ZEMRA::IDL::PARSER::ParserResult;

/// A uuid text, upper case without braces, told apart from the others by `n`.
std::string uuid(unsigned n) {
    char text[40];
    std::snprintf(text, sizeof text, "3C0FFEE0-A1B2-4C3D-9E8F-%012X", n);
    return text;
}

/// `uuid(n)` as a source may also write it: lower case, in braces.
std::string lowerBracedUuid(unsigned n) {
    std::string text = uuid(n);
    for (char& c : text)
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return "{" + text + "}";
}

/// One library file; its uuid is irrelevant to this pass, which never compares libraries.
std::string library(const std::string& name, const std::string& body) {
    return "[uuid(" + uuid(0xFFF) + ")] library " + name + " {\n" + body + "};\n";
}

std::string interfaceDecl(const std::string& name, const std::string& uuidText, const std::string& methods = "") {
    return "  [uuid(" + uuidText + ")] interface " + name + " {\n" + methods + "  };\n";
}

std::string enumDecl(const std::string& name, const std::string& uuidText) {
    return "  [uuid(" + uuidText + ")] enum { First = 1 } " + name + ";\n";
}

std::string categoryDecl(const std::string& name, const std::string& uuidText) {
    return "  [uuid(" + uuidText + ")] category " + name + ";\n";
}

/// The qualified name and uuid of each registered declaration, in list order.
std::string interfaceList(const ParserResult& result) {
    std::string text;
    for (const auto* record : result.interfaces) {
        const auto* node = static_cast<const ParserInterface*>(record);
        text += node->libraryName + "::" + node->name + " ";
    }
    return text;
}

std::string enumerationList(const ParserResult& result) {
    std::string text;
    for (const auto* record : result.enumerations) {
        const auto* node = static_cast<const ParserEnumeration*>(record);
        text += node->libraryName + "::" + node->name + " ";
    }
    return text;
}

std::string categoryIDList(const ParserResult& result) {
    std::string text;
    for (const auto* record : result.categoryIDs) {
        const auto* node = static_cast<const ParserCatID*>(record);
        text += node->libraryName + "::" + node->name + " ";
    }
    return text;
}

/// The LumoUUID of `uuid(n)`.
LumoUUID uuidValue(unsigned n) {
    ZEMRA::IDL::PARSER::UuidField field;
    EXPECT_TRUE(field.parseUuid(uuid(n).c_str()));
    return field.value;
}

struct FailureCase {
    const char* name;
    std::vector<std::string> sources;
    std::string message;
};

TEST(CrossLibraryTest, ClashesBetweenFilesFailWithTheirMessage) {
    const std::string wholeFile = library("Lib", interfaceDecl("IFirst", uuid(1)) + interfaceDecl("ISecond", uuid(2)) +
                                                     enumDecl("EFirst", uuid(3)) + categoryDecl("CFirst", uuid(4)));
    const std::string enumsOnly =
        library("Lib", enumDecl("EFirst", uuid(1)) + enumDecl("ESecond", uuid(2)) + categoryDecl("CFirst", uuid(3)));
    const std::string categoriesOnly =
        library("Lib", categoryDecl("CFirst", uuid(1)) + categoryDecl("CSecond", uuid(2)));
    const FailureCase cases[] = {
        {"same file twice fails at its first interface",
         {wholeFile, wholeFile},
         "Type \"Lib::IFirst\" is defined in multiple libraries"},
        {"same file twice without interfaces fails at its first enumeration",
         {enumsOnly, enumsOnly},
         "Type \"Lib::EFirst\" is defined in multiple libraries"},
        {"same file twice with only category IDs fails at its first category ID",
         {categoriesOnly, categoriesOnly},
         "Type \"Lib::CFirst\" is defined in multiple libraries"},
        {"interface uuid taken by another library's interface, shown in upper case without braces",
         {library("Alpha", interfaceDecl("IAlpha", uuid(0xABCDEF))),
          library("Beta", interfaceDecl("IBeta", lowerBracedUuid(0xABCDEF)))},
         "Type with uuid \"" + uuid(0xABCDEF) + "\" is defined in multiple libraries"},
        {"the uuid clash is found at the later file's interface, not at its first",
         {library("Alpha", interfaceDecl("IAlpha", uuid(7))),
          library("Beta", interfaceDecl("IBeta", uuid(8)) + interfaceDecl("IGamma", uuid(7)))},
         "Type with uuid \"" + uuid(7) + "\" is defined in multiple libraries"},
        {"enumeration named like an interface of a same-named library",
         {library("Lib", interfaceDecl("IShape", uuid(1))), library("Lib", enumDecl("IShape", uuid(2)))},
         "Type \"Lib::IShape\" is defined in multiple libraries"},
        {"enumeration whose uuid is an earlier library's interface's",
         {library("Alpha", interfaceDecl("IAlpha", uuid(5))), library("Beta", enumDecl("EBeta", uuid(5)))},
         "Type with uuid \"" + uuid(5) + "\" is defined in multiple libraries"},
        {"enumeration whose uuid is an earlier library's enumeration's",
         {library("Alpha", enumDecl("EAlpha", uuid(5))), library("Beta", enumDecl("EBeta", uuid(5)))},
         "Type with uuid \"" + uuid(5) + "\" is defined in multiple libraries"},
        {"category ID named like an interface of a same-named library",
         {library("Lib", interfaceDecl("Shape", uuid(1))), library("Lib", categoryDecl("Shape", uuid(2)))},
         "Type \"Lib::Shape\" is defined in multiple libraries"},
        {"category ID named like an enumeration of a same-named library",
         {library("Lib", enumDecl("Shape", uuid(1))), library("Lib", categoryDecl("Shape", uuid(2)))},
         "Type \"Lib::Shape\" is defined in multiple libraries"},
        {"category ID repeated by name in a same-named library with another uuid",
         {library("Lib", categoryDecl("Shape", uuid(1))), library("Lib", categoryDecl("Shape", uuid(2)))},
         "Type \"Lib::Shape\" is defined in multiple libraries"},
        {"category ID whose uuid is an earlier library's interface's",
         {library("Alpha", interfaceDecl("IAlpha", uuid(9))), library("Beta", categoryDecl("CBeta", uuid(9)))},
         "Type with uuid \"" + uuid(9) + "\" is defined in multiple libraries"},
        {"category ID whose uuid is an earlier library's enumeration's",
         {library("Alpha", enumDecl("EAlpha", uuid(9))), library("Beta", categoryDecl("CBeta", uuid(9)))},
         "Type with uuid \"" + uuid(9) + "\" is defined in multiple libraries"},
        {"a name clash is reported before a uuid clash of the same declaration",
         {library("Lib", interfaceDecl("IShape", uuid(1))), library("Lib", interfaceDecl("IShape", uuid(1)))},
         "Type \"Lib::IShape\" is defined in multiple libraries"},
        {"the third file clashes with the first",
         {library("Alpha", interfaceDecl("IAlpha", uuid(1))), library("Beta", interfaceDecl("IBeta", uuid(2))),
          library("Gamma", enumDecl("EGamma", uuid(1)))},
         "Type with uuid \"" + uuid(1) + "\" is defined in multiple libraries"},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedSources parsed(c.sources);
        EXPECT_EQ(parsed.error(), c.message);
    }
}

struct AcceptedCase {
    const char* name;
    std::vector<std::string> sources;
};

TEST(CrossLibraryTest, DeclarationsThatDoNotClashAreAccepted) {
    const AcceptedCase cases[] = {
        {"same-named libraries with different declarations",
         {library("Lib", interfaceDecl("IFirst", uuid(1))), library("Lib", interfaceDecl("ISecond", uuid(2)))}},
        {"same declaration names in differently named libraries",
         {library("Alpha", interfaceDecl("IShape", uuid(1)) + enumDecl("Color", uuid(2))),
          library("Beta", interfaceDecl("IShape", uuid(3)) + enumDecl("Color", uuid(4)))}},
        {"category ID with the same name and uuid in two libraries",
         {library("Alpha", categoryDecl("Shapes", uuid(1))), library("Beta", categoryDecl("Shapes", uuid(1)))}},
        {"category ID with another library's category ID's uuid under another name",
         {library("Alpha", categoryDecl("Shapes", uuid(1))), library("Beta", categoryDecl("Figures", uuid(1)))}},
        {"interface whose uuid is an earlier library's enumeration's",
         {library("Alpha", enumDecl("Color", uuid(1))), library("Beta", interfaceDecl("IShape", uuid(1)))}},
        {"interface named like an enumeration of an earlier same-named library",
         {library("Lib", enumDecl("Shape", uuid(1))), library("Lib", interfaceDecl("Shape", uuid(2)))}},
        {"interface whose uuid is an earlier library's category ID's",
         {library("Alpha", categoryDecl("Shapes", uuid(1))), library("Beta", interfaceDecl("IShape", uuid(1)))}},
        {"enumeration whose uuid is an earlier library's category ID's",
         {library("Alpha", categoryDecl("Shapes", uuid(1))), library("Beta", enumDecl("Color", uuid(1)))}},
        {"libraries with the same name and uuid",
         {library("Lib", enumDecl("Color", uuid(1))), library("Lib", enumDecl("Shade", uuid(2)))}},
    };
    for (const AcceptedCase& c : cases) {
        SCOPED_TRACE(c.name);
        ParsedSources parsed(c.sources);
        EXPECT_EQ(parsed.error(), "");
    }
}

TEST(CrossLibraryTest, SameNamedLibrariesShareTheQualifiedNameSpace) {
    ParsedSources parsed({library("Lib", interfaceDecl("IFirst", uuid(1)) + enumDecl("Color", uuid(2))),
                          library("Lib", interfaceDecl("ISecond", uuid(3)) + categoryDecl("Shapes", uuid(4)))});
    ASSERT_EQ(parsed.error(), "");
    const ParserResult& result = parsed.result();
    ASSERT_EQ(result.interfacesByName.size(), 2u);
    ASSERT_EQ(result.interfaces.size(), 2u);
    EXPECT_EQ(result.interfacesByName.at("Lib::IFirst"), result.interfaces[0]);
    EXPECT_EQ(result.interfacesByName.at("Lib::ISecond"), result.interfaces[1]);
    EXPECT_EQ(result.interfacesByUuid.at(uuidValue(3)), result.interfaces[1]);
    EXPECT_EQ(result.enumerationsByName.at("Lib::Color"), result.enumerations.at(0));
    EXPECT_EQ(result.categoryIDsByName.at("Lib::Shapes"), result.categoryIDs.at(0));
}

TEST(CrossLibraryTest, RepeatedCategoryIDKeepsBothButTheLaterOwnsTheUuid) {
    ParsedSources parsed({library("Alpha", categoryDecl("Shapes", uuid(1))),
                          library("Beta", categoryDecl("Shapes", lowerBracedUuid(1)))});
    ASSERT_EQ(parsed.error(), "");
    const ParserResult& result = parsed.result();
    EXPECT_EQ(categoryIDList(result), "Alpha::Shapes Beta::Shapes ");
    ASSERT_EQ(result.categoryIDs.size(), 2u);
    EXPECT_EQ(result.categoryIDsByName.at("Alpha::Shapes"), result.categoryIDs[0]);
    EXPECT_EQ(result.categoryIDsByName.at("Beta::Shapes"), result.categoryIDs[1]);
    ASSERT_EQ(result.categoryIDsByUuid.size(), 1u);
    EXPECT_EQ(result.categoryIDsByUuid.at(uuidValue(1)), result.categoryIDs[1]);
}

TEST(CrossLibraryTest, UuidSharedByEarlierEnumerationAndLaterInterfaceIsInBothRegistries) {
    ParsedSources parsed(
        {library("Alpha", enumDecl("Color", uuid(1))), library("Beta", interfaceDecl("IShape", uuid(1)))});
    ASSERT_EQ(parsed.error(), "");
    const ParserResult& result = parsed.result();
    EXPECT_EQ(result.enumerationsByUuid.at(uuidValue(1)), result.enumerations.at(0));
    EXPECT_EQ(result.interfacesByUuid.at(uuidValue(1)), result.interfaces.at(0));
}

TEST(CrossLibraryTest, ListsFollowFileOrderThenKindThenDeclarationOrder) {
    // Kinds interleaved in the source and library names against alphabetical order.
    ParsedSources parsed(
        {library("Zeta", enumDecl("EZ1", uuid(1)) + categoryDecl("CZ1", uuid(2)) + interfaceDecl("IZ2", uuid(3)) +
                             enumDecl("EZ0", uuid(4)) + interfaceDecl("IZ1", uuid(5))),
         library("Alpha", categoryDecl("CA2", uuid(6)) + interfaceDecl("IA1", uuid(7)) + categoryDecl("CA1", uuid(8)) +
                              enumDecl("EA1", uuid(9))),
         library("Mid", enumDecl("EM1", uuid(10)))});
    ASSERT_EQ(parsed.error(), "");
    EXPECT_EQ(interfaceList(parsed.result()), "Zeta::IZ2 Zeta::IZ1 Alpha::IA1 ");
    EXPECT_EQ(enumerationList(parsed.result()), "Zeta::EZ1 Zeta::EZ0 Alpha::EA1 Mid::EM1 ");
    EXPECT_EQ(categoryIDList(parsed.result()), "Zeta::CZ1 Alpha::CA2 Alpha::CA1 ");
}

TEST(CrossLibraryTest, FailureStopsRegistrationButKeepsWhatWasRegistered) {
    ParsedSources parsed({library("Alpha", interfaceDecl("IAlpha", uuid(1)) + enumDecl("Color", uuid(2))),
                          library("Beta", interfaceDecl("IBeta", uuid(3)) + interfaceDecl("IClash", uuid(1)) +
                                              interfaceDecl("ILater", uuid(4)) + enumDecl("Shade", uuid(5))),
                          library("Gamma", interfaceDecl("IGamma", uuid(6)))});
    EXPECT_EQ(parsed.error(), "Type with uuid \"" + uuid(1) + "\" is defined in multiple libraries");
    const ParserResult& result = parsed.result();
    EXPECT_EQ(interfaceList(result), "Alpha::IAlpha Beta::IBeta ");
    EXPECT_EQ(enumerationList(result), "Alpha::Color ");
    EXPECT_EQ(result.interfacesByName.count("Beta::IClash"), 0u);
    EXPECT_EQ(result.interfacesByName.count("Gamma::IGamma"), 0u);
    EXPECT_EQ(result.enumerationsByName.count("Beta::Shade"), 0u);
    EXPECT_EQ(result.interfacesByUuid.at(uuidValue(1)), result.interfaces.at(0));
}

TEST(CrossLibraryTest, FailureLeavesEveryTypeUnresolved) {
    const std::string methods = "    LumoInteger Count([in] IOwn other, [in] LumoString label);\n";
    ParsedSources parsed({library("Alpha", interfaceDecl("IOwn", uuid(1), methods)),
                          library("Beta", interfaceDecl("IOther", uuid(1), methods))});
    // The message is the registration's, naming no method.
    EXPECT_EQ(parsed.error(), "Type with uuid \"" + uuid(1) + "\" is defined in multiple libraries");
    ASSERT_EQ(parsed.result().interfaces.size(), 1u);
    const auto* own = static_cast<const ParserInterface*>(parsed.result().interfaces[0]);
    const auto* method = own->methods.at(0);
    EXPECT_EQ(method->returnType->kind, 0u);
    EXPECT_EQ(method->arguments.at(0)->type->kind, 0u);
    EXPECT_EQ(method->arguments.at(0)->type->name, "IOwn");
    EXPECT_TRUE(method->arguments.at(0)->type->uuid.isNullUuid());
    EXPECT_EQ(method->arguments.at(1)->type->kind, 0u);
}

}  // namespace
