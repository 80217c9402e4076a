// Tests of the orphan registries: purgeAll destroys each abandoned object once and adopted ones never.
#include "tree/orphan_registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tree/attributes.h"
#include "tree/nodes.h"
#include "tree/parser_library.h"
#include "tree/token_text.h"

namespace {

using namespace ZEMRA::IDL::PARSER;

/// A node class that counts its destructions in `destroyed`.
template <class Node>
class Counted : public Node {
public:
    template <class... Args>
    explicit Counted(int& destroyed, Args&... args) : Node(args...), destroyed_(destroyed) {}
    ~Counted() override { ++destroyed_; }

private:
    int& destroyed_;
};

/// A new, registered Node that counts its destructions in `destroyed`; typed as the node class,
/// so that it is registered and adopted as one.
template <class Node, class... Args>
Node* counted(int& destroyed, Args&... args) {
    return new Counted<Node>(destroyed, args...);
}

/// A named interface that counts its destructions.
ParserInterface* countedInterface(int& destroyed, const char* name) {
    std::string text = name;
    return counted<ParserInterface>(destroyed, text);
}

/// Appends one adopted attribute to `list`.
void addAttribute(ParserAttribList& list, const char* name, const char* value) {
    std::string nameText = name;
    std::string valueText = value ? value : "";
    list.attributes.push_back(adoptOrphan(new ParserAttribute(nameText, value ? &valueText : nullptr)));
}

/// A type named `name`, not adopted.
ParserType* type(const char* name) {
    std::string text = name;
    return new ParserType(text, nullptr);
}

/// Every test starts and ends with empty registries; `live_` is the live count at the start.
class OrphanRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        purgeAll();
        live_ = liveParseObjects();
    }
    void TearDown() override { purgeAll(); }

    long alive() const { return liveParseObjects() - live_; }

    long live_ = 0;
};

TEST_F(OrphanRegistryTest, PurgeAllEmptiesEveryKindOfRegistry) {
    struct Kind {
        const char* name;
        std::function<void()> create;
        std::function<size_t()> registered;
    };
    const Kind kinds[] = {
        {"token text", [] { new TokenText("IFoo"); }, [] { return orphanRegistry<TokenText>.size(); }},
        {"attribute",
         [] {
             std::string name = "in";
             new ParserAttribute(name, nullptr);
         },
         [] { return orphanRegistry<ParserAttribute>.size(); }},
        {"attribute list",
         [] {
             auto* list = registerOrphan(new ParserAttribList);
             addAttribute(*list, "uuid", "x");
         },
         [] { return orphanRegistry<ParserAttribList>.size(); }},
        {"type", [] { type("LumoString"); }, [] { return orphanRegistry<ParserType>.size(); }},
        {"type-argument list",
         [] { registerOrphan(new TypeList)->items.push_back(adoptOrphan(type("T"))); },
         [] { return orphanRegistry<TypeList>.size(); }},
        {"argument", [] { (new ParserArg)->type = adoptOrphan(type("LumoString")); },
         [] { return orphanRegistry<ParserArg>.size(); }},
        {"argument list", [] { registerOrphan(new ArgList)->items.push_back(adoptOrphan(new ParserArg)); },
         [] { return orphanRegistry<ArgList>.size(); }},
        {"method", [] { new ParserMethod; }, [] { return orphanRegistry<ParserMethod>.size(); }},
        {"method list", [] { registerOrphan(new MethodList)->items.push_back(adoptOrphan(new ParserMethod)); },
         [] { return orphanRegistry<MethodList>.size(); }},
        {"template-parameter list", [] { registerOrphan(new NameList)->names.push_back("T"); },
         [] { return orphanRegistry<NameList>.size(); }},
        {"interface",
         [] {
             std::string name = "IFoo";
             new ParserInterface(name);
         },
         [] { return orphanRegistry<ParserInterface>.size(); }},
        {"enumeration item", [] { new ParserEnumItem("Red", 1); },
         [] { return orphanRegistry<ParserEnumItem>.size(); }},
        {"enumeration item list",
         [] { registerOrphan(new EnumItemList)->items.push_back(adoptOrphan(new ParserEnumItem("Red", 1))); },
         [] { return orphanRegistry<EnumItemList>.size(); }},
        {"category ID", [] { new ParserCatID; }, [] { return orphanRegistry<ParserCatID>.size(); }},
        {"enumeration", [] { new ParserEnumeration; }, [] { return orphanRegistry<ParserEnumeration>.size(); }},
        {"library item", [] { new ParserLibraryItem(adoptOrphan(new ParserCatID)); },
         [] { return orphanRegistry<ParserLibraryItem>.size(); }},
        {"library body", [] { registerOrphan(new LibraryBody); },
         [] { return orphanRegistry<LibraryBody>.size(); }},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        kind.create();
        EXPECT_EQ(kind.registered(), 1u);
        EXPECT_EQ(registeredOrphans(), 1u);
        EXPECT_GT(alive(), 0);
        purgeAll();
        EXPECT_EQ(kind.registered(), 0u);
        EXPECT_EQ(registeredOrphans(), 0u);
        EXPECT_EQ(alive(), 0);
    }
}

