// Dependency ordering of interface lists: placement rules, cycles, reference scope, cascades.
#include "result/interface_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_declarations.h"

namespace {

using lumoidl::test::FakeDeclarations;
using lumoidl::test::FakeInterface;
using lumoidl::test::FakeType;
using lumoidl::test::namesOf;
using lumoidl::test::registryOf;
using Names = std::vector<std::string>;

/// The fixed uuid of the architecture's error interface, ZEMRA::ILumoError.
constexpr LumoUUID kErrorInterfaceUuid{{0x85, 0x50, 0x63, 0xFA, 0x5C, 0x39, 0x45, 0xDA, 0x9B, 0x3D, 0x0B,
                                        0x3D, 0x4B, 0x72, 0x66, 0x0C}};

/// Sorts `list` with its own elements as the owner's registry.
bool sortOwned(std::vector<FakeInterface*>& list) {
    return ZEMRA::sortInterfaceList(list, registryOf(list));
}

/// The records of `list`, as dependencyOrder takes them.
std::vector<ILumoIDLInterface*> recordsOf(const std::vector<FakeInterface*>& list) {
    return {list.begin(), list.end()};
}

TEST(InterfaceOrder, EmptyListIsInOrder) {
    std::vector<FakeInterface*> list;
    EXPECT_TRUE(sortOwned(list));
    EXPECT_TRUE(list.empty());

    std::vector<size_t> order{7, 8};
    EXPECT_TRUE(ZEMRA::dependencyOrder({}, [](const LumoUUID&) { return true; }, order));
    EXPECT_TRUE(order.empty());
}

TEST(InterfaceOrder, SingleInterfaceIsLeftAsItIs) {
    // X refers to an owned interface that is not in the list: with more elements this could
    // never be placed, but a single element is in order without looking at it.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& absent = d.addInterface("Absent");
    d.addMethod(x, d.objectType(absent));
    std::vector<FakeInterface*> list{&x};
    EXPECT_TRUE(ZEMRA::sortInterfaceList(list, registryOf({&x, &absent})));
    EXPECT_EQ(namesOf(list), Names({"X"}));
}

TEST(InterfaceOrder, ArgumentAndReturnTypeReferencesPlaceDependenciesFirst) {
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& z = d.addInterface("Z");
    d.addMethod(x, d.plainType(), {&d.plainType(), &d.objectType(y)});  // X uses Y in an argument
    d.addMethod(y, d.objectType(z));                                     // Y returns Z
    d.addMethod(z, d.plainType(), {&d.plainType()});

    std::vector<FakeInterface*> list{&x, &y, &z};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"Z", "Y", "X"}));
}

TEST(InterfaceOrder, DependencyOrderReportsIndexesIntoTheInput) {
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& z = d.addInterface("Z");
    d.addMethod(x, d.plainType(), {&d.objectType(y)});
    d.addMethod(y, d.objectType(z));

    const auto registry = registryOf({&x, &y, &z});
    std::vector<size_t> order{42};
    EXPECT_TRUE(ZEMRA::dependencyOrder(recordsOf({&x, &y, &z}),
                                       [&](const LumoUUID& uuid) { return registry.count(uuid) != 0; },
                                       order));
    EXPECT_EQ(order, (std::vector<size_t>{2, 1, 0}));
}

TEST(InterfaceOrder, ListAlreadyInOrderIsKept) {
    // Independent interfaces keep their relative order; dependants already after their
    // dependencies stay where they are.
    FakeDeclarations d;
    FakeInterface& a = d.addInterface("A");
    FakeInterface& b = d.addInterface("B");
    FakeInterface& c = d.addInterface("C");
    FakeInterface& e = d.addInterface("E");
    d.addMethod(b, d.objectType(a));
    d.addMethod(e, d.plainType(), {&d.objectType(a), &d.objectType(b)});

    std::vector<FakeInterface*> list{&a, &b, &c, &e};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"A", "B", "C", "E"}));
}

TEST(InterfaceOrder, MutualReferenceIsACycleAndKeepsTheList) {
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    d.addMethod(x, d.objectType(y));
    d.addMethod(y, d.plainType(), {&d.objectType(x)});

    std::vector<FakeInterface*> list{&x, &y};
    EXPECT_FALSE(sortOwned(list));
    EXPECT_EQ(list, (std::vector<FakeInterface*>{&x, &y}));

    std::vector<size_t> order;
    EXPECT_FALSE(ZEMRA::dependencyOrder(recordsOf(list), [](const LumoUUID&) { return true; }, order));
}

