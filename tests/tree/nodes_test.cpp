// Tests of the declaration nodes: construction, library assembly, and destruction of everything below.
#include "tree/nodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "tree/orphan_registry.h"
#include "tree/parser_library.h"

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

/// Appends one adopted attribute to `list`.
void addAttribute(ParserAttribList& list, const char* name, const char* value) {
    std::string nameText = name;
    std::string valueText = value ? value : "";
    list.attributes.push_back(adoptOrphan(new ParserAttribute(nameText, value ? &valueText : nullptr)));
}

/// A type named `name` with the given template arguments (adopted, as the grammar does).
ParserType* type(const char* name, std::vector<ParserType*> arguments = {}) {
    for (ParserType* argument : arguments) adoptOrphan(argument);
    std::string text = name;
    return new ParserType(text, arguments.empty() ? nullptr : &arguments);
}

/// A named interface, not adopted.
ParserInterface* interfaceNamed(const char* name) {
    std::string text = name;
    return new ParserInterface(text);
}

/// Registries are empty before and after every test; `live_` is the live count at the start.
class NodeTest : public ::testing::Test {
protected:
    void SetUp() override {
        purgeAll();
        live_ = liveParseObjects();
    }
    void TearDown() override { purgeAll(); }

    long alive() const { return liveParseObjects() - live_; }

    long live_ = 0;
};

TEST_F(NodeTest, InterfaceTakesItsNameFromTheTokenText) {
    std::string name = "IFoo";
    auto* iface = new ParserInterface(name);
    EXPECT_EQ(iface->name, "IFoo");
    EXPECT_TRUE(name.empty());
    EXPECT_TRUE(iface->methods.empty());
    EXPECT_TRUE(iface->templateParameters.empty());
    EXPECT_TRUE(iface->attributes.empty());
    EXPECT_TRUE(iface->uuid.isNullUuid());
    EXPECT_TRUE(iface->libraryUuid.isNullUuid());
    EXPECT_EQ(iface->libraryName, "");
    EXPECT_EQ(orphanRegistry<ParserInterface>.size(), 1u);
    delete iface;
}

TEST_F(NodeTest, OtherNodesStartEmptyAndRegistered) {
    auto* method = new ParserMethod;
    EXPECT_EQ(method->returnType, nullptr);
    EXPECT_TRUE(method->arguments.empty());
    EXPECT_EQ(method->name, "");
    auto* argument = new ParserArg;
    EXPECT_EQ(argument->type, nullptr);
    EXPECT_EQ(argument->name, "");
    auto* enumeration = new ParserEnumeration;
    EXPECT_TRUE(enumeration->items.empty());
    EXPECT_TRUE(enumeration->itemValues.empty());
    EXPECT_TRUE(enumeration->uuid.isNullUuid());
    auto* category = new ParserCatID;
    EXPECT_EQ(category->name, "");
    EXPECT_TRUE(category->uuid.isNullUuid());
    EXPECT_EQ(registeredOrphans(), 4u);
    purgeAll();
    EXPECT_EQ(alive(), 0);
}

TEST_F(NodeTest, TypeTakesNameAndArgumentsFromTheirContainers) {
    ParserType* first = type("LumoString");
    ParserType* second = type("LumoInteger");
    std::vector<ParserType*> arguments{adoptOrphan(first), adoptOrphan(second)};
    std::string name = "Pair";
    auto* pair = new ParserType(name, &arguments);
    EXPECT_EQ(pair->name, "Pair");
    EXPECT_TRUE(name.empty());
    EXPECT_TRUE(arguments.empty());
    ASSERT_EQ(pair->templateArguments.size(), 2u);
    EXPECT_EQ(pair->templateArguments[0], first);
    EXPECT_EQ(pair->templateArguments[1], second);
    EXPECT_EQ(pair->templateParameterIndex, -1);
    EXPECT_TRUE(pair->uuid.isNullUuid());
    EXPECT_EQ(pair->record.me, pair);
    EXPECT_EQ(orphanRegistry<ParserType>.size(), 1u);

    ParserType* plain = type("LumoBoolean");
    EXPECT_TRUE(plain->templateArguments.empty());
    EXPECT_EQ(plain->templateParameterIndex, -1);

    delete pair;
    delete plain;
    EXPECT_EQ(alive(), 0);
}

