// Tests of the cross-library pass: which clashes between files fail, and what is registered in which order.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "idl_sources.h"
#include "tree/nodes.h"

namespace {

using namespace lumoidl::test;

std::string nameTaken(const std::string& name) { return "Type \"" + name + "\" is defined in multiple libraries"; }

std::string uuidTaken(unsigned n) { return "Type with uuid \"" + uuidNo(n) + "\" is defined in multiple libraries"; }

TEST(CrossLibraryTest, ClashesBetweenFiles) {
    const std::pair<std::vector<std::pair<std::string, std::string>>, std::string> cases[] = {
        // Same names in other libraries, other names in a same-named library.
        {{{"A", iface("I", 1) + enumeration("E", 2) + category("C", 3)},
          {"B", iface("I", 4) + enumeration("E", 5) + category("C", 6)}, {"B", iface("J", 7)}}, ""},
        // A category ID's uuid is compared with no category ID's, an interface's with no enumeration's.
        {{{"A", category("C", 1)}, {"B", category("C", 1)}, {"C", category("D", 1)}, {"D", enumeration("E", 1)},
          {"D", iface("E", 1)}}, ""},
        // The name is compared first. Resolution does not run after a clash: M's return type would fail it.
        {{{"A", iface("I", 1, "X M();")}, {"A", iface("I", 1)}}, nameTaken("A::I")},
        // The uuid is shown in upper case without braces.
        {{{"A", iface("I", 1)}, {"B", iface("J", 2) + "[uuid({5f0c2e61-7a3b-4c8d-9e1f-000000000001})] interface K{};"}},
         uuidTaken(1)},
        {{{"A", iface("I", 1)}, {"A", enumeration("I", 2)}}, nameTaken("A::I")},
        {{{"A", enumeration("E", 1)}, {"A", enumeration("E", 2)}}, nameTaken("A::E")},
        {{{"A", iface("I", 5)}, {"B", enumeration("E", 5)}}, uuidTaken(5)},
        {{{"A", enumeration("E", 5)}, {"B", enumeration("F", 5)}}, uuidTaken(5)},
        {{{"A", iface("C", 1)}, {"A", category("C", 2)}}, nameTaken("A::C")},
        {{{"A", enumeration("C", 1)}, {"A", category("C", 2)}}, nameTaken("A::C")},
        {{{"A", category("C", 1)}, {"A", category("C", 2)}}, nameTaken("A::C")},
        {{{"A", iface("I", 9)}, {"B", category("C", 9)}}, uuidTaken(9)},
        {{{"A", enumeration("E", 9)}, {"B", category("C", 9)}}, uuidTaken(9)},
    };
    for (const auto& [libraries, message] : cases) {
        SCOPED_TRACE(libraries.back().second);
        std::vector<std::string> sources;
        for (const auto& [name, body] : libraries) sources.push_back(library(name, body));
        // Registration must not go on to two more files that clash.
        if (!message.empty()) sources.insert(sources.end(), {library("Y", iface("Z", 7)), library("Z", iface("Z", 7))});
        EXPECT_EQ(ParsedSources(sources).error(), message);
    }
}

TEST(CrossLibraryTest, AClashLeavesTheIndexesAsTheDeclarationsBeforeItLeftThem) {
    ParsedSources parsed({library("A", iface("I", 1)), library("B", iface("J", 1))});
    ASSERT_EQ(parsed.error(), uuidTaken(1));
    const auto& result = parsed.result();
    EXPECT_EQ(result.interfaces.size(), 1u);
    EXPECT_EQ(result.interfacesByName.count("A::I"), 1u);
    EXPECT_EQ(result.interfacesByName.count("B::J"), 0u);
}

/// "Library::Name " of each declaration of `list`, in list order.
template <class Node, class List>
std::string names(const List& list) {
    std::string text;
    for (const auto* record : list)
        text += static_cast<const Node*>(record)->libraryName + "::" + static_cast<const Node*>(record)->name + " ";
    return text;
}

TEST(CrossLibraryTest, ListsFollowFileThenKindThenDeclarationOrder) {
    ParsedSources parsed({library("Z", enumeration("E1", 1) + category("C", 2) + iface("I2", 3) + enumeration("E0", 4) +
                                           iface("I1", 5)),
                          library("A", category("C", 2) + iface("I", 6))});
    ASSERT_EQ(parsed.error(), "");
    const auto& result = parsed.result();
    using namespace ZEMRA::IDL::PARSER;
    EXPECT_EQ(names<ParserInterface>(result.interfaces), "Z::I2 Z::I1 A::I ");
    EXPECT_EQ(names<ParserEnumeration>(result.enumerations), "Z::E1 Z::E0 ");
    EXPECT_EQ(names<ParserCatID>(result.categoryIDs), "Z::C A::C ");
    // Both category IDs stay registered by name; the later one takes their uuid.
    EXPECT_EQ(result.categoryIDsByName.size(), 2u);
    EXPECT_EQ(result.categoryIDsByUuid.size(), 1u);
    EXPECT_EQ(result.categoryIDsByUuid.find(static_cast<ParserCatID*>(result.categoryIDs[0])->uuid.value),
              result.categoryIDs[1]);
}

}  // namespace