TEST_F(OrphanRegistryTest, PurgeAllDestroysARegisteredObjectOnce) {
    int destroyed = 0;
    countedInterface(destroyed, "IFoo");
    purgeAll();
    EXPECT_EQ(destroyed, 1);
    purgeAll();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, AdoptedObjectSurvivesPurgeAll) {
    int destroyed = 0;
    auto* iface = countedInterface(destroyed, "IFoo");
    EXPECT_TRUE(static_cast<Orphan<ParserInterface>*>(iface)->registered());
    EXPECT_EQ(adoptOrphan(iface), iface);
    EXPECT_FALSE(static_cast<Orphan<ParserInterface>*>(iface)->registered());
    EXPECT_EQ(registeredOrphans(), 0u);

    purgeAll();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(iface->name, "IFoo");
    delete iface;
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, TakingOneOutLeavesTheOthersToThePurge) {
    // Whichever of three registered objects leaves, by adoption or by destruction, the purge
    // must still reach the other two.
    struct Case {
        size_t which;
        bool byDestruction;
    };
    const Case cases[] = {{0, false}, {1, false}, {2, false}, {0, true}, {1, true}, {2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.which) + (c.byDestruction ? " destroyed" : " adopted"));
        int destroyed[3] = {0, 0, 0};
        ParserInterface* made[3];
        for (size_t i = 0; i < 3; ++i) made[i] = countedInterface(destroyed[i], "I");
        ASSERT_EQ(orphanRegistry<ParserInterface>.size(), 3u);

        if (c.byDestruction)
            delete made[c.which];
        else
            adoptOrphan(made[c.which]);
        EXPECT_EQ(orphanRegistry<ParserInterface>.size(), 2u);
        EXPECT_EQ(destroyed[c.which], c.byDestruction ? 1 : 0);

        purgeAll();
        for (size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(destroyed[i], i == c.which && !c.byDestruction ? 0 : 1);
        }
        EXPECT_EQ(registeredOrphans(), 0u);
        if (!c.byDestruction) delete made[c.which];
        EXPECT_EQ(alive(), 0);
    }
}

TEST_F(OrphanRegistryTest, AdoptingTwiceOrNullChangesNothing) {
    int destroyed[2] = {0, 0};
    auto* adopted = countedInterface(destroyed[0], "IAdopted");
    countedInterface(destroyed[1], "IOrphan");
    adoptOrphan(adopted);
    adoptOrphan(adopted);
    EXPECT_EQ(adoptOrphan(static_cast<ParserInterface*>(nullptr)), nullptr);
    EXPECT_EQ(orphanRegistry<ParserInterface>.size(), 1u);

    purgeAll();
    EXPECT_EQ(destroyed[0], 0);
    EXPECT_EQ(destroyed[1], 1);
    delete adopted;
}