TEST_F(NodeTest, EnumItemCopiesItsName) {
    const std::string name = "Red";
    auto* item = new ParserEnumItem(name, -7);
    EXPECT_EQ(item->name, "Red");
    EXPECT_EQ(name, "Red");
    EXPECT_EQ(item->value, -7);
    EXPECT_EQ(orphanRegistry<ParserEnumItem>.size(), 1u);
    delete item;
}

TEST_F(NodeTest, LibraryItemHoldsTheOneDeclarationItWasGiven) {
    auto* category = adoptOrphan(new ParserCatID);
    auto* iface = adoptOrphan(interfaceNamed("IFoo"));
    auto* enumeration = adoptOrphan(new ParserEnumeration);
    const ParserLibraryItem* items[] = {
        new ParserLibraryItem(category),
        new ParserLibraryItem(iface),
        new ParserLibraryItem(enumeration),
    };
    struct Expected {
        ParserCatID* categoryID;
        ParserInterface* iface;
        ParserEnumeration* enumeration;
    };
    const Expected expected[] = {
        {category, nullptr, nullptr},
        {nullptr, iface, nullptr},
        {nullptr, nullptr, enumeration},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i]->categoryID, expected[i].categoryID);
        EXPECT_EQ(items[i]->iface, expected[i].iface);
        EXPECT_EQ(items[i]->enumeration, expected[i].enumeration);
    }
    EXPECT_EQ(orphanRegistry<ParserLibraryItem>.size(), 3u);
    purgeAll();
    EXPECT_EQ(alive(), 0);
}

TEST_F(NodeTest, EveryInterfaceRecordLeadsBackToItsNode) {
    auto* iface = interfaceNamed("IFoo");
    auto* method = new ParserMethod;
    auto* argument = new ParserArg;
    auto* enumeration = new ParserEnumeration;
    auto* category = new ParserCatID;
    auto* library = new ParserLibrary;
    EXPECT_EQ(static_cast<ILumoIDLInterface*>(iface)->me, iface);
    EXPECT_EQ(static_cast<ILumoIDLMethod*>(method)->me, method);
    EXPECT_EQ(static_cast<ILumoIDLMethodArgument*>(argument)->me, argument);
    EXPECT_EQ(static_cast<ILumoIDLEnumeration*>(enumeration)->me, enumeration);
    EXPECT_EQ(static_cast<ILumoIDLCategoryID*>(category)->me, category);
    EXPECT_EQ(static_cast<ILumoIDLLibrary*>(library)->me, library);
    delete library;
}