TEST(InterfaceOrder, LongerCycleAmongOtherInterfacesKeepsTheList) {
    // X -> Y -> Z -> X, with independent and dependent interfaces around the cycle.
    FakeDeclarations d;
    FakeInterface& a = d.addInterface("A");
    FakeInterface& x = d.addInterface("X");
    FakeInterface& b = d.addInterface("B");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& z = d.addInterface("Z");
    FakeInterface& c = d.addInterface("C");
    FakeInterface& e = d.addInterface("E");
    d.addMethod(x, d.objectType(y));
    d.addMethod(b, d.plainType(), {&d.objectType(a)});
    d.addMethod(y, d.plainType(), {&d.plainType(), &d.objectType(z)});
    d.addMethod(z, d.objectType(x));
    d.addMethod(c, d.objectType(x));
    d.addMethod(e, d.objectType(b));

    const std::vector<FakeInterface*> declared{&e, &x, &b, &y, &a, &z, &c};
    std::vector<FakeInterface*> list = declared;
    EXPECT_FALSE(sortOwned(list));
    EXPECT_EQ(list, declared);
}

TEST(InterfaceOrder, SelfReferenceDoesNotHoldAnInterfaceBack) {
    FakeDeclarations d;
    FakeInterface& s = d.addInterface("S");
    FakeInterface& t = d.addInterface("T");
    d.addMethod(s, d.objectType(s), {&d.objectType(s)});
    d.addMethod(t, d.plainType(), {&d.type(LUMO_KIND_OBJECT, {}, {&d.objectType(t)})});

    std::vector<FakeInterface*> list{&s, &t};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"S", "T"}));

    // A self reference next to a real dependency: only the dependency counts.
    FakeInterface& u = d.addInterface("U");
    FakeInterface& v = d.addInterface("V");
    d.addMethod(u, d.objectType(u), {&d.objectType(v)});
    d.addMethod(v, d.objectType(v));
    std::vector<FakeInterface*> second{&u, &v};
    EXPECT_TRUE(sortOwned(second));
    EXPECT_EQ(namesOf(second), Names({"V", "U"}));
}

TEST(InterfaceOrder, TemplateArgumentOfObjectTypeCounts) {
    // X returns a generic object type (no uuid of its own) with Y as template argument.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    d.addMethod(x, d.type(LUMO_KIND_OBJECT, {}, {&d.objectType(y)}));

    std::vector<FakeInterface*> list{&x, &y};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"Y", "X"}));
}

TEST(InterfaceOrder, NestedTemplateArgumentsOfObjectTypesCount) {
    // X takes Box<Pair<Plain, Y>> where Box and Pair are themselves interfaces of the owner.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& box = d.addInterface("Box");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& pair = d.addInterface("Pair");
    FakeType& inner = d.objectType(pair, {&d.plainType(), &d.objectType(y)});
    d.addMethod(x, d.plainType(), {&d.plainType(), &d.objectType(box, {&inner})});

    std::vector<FakeInterface*> list{&x, &box, &y, &pair};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"Box", "Y", "Pair", "X"}));
}

TEST(InterfaceOrder, TemplateArgumentsOfOtherKindsAreNotExamined) {
    // An array type whose template argument names Y: not an object type, so no reference.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    FakeType& array = d.type(LUMO_KIND_ARRAY_ENUMERATION, {}, {&d.objectType(y)});
    d.addMethod(x, array, {&array});

    std::vector<FakeInterface*> list{&x, &y};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"X", "Y"}));
    EXPECT_EQ(array.templateArgumentCalls, 0);
}

TEST(InterfaceOrder, OnlyObjectTypesRefer) {
    // Types of other kinds carrying an owned uuid (an enumeration, a template parameter) do
    // not make a reference.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& z = d.addInterface("Z");
    d.addMethod(x, d.type(LUMO_KIND_ENUMERATION, y.uuid), {&d.type(LUMO_KIND_TEMPLATE_PARAMETER, z.uuid)});
    d.addMethod(x, d.type(LUMO_KIND_STRING, z.uuid));

    std::vector<FakeInterface*> list{&x, &y, &z};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"X", "Y", "Z"}));
}

TEST(InterfaceOrder, ErrorInterfaceAndGenericObjectAreIgnored) {
    // Object types that no registry holds: if they counted, X could never be placed.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    d.addMethod(x, d.type(LUMO_KIND_OBJECT, kErrorInterfaceUuid), {&d.type(LUMO_KIND_OBJECT)});
    d.addMethod(y, d.plainType(), {&d.type(LUMO_KIND_OBJECT, kErrorInterfaceUuid)});

    std::vector<FakeInterface*> list{&x, &y};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"X", "Y"}));
}

TEST(InterfaceOrder, LibraryScopeIgnoresOtherLibrariesWhileResultScopeSeesThem) {
    // Library One declares X and Y, library Two declares E; X uses E and E uses Y.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("One::X");
    FakeInterface& y = d.addInterface("One::Y");
    FakeInterface& e = d.addInterface("Two::E");
    d.addMethod(x, d.plainType(), {&d.objectType(e)});
    d.addMethod(e, d.objectType(y));

    std::vector<FakeInterface*> library{&x, &y};
    EXPECT_TRUE(ZEMRA::sortInterfaceList(library, registryOf(library)));
    EXPECT_EQ(namesOf(library), Names({"One::X", "One::Y"}));

    std::vector<FakeInterface*> result{&x, &y, &e};
    EXPECT_TRUE(ZEMRA::sortInterfaceList(result, registryOf(result)));
    EXPECT_EQ(namesOf(result), Names({"One::Y", "Two::E", "One::X"}));
}