TEST_F(OrphanRegistryTest, LibraryIsNeverRegisteredNorPurged) {
    auto* library = new ParserLibrary;
    EXPECT_EQ(registeredOrphans(), 0u);
    const long withLibrary = alive();
    purgeAll();
    EXPECT_EQ(alive(), withLibrary);
    delete library;
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, AbandonedLibraryBodyDestroysItsItemsAndTheirNodesOnce) {
    // The grammar adopts a declaration when it wraps it in an item; the items stay registered
    // while the body holds them.
    int destroyed[3] = {0, 0, 0};
    auto* body = registerOrphan(new LibraryBody);
    auto* iface = countedInterface(destroyed[0], "IFoo");
    iface->methods.push_back(adoptOrphan(new ParserMethod));
    iface->methods.back()->returnType = adoptOrphan(type("LUMORESULT"));
    addAttribute(*iface, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
    body->items.push_back(new ParserLibraryItem(adoptOrphan(iface)));
    body->items.push_back(new ParserLibraryItem(adoptOrphan(counted<ParserEnumeration>(destroyed[1]))));
    body->items.push_back(new ParserLibraryItem(adoptOrphan(counted<ParserCatID>(destroyed[2]))));
    ASSERT_EQ(orphanRegistry<ParserLibraryItem>.size(), 3u);
    ASSERT_EQ(registeredOrphans(), 4u);

    purgeAll();
    EXPECT_EQ(destroyed[0], 1);
    EXPECT_EQ(destroyed[1], 1);
    EXPECT_EQ(destroyed[2], 1);
    EXPECT_EQ(registeredOrphans(), 0u);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, AbandonedLibraryItemWithoutBodyIsDestroyedWithItsNode) {
    int destroyed = 0;
    new ParserLibraryItem(adoptOrphan(countedInterface(destroyed, "IFoo")));
    purgeAll();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, AbandonedArgumentListLeavesNothingAlive) {
    // The state a syntax error inside "HRESULT Second([in] LumoString a, [out] ..." leaves
    // behind, after a complete first method of the same interface.
    int methodsDestroyed = 0;
    int argumentsDestroyed = 0;

    new TokenText("IFoo");
    auto* methods = registerOrphan(new MethodList);
    auto* first = adoptOrphan(counted<ParserMethod>(methodsDestroyed));
    first->returnType = adoptOrphan(type("HRESULT"));
    addAttribute(*first, "property_get", nullptr);
    methods->items.push_back(first);

    type("HRESULT");
    new TokenText("Second");
    auto* arguments = registerOrphan(new ArgList);
    auto* argument = adoptOrphan(counted<ParserArg>(argumentsDestroyed));
    argument->type = adoptOrphan(type("LumoString"));
    addAttribute(*argument, "in", nullptr);
    arguments->items.push_back(argument);

    auto* openList = registerOrphan(new ParserAttribList);
    addAttribute(*openList, "out", nullptr);
    std::string pendingName = "retval";
    new ParserAttribute(pendingName, nullptr);
    ASSERT_GT(registeredOrphans(), 0u);

    purgeAll();
    EXPECT_EQ(methodsDestroyed, 1);
    EXPECT_EQ(argumentsDestroyed, 1);
    EXPECT_EQ(registeredOrphans(), 0u);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, AbandonedCategoryIsDestroyedWithItsAttributes) {
    int destroyed = 0;
    auto* category = counted<ParserCatID>(destroyed);
    category->name = "Tools";
    addAttribute(*category, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
    purgeAll();
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(alive(), 0);
}

TEST_F(OrphanRegistryTest, RegistriesWorkAgainAfterAPurge) {
    for (int parse = 0; parse < 2; ++parse) {
        SCOPED_TRACE(parse);
        int destroyed = 0;
        countedInterface(destroyed, "IFoo");
        new TokenText("x");
        EXPECT_EQ(registeredOrphans(), 2u);
        purgeAll();
        EXPECT_EQ(destroyed, 1);
        EXPECT_EQ(registeredOrphans(), 0u);
    }
    EXPECT_EQ(alive(), 0);
}

}  // namespace
