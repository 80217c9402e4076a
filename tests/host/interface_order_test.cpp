// sortInterfaces of the result and of a library, as a host calls it on parsed sources.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/references.h"
#include "support/host_model.h"
#include "support/interface_chain.h"

namespace {

using lumoidl::host::LibraryRef;
using lumoidl::test::chainInterfaceName;
using lumoidl::test::HostParse;
using lumoidl::test::interfaceChainSource;
using lumoidl::test::interfaceNames;
using lumoidl::test::libraryAt;

using Names = std::vector<std::string>;

std::string uuid(int serial) {
    char text[40];
    std::snprintf(text, sizeof text, "7B3E0000-5A1C-4D2E-8F90-%012X", static_cast<unsigned>(serial));
    return text;
}

/// An interface declaration (`name` may carry template parameters) with uuid number `serial`.
std::string interfaceDecl(int serial, const std::string& name, const std::string& methods = "") {
    return "  [uuid(" + uuid(serial) + ")] interface " + name + " { " + methods + " };\n";
}

/// A library named `name` with uuid number `serial` holding `items`.
std::string libraryDecl(int serial, const std::string& name, const std::string& items) {
    return "[uuid(" + uuid(serial) + ")]\nlibrary " + name + " {\n" + items + "};\n";
}

TEST(InterfaceOrderTest, OrdersOfResultAndLibraries) {
    struct Case {
        const char* label;
        std::vector<std::string> sources;
        bool resultSorted;
        Names resultOrder;
        std::vector<bool> librarySorted;
        std::vector<Names> libraryOrders;
    };
    const Case cases[] = {
        {"no interfaces",
         {libraryDecl(1, "L", "  [uuid(" + uuid(2) + ")] category Nothing;\n")},
         true, {}, {true}, {{}}},
        {"one interface",
         {libraryDecl(1, "L", interfaceDecl(2, "IOnly", "LUMORESULT run();"))},
         true, {"IOnly"}, {true}, {{"IOnly"}}},
        {"X uses Y in an argument, Y returns Z",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "X", "LUMORESULT take([in] Y y);") + interfaceDecl(3, "Y", "Z make();") +
                          interfaceDecl(4, "Z"))},
         true, {"Z", "Y", "X"}, {true}, {{"Z", "Y", "X"}}},
        {"already in order",
         {libraryDecl(1, "L", interfaceDecl(2, "Z") + interfaceDecl(3, "Y", "Z make();"))},
         true, {"Z", "Y"}, {true}, {{"Z", "Y"}}},
        {"cycle beside an independent interface",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "X", "LUMORESULT take([in] Y y);") + interfaceDecl(3, "Y", "X back();") +
                          interfaceDecl(4, "Z"))},
         false, {"X", "Y", "Z"}, {false}, {{"X", "Y", "Z"}}},
        {"reference to itself",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "Y", "LUMORESULT take([in] X x);") + interfaceDecl(3, "X", "X self();"))},
         true, {"X", "Y"}, {true}, {{"X", "Y"}}},
        {"reference through a template argument",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "IHolder<T>", "T get();") + interfaceDecl(3, "X", "IHolder<Y> hold();") +
                          interfaceDecl(4, "Y"))},
         true, {"IHolder", "Y", "X"}, {true}, {{"IHolder", "Y", "X"}}},
        {"reference through a nested template argument",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "IPair<A, B>", "A first();") +
                          interfaceDecl(3, "X", "LUMORESULT take([in] IPair<LumoString, IPair<LumoInteger, Y>> p);") +
                          interfaceDecl(4, "Y"))},
         true, {"IPair", "Y", "X"}, {true}, {{"IPair", "Y", "X"}}},
        {"error interface and built-in types count for nothing",
         {libraryDecl(1, "L",
                      interfaceDecl(2, "X", "ILumoError fail([in] LumoObject o, [in] LumoArrayEnumeration<E> e);") +
                          "  [uuid(" + uuid(3) + ")] enum { One = 1 } E;\n")},
         true, {"X"}, {true}, {{"X"}}},
        {"other library's interfaces count only for the result",
         {libraryDecl(1, "A",
                      interfaceDecl(2, "AX", "LUMORESULT take([in] B::BY y);") + interfaceDecl(3, "AW")),
          libraryDecl(4, "B", interfaceDecl(5, "BY", "A::AW make();"))},
         true, {"AW", "BY", "AX"}, {true, true}, {{"AX", "AW"}, {"BY"}}},
        {"cycle across libraries",
         {libraryDecl(1, "A",
                      interfaceDecl(2, "P", "LUMORESULT take([in] B::Q q, [in] R r);") + interfaceDecl(3, "R")),
          libraryDecl(4, "B", interfaceDecl(5, "Q", "A::P back();"))},
         false, {"P", "R", "Q"}, {true, true}, {{"R", "P"}, {"Q"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        HostParse parse(c.sources);
        ASSERT_EQ(parse.error(), "");
        ILumoIDLParseResult* result = parse.result();
        ASSERT_EQ(ILumoIDLParseResult_getLibraryCount(result), static_cast<int32_t>(c.libraryOrders.size()));
        std::vector<LibraryRef> libraries;
        std::vector<Names> declared;
        for (int32_t k = 0; k < ILumoIDLParseResult_getLibraryCount(result); ++k) {
            libraries.push_back(libraryAt(result, k));
            declared.push_back(interfaceNames(libraries.back().get()));
        }

        EXPECT_EQ(ILumoIDLParseResult_sortInterfaces(result) != 0, c.resultSorted);
        EXPECT_EQ(interfaceNames(result), c.resultOrder);
        EXPECT_EQ(parse.error(), "") << "sorting never writes the error text";
        for (size_t k = 0; k < libraries.size(); ++k) {
            SCOPED_TRACE("library " + std::to_string(k));
            // Each owner keeps its own list: the result's sort leaves the libraries' lists alone.
            EXPECT_EQ(interfaceNames(libraries[k].get()), declared[k]);
            EXPECT_EQ(ILumoIDLLibrary_sortInterfaces(libraries[k].get()) != 0, c.librarySorted[k]);
            EXPECT_EQ(interfaceNames(libraries[k].get()), c.libraryOrders[k]);
        }
    }
}

TEST(InterfaceOrderTest, SortedListStillServesLookups) {
    HostParse parse({libraryDecl(1, "L",
                             interfaceDecl(2, "X", "LUMORESULT take([in] Y y);") + interfaceDecl(3, "Y", "Z make();") +
                                 interfaceDecl(4, "Z"))});
    ASSERT_EQ(parse.error(), "");
    ILumoIDLInterface* x = nullptr;
    lumoidl::host::HostString name = lumoidl::host::HostString::fromUtf8("L::X");
    ASSERT_EQ(ILumoIDLParseResult_getInterfaceByName(parse.result(), name.record(), &x), LUMO_OK);
    ASSERT_EQ(ILumoIDLParseResult_sortInterfaces(parse.result()), 1);
    ILumoIDLInterface* last = nullptr;
    ASSERT_EQ(ILumoIDLParseResult_getInterface(parse.result(), 2, &last), LUMO_OK);
    EXPECT_EQ(last, x);
    ILumoIDLInterface* again = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(parse.result(), name.record(), &again), LUMO_OK);
    EXPECT_EQ(again, x);
    // Sorting a sorted list keeps it.
    EXPECT_EQ(ILumoIDLParseResult_sortInterfaces(parse.result()), 1);
    EXPECT_EQ(interfaceNames(parse.result()), (Names{"Z", "Y", "X"}));
}

TEST(InterfaceOrderTest, HundredThousandInterfacesInReverseDependencyOrderComeOutReversed) {
    const int count = 100000;
    HostParse parse({interfaceChainSource(count)});
    ASSERT_EQ(parse.error(), "");
    ASSERT_EQ(ILumoIDLParseResult_getInterfaceCount(parse.result()), count);
    ASSERT_EQ(ILumoIDLParseResult_sortInterfaces(parse.result()), 1);
    Names expected;
    expected.reserve(count);
    for (int k = count - 1; k >= 0; --k) expected.push_back(chainInterfaceName(k));
    EXPECT_TRUE(interfaceNames(parse.result()) == expected) << "the sorted chain is not the reverse order";
}

}  // namespace
