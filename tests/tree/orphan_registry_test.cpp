// Orphan registries: every kind registers when made; purgeAll destroys what is registered once, adopted nodes never.
#include "tree/orphan_registry.h"

#include <gtest/gtest.h>

#include <string>

#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// An interface that counts its destructions in `destroyed`.
struct CountedInterface : ParserInterface {
    CountedInterface(const char* name, int& destroyed) : ParserInterface(NodeString(name)), destroyed(destroyed) {}
    ~CountedInterface() override { ++destroyed; }
    int& destroyed;
};

TEST(OrphanRegistryTest, PurgeDestroysTheRegisteredNodesOnceAndLeavesAdoptedOnesAlone) {
    // Whichever of three registered nodes leaves, by adoption (twice) or destruction, the purge reaches the others.
    purgeAll();
    for (int way = 0; way < 6; ++way) {
        const size_t which = static_cast<size_t>(way % 3);
        const bool adopted = way < 3;
        SCOPED_TRACE(std::to_string(which) + (adopted ? " adopted" : " destroyed"));
        int destroyed[3] = {0, 0, 0};
        ParserInterface* made[3];
        for (size_t i = 0; i < 3; ++i) made[i] = new CountedInterface("I", destroyed[i]);
        EXPECT_TRUE(made[which]->Orphan<ParserInterface>::registered());
        if (adopted) {
            EXPECT_EQ(adoptOrphan(adoptOrphan(made[which])), made[which]);
            EXPECT_FALSE(made[which]->Orphan<ParserInterface>::registered());
        } else {
            delete made[which];
        }
        purgeAll();
        for (size_t i = 0; i < 3; ++i) EXPECT_EQ(destroyed[i], i == which && adopted ? 0 : 1) << i;
        if (adopted) delete made[which];
    }
}

TEST(OrphanRegistryTest, EveryKindIsRegisteredWhenMade) {
    const NodeString name("N");
    const ParserType type(name, nullptr);
    const ParserEnumItem item(name, 1);
    const ParserAttribute attribute(name, nullptr);
    const ParserArg argument;
    const ParserMethod method;
    auto* category = new ParserCatID;
    auto* enumeration = new ParserEnumeration;
    EXPECT_TRUE(type.registered() && item.registered() && attribute.registered());
    EXPECT_TRUE(argument.Orphan<ParserArg>::registered() && method.Orphan<ParserMethod>::registered() &&
                category->Orphan<ParserCatID>::registered() && enumeration->Orphan<ParserEnumeration>::registered());
    const ParserLibraryItem items[] = {ParserLibraryItem(category), ParserLibraryItem(enumeration),
                                       ParserLibraryItem(new ParserInterface(name))};
    for (const ParserLibraryItem& held : items) EXPECT_TRUE(held.registered());
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