TEST_F(NodeTest, DestroyingANodeDestroysWhatItOwnsOnce) {
    struct Case {
        const char* node;
        std::function<ParserAttribList*(int& destroyed)> build;
        int owned;  // counted nodes below the root
    };
    const Case cases[] = {
        {"argument",
         [](int&) {
             auto* argument = new ParserArg;
             argument->type = adoptOrphan(type("Pair", {type("LumoString"), type("LumoInteger")}));
             addAttribute(*argument, "in", nullptr);
             return argument;
         },
         0},
        {"method",
         [](int& destroyed) {
             auto* method = new ParserMethod;
             method->returnType = adoptOrphan(type("LUMORESULT"));
             for (int i = 0; i < 2; ++i) {
                 auto* argument = adoptOrphan(counted<ParserArg>(destroyed));
                 argument->type = adoptOrphan(type("LumoString"));
                 addAttribute(*argument, "out", nullptr);
                 method->arguments.push_back(argument);
             }
             addAttribute(*method, "long_name", "Name");
             return method;
         },
         2},
        {"interface",
         [](int& destroyed) {
             auto* iface = interfaceNamed("IFoo");
             iface->templateParameters = {"T", "U"};
             for (int i = 0; i < 3; ++i) {
                 auto* method = adoptOrphan(counted<ParserMethod>(destroyed));
                 method->returnType = adoptOrphan(type("T"));
                 method->arguments.push_back(adoptOrphan(counted<ParserArg>(destroyed)));
                 method->arguments.back()->type = adoptOrphan(type("U"));
                 iface->methods.push_back(method);
             }
             addAttribute(*iface, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
             return iface;
         },
         6},
        {"enumeration",
         [](int&) {
             auto* enumeration = new ParserEnumeration;
             enumeration->items.push_back(adoptOrphan(new ParserEnumItem("Red", 1)));
             enumeration->items.push_back(adoptOrphan(new ParserEnumItem("Green", 2)));
             enumeration->itemValues = {{"Red", 1}, {"Green", 2}};
             addAttribute(*enumeration, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
             return enumeration;
         },
         0},
        {"category ID",
         [](int&) {
             auto* category = new ParserCatID;
             addAttribute(*category, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
             return category;
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.node);
        int destroyed = 0;
        ParserAttribList* root = c.build(destroyed);
        EXPECT_GT(alive(), 0);
        delete root;
        EXPECT_EQ(destroyed, c.owned);
        EXPECT_EQ(registeredOrphans(), 0u);
        EXPECT_EQ(alive(), 0);
    }
}

/// Where the nested argument sits among the arguments of each level.
enum class Shape { Alone, FirstOfTwo, LastOfTwo };

/// A type nested `depth` levels deep; returns it and sets `count` to the number of types in it.
ParserType* nestedType(int depth, Shape shape, long& count) {
    ParserType* inner = type("A");
    count = 1;
    for (int level = 0; level < depth; ++level) {
        switch (shape) {
            case Shape::Alone: inner = type("A", {inner}); break;
            case Shape::FirstOfTwo: inner = type("A", {inner, type("B")}); break;
            case Shape::LastOfTwo: inner = type("A", {type("B"), inner}); break;
        }
        count += shape == Shape::Alone ? 1 : 2;
    }
    return inner;
}

TEST_F(NodeTest, DeeplyNestedTypeIsDestroyedWithoutRunningOutOfStack) {
    struct Case {
        const char* shape;
        Shape how;
        int depth;
    };
    const Case cases[] = {
        {"A<A<A<...>>>", Shape::Alone, 100000},
        {"A<A<...>, B>", Shape::FirstOfTwo, 50000},
        {"A<B, A<...>>", Shape::LastOfTwo, 50000},
        {"A<B, A<B, A>>", Shape::LastOfTwo, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.shape) + " depth " + std::to_string(c.depth));
        long count = 0;
        ParserType* outer = nestedType(c.depth, c.how, count);
        ASSERT_EQ(alive(), count);
        EXPECT_EQ(orphanRegistry<ParserType>.size(), 1u);
        delete outer;
        EXPECT_EQ(alive(), 0);
        EXPECT_EQ(registeredOrphans(), 0u);
    }
}

TEST_F(NodeTest, AbandonedDeepTypeIsPurgedWithoutRunningOutOfStack) {
    long count = 0;
    nestedType(100000, Shape::Alone, count);
    purgeAll();
    EXPECT_EQ(alive(), 0);
}

using LibraryNodeTest = NodeTest;

TEST_F(LibraryNodeTest, StartsEmptyWithoutReferencesAndUnregistered) {
    ParserLibrary library;
    EXPECT_EQ(library.name, "");
    EXPECT_TRUE(library.uuid.isNullUuid());
    EXPECT_TRUE(library.interfaces.empty());
    EXPECT_TRUE(library.enumerations.empty());
    EXPECT_TRUE(library.categoryIDs.empty());
    EXPECT_TRUE(library.interfacesByName.empty());
    EXPECT_TRUE(library.interfacesByUuid.empty());
    EXPECT_TRUE(library.attributes.empty());
    EXPECT_EQ(library.referenceCount(), 0u);
    EXPECT_EQ(registeredOrphans(), 0u);
}

TEST_F(LibraryNodeTest, AdoptContentsKeepsSourceOrderWithinEachList) {
    // Body: interface, enumeration, category, interface, category, enumeration, interface.
    auto* body = registerOrphan(new LibraryBody);
    std::vector<ParserInterface*> interfaces;
    std::vector<ParserEnumeration*> enumerations;
    std::vector<ParserCatID*> categories;
    auto addInterface = [&] {
        interfaces.push_back(adoptOrphan(interfaceNamed("I")));
        body->items.push_back(new ParserLibraryItem(interfaces.back()));
    };
    auto addEnumeration = [&] {
        enumerations.push_back(adoptOrphan(new ParserEnumeration));
        body->items.push_back(new ParserLibraryItem(enumerations.back()));
    };
    auto addCategory = [&] {
        categories.push_back(adoptOrphan(new ParserCatID));
        body->items.push_back(new ParserLibraryItem(categories.back()));
    };
    addInterface();
    addEnumeration();
    addCategory();
    addInterface();
    addCategory();
    addEnumeration();
    addInterface();

    auto* list = registerOrphan(new ParserAttribList);
    addAttribute(*list, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
    addAttribute(*list, "version", "1.0");
    const AttributeList written = list->attributes;

    auto* library = new ParserLibrary;
    library->adoptContents(list, &body->items);
    EXPECT_EQ(library->interfaces, interfaces);
    EXPECT_EQ(library->enumerations, enumerations);
    EXPECT_EQ(library->categoryIDs, categories);
    EXPECT_EQ(library->attributes, written);
    EXPECT_TRUE(list->attributes.empty());
    for (const ParserLibraryItem* item : body->items) {
        EXPECT_EQ(item->iface, nullptr);
        EXPECT_EQ(item->enumeration, nullptr);
        EXPECT_EQ(item->categoryID, nullptr);
    }

    // The grammar action then deletes the emptied containers; the library keeps every node.
    const long withEverything = alive();
    delete body;
    delete list;
    EXPECT_EQ(registeredOrphans(), 0u);
    EXPECT_EQ(library->interfaces.size(), 3u);
    EXPECT_LT(alive(), withEverything);
    delete library;
    EXPECT_EQ(alive(), 0);
}

TEST_F(LibraryNodeTest, AdoptContentsWithoutListOrBodyLeavesTheLibraryEmpty) {
    ParserLibrary library;
    library.adoptContents(nullptr, nullptr);
    EXPECT_TRUE(library.attributes.empty());
    EXPECT_TRUE(library.interfaces.empty());
    EXPECT_TRUE(library.enumerations.empty());
    EXPECT_TRUE(library.categoryIDs.empty());

    std::vector<ParserLibraryItem*> emptyBody;
    library.adoptContents(nullptr, &emptyBody);
    EXPECT_TRUE(library.interfaces.empty());
}

TEST_F(LibraryNodeTest, LastReleaseDestroysEveryNodeOnce) {
    int interfacesDestroyed = 0, methodsDestroyed = 0, argumentsDestroyed = 0, enumerationsDestroyed = 0,
        categoriesDestroyed = 0;
    auto* body = registerOrphan(new LibraryBody);

    std::string name = "ITemplate";
    auto* generic = adoptOrphan(counted<ParserInterface>(interfacesDestroyed, name));
    generic->templateParameters = {"T"};
    auto* method = adoptOrphan(counted<ParserMethod>(methodsDestroyed));
    method->returnType = adoptOrphan(type("LumoArray", {type("T")}));
    for (const char* argumentType : {"LumoString", "T"}) {
        auto* argument = adoptOrphan(counted<ParserArg>(argumentsDestroyed));
        argument->type = adoptOrphan(type(argumentType));
        addAttribute(*argument, "in", nullptr);
        method->arguments.push_back(argument);
    }
    generic->methods.push_back(method);
    addAttribute(*generic, "uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2");
    body->items.push_back(new ParserLibraryItem(generic));

    auto* colours = adoptOrphan(counted<ParserEnumeration>(enumerationsDestroyed));
    colours->items.push_back(adoptOrphan(new ParserEnumItem("Red", 0)));
    body->items.push_back(new ParserLibraryItem(colours));

    body->items.push_back(new ParserLibraryItem(adoptOrphan(counted<ParserCatID>(categoriesDestroyed))));
    name = "IEmpty";
    body->items.push_back(new ParserLibraryItem(adoptOrphan(counted<ParserInterface>(interfacesDestroyed, name))));

    auto* library = new ParserLibrary;
    library->name = "Lib";
    library->adoptContents(nullptr, &body->items);
    delete body;
    ASSERT_EQ(registeredOrphans(), 0u);

    ILumoIDLLibrary* record = library;
    ILumoIDLLibrary_addReference(record);
    ILumoIDLLibrary_addReference(record);
    ILumoIDLLibrary_release(record);
    EXPECT_EQ(interfacesDestroyed, 0);
    ILumoIDLLibrary_release(record);

    EXPECT_EQ(interfacesDestroyed, 2);
    EXPECT_EQ(methodsDestroyed, 1);
    EXPECT_EQ(argumentsDestroyed, 2);
    EXPECT_EQ(enumerationsDestroyed, 1);
    EXPECT_EQ(categoriesDestroyed, 1);
    EXPECT_EQ(alive(), 0);
}

}  // namespace