TEST(InterfaceOrder, ReleasedInterfacesFollowThePendingList) {
    // Declared P, C, B, U, Q, A, T, S with
    //   P uses B and C, C uses A, B uses A, U uses P, Q uses C and B, T uses A and S.
    // Placing A releases C and B in pending-list order; whichever of them is taken second
    // releases P and then Q; P releases U. T still waits for S, which releases it later.
    FakeDeclarations d;
    FakeInterface& p = d.addInterface("P");
    FakeInterface& c = d.addInterface("C");
    FakeInterface& b = d.addInterface("B");
    FakeInterface& u = d.addInterface("U");
    FakeInterface& q = d.addInterface("Q");
    FakeInterface& a = d.addInterface("A");
    FakeInterface& t = d.addInterface("T");
    FakeInterface& s = d.addInterface("S");
    d.addMethod(p, d.objectType(c), {&d.objectType(b)});
    d.addMethod(c, d.plainType(), {&d.objectType(a)});
    d.addMethod(b, d.objectType(a));
    d.addMethod(u, d.plainType(), {&d.objectType(p)});
    d.addMethod(q, d.plainType(), {&d.objectType(c)});
    d.addMethod(q, d.objectType(b));
    d.addMethod(a, d.plainType());
    d.addMethod(t, d.objectType(a), {&d.objectType(s)});

    std::vector<FakeInterface*> list{&p, &c, &b, &u, &q, &a, &t, &s};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"A", "C", "B", "P", "Q", "U", "S", "T"}));
}

TEST(InterfaceOrder, DependantWaitsForItsLastMissingInterface) {
    // W uses L1, L2 and L3, declared first; it is appended right after the last of them.
    FakeDeclarations d;
    FakeInterface& w = d.addInterface("W");
    FakeInterface& l1 = d.addInterface("L1");
    FakeInterface& m = d.addInterface("M");
    FakeInterface& l2 = d.addInterface("L2");
    FakeInterface& l3 = d.addInterface("L3");
    FakeInterface& n = d.addInterface("N");
    d.addMethod(w, d.objectType(l2), {&d.objectType(l1)});
    d.addMethod(w, d.plainType(), {&d.plainType(), &d.objectType(l3)});

    std::vector<FakeInterface*> list{&w, &l1, &m, &l2, &l3, &n};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"L1", "M", "L2", "L3", "W", "N"}));
}

TEST(InterfaceOrder, RepeatedReferenceCountsOnce) {
    // X names Y three times (return type, argument, a second method) and Z once: placing Y
    // once must settle all three, and X then waits only for Z.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    FakeInterface& z = d.addInterface("Z");
    FakeInterface& v = d.addInterface("V");
    d.addMethod(x, d.objectType(y), {&d.objectType(y), &d.objectType(z)});
    d.addMethod(x, d.type(LUMO_KIND_OBJECT, {}, {&d.objectType(y)}));
    d.addMethod(v, d.objectType(y), {&d.objectType(y)});

    std::vector<FakeInterface*> list{&x, &v, &y, &z};
    EXPECT_TRUE(sortOwned(list));
    EXPECT_EQ(namesOf(list), Names({"Y", "V", "Z", "X"}));
}

TEST(InterfaceOrder, ReferencesOutsideTheOwnerNeverCount) {
    // With a predicate that owns nothing even a mutual reference is no cycle.
    FakeDeclarations d;
    FakeInterface& x = d.addInterface("X");
    FakeInterface& y = d.addInterface("Y");
    d.addMethod(x, d.objectType(y));
    d.addMethod(y, d.objectType(x));

    std::vector<size_t> order;
    EXPECT_TRUE(ZEMRA::dependencyOrder(recordsOf({&x, &y}), [](const LumoUUID&) { return false; }, order));
    EXPECT_EQ(order, (std::vector<size_t>{0, 1}));
}

TEST(InterfaceOrder, LongChainDeclaredBackwardsIsReversed) {
    // I_k uses I_(k+1); declared I_0 .. I_(n-1), every interface but the last waits, and
    // placing the last releases the whole chain.
    constexpr size_t kCount = 100000;
    FakeDeclarations d;
    std::vector<FakeInterface*> list;
    list.reserve(kCount);
    for (size_t k = 0; k < kCount; ++k) list.push_back(&d.addInterface("I" + std::to_string(k)));
    for (size_t k = 0; k + 1 < kCount; ++k) d.addMethod(*list[k], d.plainType(), {&d.objectType(*list[k + 1])});
    const std::vector<FakeInterface*> declared = list;

    ASSERT_TRUE(sortOwned(list));
    ASSERT_EQ(list.size(), kCount);
    size_t misplaced = 0;
    for (size_t j = 0; j < kCount; ++j)
        if (list[j] != declared[kCount - 1 - j]) ++misplaced;
    EXPECT_EQ(misplaced, 0u);
}

}  // namespace
