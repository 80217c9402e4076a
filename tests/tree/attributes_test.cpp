// Tests of attribute lists: validation per declaration kind, look-ups, and the host's attribute operations.
#include "tree/attributes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "support/fake_host.h"
#include "tree/nodes.h"
#include "tree/parser_library.h"

namespace {

using namespace ZEMRA::IDL::PARSER;
using lumoidl::test::RecordingString;
using lumoidl::test::text;
using ZEMRA::lumora_error;

/// One attribute as written: a name, and a value unless `value` is null.
struct Written {
    const char* name;
    const char* value;
};

/// Appends the attributes to `list` as the grammar does: each made, then adopted by the list.
void write(ParserAttribList& list, const std::vector<Written>& attributes) {
    for (const Written& w : attributes) {
        std::string name = w.name;
        std::string value = w.value ? w.value : "";
        list.attributes.push_back(adoptOrphan(new ParserAttribute(name, w.value ? &value : nullptr)));
    }
}

enum class Kind { StandAlone, Library, Interface, Enumeration, CategoryID, Method, Argument };

const char* kindName(Kind kind) {
    switch (kind) {
        case Kind::StandAlone: return "stand-alone list";
        case Kind::Library: return "library";
        case Kind::Interface: return "interface";
        case Kind::Enumeration: return "enumeration";
        case Kind::CategoryID: return "category ID";
        case Kind::Method: return "method";
        case Kind::Argument: return "argument";
    }
    return "?";
}

std::unique_ptr<ParserAttribList> make(Kind kind) {
    switch (kind) {
        case Kind::StandAlone: return std::unique_ptr<ParserAttribList>(registerOrphan(new ParserAttribList));
        case Kind::Library: return std::make_unique<ParserLibrary>();
        case Kind::Interface: {
            std::string name = "IThing";
            return std::make_unique<ParserInterface>(name);
        }
        case Kind::Enumeration: return std::make_unique<ParserEnumeration>();
        case Kind::CategoryID: return std::make_unique<ParserCatID>();
        case Kind::Method: return std::make_unique<ParserMethod>();
        case Kind::Argument: return std::make_unique<ParserArg>();
    }
    return nullptr;
}

constexpr Kind kNodeKinds[] = {Kind::Library, Kind::Interface, Kind::Enumeration,
                               Kind::CategoryID, Kind::Method, Kind::Argument};

/// Registries are empty before and after every test.
class AttributeTest : public ::testing::Test {
protected:
    void SetUp() override { purgeAll(); }
    void TearDown() override { purgeAll(); }
};

using AttributeValidationTest = AttributeTest;

TEST_F(AttributeValidationTest, ReportsTheFirstOffendingName) {
    struct Case {
        Kind kind;
        std::vector<Written> attributes;
        bool accepted;
        const char* offending;
    };
    const char* const id = "4A5E2E81-C093-11D4-9F1B-0010A4D198C2";
    const Case cases[] = {
        // Value present where required, absent where forbidden.
        {Kind::Interface, {{"uuid", nullptr}}, false, "uuid"},
        {Kind::Argument, {{"in", "x"}}, false, "in"},
        {Kind::Argument, {{"out", ""}}, false, "out"},
        {Kind::Argument, {{"retval", "1"}}, false, "retval"},
        {Kind::Method, {{"property_get", "x"}}, false, "property_get"},
        {Kind::Method, {{"property_set", "x"}}, false, "property_set"},
        {Kind::Method, {{"long_name", nullptr}}, false, "long_name"},
        {Kind::Library, {{"uuid", id}, {"version", nullptr}}, false, "version"},
        {Kind::Library, {{"uuid", id}, {"idlversion", nullptr}}, false, "idlversion"},
        {Kind::Interface, {{"uuid", nullptr}, {"version", nullptr}}, false, "uuid"},
        {Kind::Argument, {{"in", "1"}, {"out", "2"}}, false, "in"},
        // A repeated name, whatever the values.
        {Kind::Interface, {{"uuid", id}, {"uuid", id}}, false, "uuid"},
        {Kind::Interface, {{"uuid", id}, {"uuid", "other"}}, false, "uuid"},
        {Kind::Library, {{"uuid", id}, {"version", "1"}, {"uuid", id}}, false, "uuid"},
        {Kind::Argument, {{"in", nullptr}, {"in", nullptr}}, false, "in"},
        {Kind::Method, {{"long_name", "a"}, {"long_name", "b"}}, false, "long_name"},
        // Names compare byte for byte: a capitalised uuid is some other name.
        {Kind::Interface, {{"Uuid", id}}, false, "Uuid"},
        {Kind::Interface, {{"UUID", nullptr}}, false, "UUID"},
        {Kind::Argument, {{"In", nullptr}}, false, "In"},
        // Errors of the first check anywhere win over an unaccepted name earlier in the list.
        {Kind::Interface, {{"helpstring", "x"}, {"uuid", nullptr}}, false, "uuid"},
        {Kind::Interface, {{"helpstring", "x"}, {"uuid", id}}, false, "helpstring"},
        {Kind::Interface, {{"helpstring", nullptr}, {"uuid", id}}, false, "helpstring"},
        {Kind::Argument, {{"uuid", id}, {"in", "x"}}, false, "in"},
        {Kind::Method, {{"in", nullptr}, {"property_get", nullptr}, {"property_get", nullptr}}, false,
         "property_get"},
        {Kind::Argument, {{"version", "1"}, {"lcid", nullptr}}, false, "version"},
        // Where a name is accepted and its value is right.
        {Kind::Interface, {{"version", "1.0"}}, false, "version"},
        {Kind::Library, {{"version", "1.0"}}, true, ""},
        {Kind::Library, {{"uuid", id}, {"version", "1.0"}, {"idlversion", "2"}}, true, ""},
        {Kind::Method, {{"property_get", nullptr}, {"long_name", "Name"}}, true, ""},
        {Kind::Method, {{"property_set", nullptr}}, true, ""},
        {Kind::Argument, {{"in", nullptr}, {"out", nullptr}, {"retval", nullptr}}, true, ""},
        {Kind::Enumeration, {{"uuid", "not checked here"}}, true, ""},
        {Kind::CategoryID, {{"uuid", id}}, true, ""},
        // A stand-alone list runs the first check only.
        {Kind::StandAlone, {{"Uuid", "x"}, {"helpstring", nullptr}, {"in", nullptr}}, true, ""},
        {Kind::StandAlone, {{"helpstring", nullptr}, {"uuid", nullptr}}, false, "uuid"},
        {Kind::StandAlone, {{"odd", nullptr}, {"odd", "x"}}, false, "odd"},
    };
    for (const Case& c : cases) {
        std::string trace = kindName(c.kind);
        for (const Written& w : c.attributes) trace += std::string(" ") + w.name + (w.value ? "(...)" : "");
        SCOPED_TRACE(trace);
        auto node = make(c.kind);
        write(*node, c.attributes);
        std::string offending = "untouched";
        EXPECT_EQ(node->validateAttributes(offending), c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(offending, c.offending);
        }
    }
}

TEST_F(AttributeValidationTest, EachKindAcceptsItsOwnNames) {
    // Each vocabulary name written alone, with a value exactly where the name requires one.
    const Written vocabulary[] = {
        {"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"},
        {"version", "1.0"},
        {"idlversion", "3"},
        {"long_name", "Long"},
        {"in", nullptr},
        {"out", nullptr},
        {"retval", nullptr},
        {"property_get", nullptr},
        {"property_set", nullptr},
    };
    struct Case {
        Kind kind;
        std::vector<std::string> accepted;
    };
    const Case cases[] = {
        {Kind::Library, {"uuid", "version", "idlversion"}},
        {Kind::Interface, {"uuid"}},
        {Kind::Enumeration, {"uuid"}},
        {Kind::CategoryID, {"uuid"}},
        {Kind::Method, {"property_set", "property_get", "long_name"}},
        {Kind::Argument, {"in", "out", "retval"}},
        {Kind::StandAlone,
         {"uuid", "version", "idlversion", "long_name", "in", "out", "retval", "property_get", "property_set"}},
    };
    for (const Case& c : cases) {
        for (const Written& w : vocabulary) {
            SCOPED_TRACE(std::string(kindName(c.kind)) + " " + w.name);
            const bool expected = std::find(c.accepted.begin(), c.accepted.end(), w.name) != c.accepted.end();
            auto node = make(c.kind);
            write(*node, {w});
            std::string offending;
            EXPECT_EQ(node->validateAttributes(offending), expected);
            if (!expected) {
                EXPECT_EQ(offending, w.name);
            }
        }
    }
}

TEST_F(AttributeValidationTest, EveryKindAcceptsAnEmptyList) {
    for (Kind kind : kNodeKinds) {
        SCOPED_TRACE(kindName(kind));
        auto node = make(kind);
        std::string offending;
        EXPECT_TRUE(node->validateAttributes(offending));
        EXPECT_FALSE(node->containsAttribute("uuid"));
    }
}

TEST_F(AttributeValidationTest, KeepsRepeatedNamesInTheList) {
    auto node = make(Kind::Interface);
    write(*node, {{"uuid", "first"}, {"uuid", "second"}});
    std::string offending;
    EXPECT_FALSE(node->validateAttributes(offending));
    ASSERT_EQ(node->attributes.size(), 2u);
    EXPECT_EQ(node->attributes[1]->value, "second");
    const std::string* found = node->findAttributeValue("uuid");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, "first");
}

TEST_F(AttributeValidationTest, FailedCheckKeepsTheNamesEnteredUpToTheOffender) {
    auto node = make(Kind::Argument);
    write(*node, {{"in", nullptr}, {"out", "x"}, {"retval", nullptr}});
    std::string offending;
    ASSERT_FALSE(node->validateAttributes(offending));
    EXPECT_TRUE(node->containsAttribute("in"));
    EXPECT_TRUE(node->containsAttribute("out"));
    EXPECT_FALSE(node->containsAttribute("retval"));
}

using ParserAttributeTest = AttributeTest;

TEST_F(ParserAttributeTest, TakesNameAndValueOutOfTheTokenTexts) {
    std::string name = "long_name";
    std::string value = "Gr\xC3\xBC\xC3\x9F" "e";
    const std::unique_ptr<ParserAttribute> withValue(new ParserAttribute(name, &value));
    EXPECT_EQ(withValue->name, "long_name");
    EXPECT_TRUE(withValue->hasValue);
    EXPECT_EQ(withValue->value, "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_TRUE(name.empty());
    EXPECT_TRUE(value.empty());

    name = "in";
    const std::unique_ptr<ParserAttribute> flag(new ParserAttribute(name, nullptr));
    EXPECT_EQ(flag->name, "in");
    EXPECT_FALSE(flag->hasValue);
    EXPECT_EQ(flag->value, "");

    std::string emptyValue;
    name = "version";
    const std::unique_ptr<ParserAttribute> emptyButWritten(new ParserAttribute(name, &emptyValue));
    EXPECT_TRUE(emptyButWritten->hasValue);
}

using AttributeLookupTest = AttributeTest;

TEST_F(AttributeLookupTest, FindsValuesAndFlagsByExactName) {
    auto list = make(Kind::StandAlone);
    write(*list, {{"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"}, {"property_get", nullptr}, {"version", ""}});
    std::string offending;
    ASSERT_TRUE(list->validateAttributes(offending));

    struct Case {
        const char* name;
        const char* value;  // null: no value found
        bool contained;
    };
    const Case cases[] = {
        {"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2", true},
        {"version", "", true},
        {"property_get", nullptr, true},
        {"property_set", nullptr, false},
        {"UUID", nullptr, false},
        {"uuid ", nullptr, false},
        {"", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string* value = list->findAttributeValue(c.name);
        if (c.value) {
            ASSERT_NE(value, nullptr);
            EXPECT_EQ(*value, c.value);
        } else {
            EXPECT_EQ(value, nullptr);
        }
        EXPECT_EQ(list->containsAttribute(c.name), c.contained);
    }
}

TEST_F(AttributeLookupTest, FindsNothingBeforeValidation) {
    auto node = make(Kind::Interface);
    write(*node, {{"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"}});
    EXPECT_EQ(node->findAttributeValue("uuid"), nullptr);
    EXPECT_FALSE(node->containsAttribute("uuid"));
}

/// The five attribute operations of one node, called through its interface record's table.
struct AttributeOps {
    std::function<int32_t()> count;
    std::function<LUMORESULT(int32_t, ILumoString*)> name;
    std::function<LUMORESULT(int32_t, ILumoString*)> value;
    std::function<LUMORESULT(ILumoString*, ILumoString*)> valueByName;
    std::function<int32_t(ILumoString*)> has;
};

template <class Record>
AttributeOps opsOf(Record* record) {
    return {
        [record] { return record->vTbl->getAttributeCount(record->me); },
        [record](int32_t i, ILumoString* s) { return record->vTbl->getAttributeName(record->me, i, s); },
        [record](int32_t i, ILumoString* s) { return record->vTbl->getAttributeValue(record->me, i, s); },
        [record](ILumoString* n, ILumoString* s) { return record->vTbl->getAttributeValueByName(record->me, n, s); },
        [record](ILumoString* n) { return record->vTbl->hasAttribute(record->me, n); },
    };
}

AttributeOps opsOf(Kind kind, ParserAttribList* node) {
    switch (kind) {
        case Kind::Library: return opsOf(static_cast<ILumoIDLLibrary*>(static_cast<ParserLibrary*>(node)));
        case Kind::Interface: return opsOf(static_cast<ILumoIDLInterface*>(static_cast<ParserInterface*>(node)));
        case Kind::Enumeration:
            return opsOf(static_cast<ILumoIDLEnumeration*>(static_cast<ParserEnumeration*>(node)));
        case Kind::CategoryID: return opsOf(static_cast<ILumoIDLCategoryID*>(static_cast<ParserCatID*>(node)));
        case Kind::Method: return opsOf(static_cast<ILumoIDLMethod*>(static_cast<ParserMethod*>(node)));
        case Kind::Argument: return opsOf(static_cast<ILumoIDLMethodArgument*>(static_cast<ParserArg*>(node)));
        case Kind::StandAlone: break;
    }
    return {};
}

/// A host string holding `utf8`.
std::unique_ptr<RecordingString> hostName(const char* utf8) {
    auto name = std::make_unique<RecordingString>();
    name->content = text(utf8);
    return name;
}

/// A receiver holding text that no operation writes, to see whether it was written.
std::unique_ptr<RecordingString> staleReceiver() { return hostName("stale"); }

/// Every node kind, holding the same attributes indexed by the common check, so that each
/// kind's table is exercised alike.
class AttributeOperationsTest : public AttributeTest {
protected:
    struct Node {
        Kind kind;
        std::unique_ptr<ParserAttribList> node;
        AttributeOps ops;
    };

    std::vector<Node> nodesWith(const std::vector<Written>& attributes) {
        std::vector<Node> nodes;
        for (Kind kind : kNodeKinds) {
            auto node = make(kind);
            write(*node, attributes);
            std::string offending;
            EXPECT_TRUE(node->ParserAttribList::validateAttributes(offending)) << offending;
            AttributeOps ops = opsOf(kind, node.get());
            nodes.push_back({kind, std::move(node), std::move(ops)});
        }
        return nodes;
    }

    const std::vector<Written> sample_ = {
        {"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"},
        {"in", nullptr},
        {"long_name", "Gr\xC3\xBC\xC3\x9F" "e \xE5\x90\x8D"},
    };
};

TEST_F(AttributeOperationsTest, CountNamesAndValuesInSourceOrder) {
    for (Node& n : nodesWith(sample_)) {
        SCOPED_TRACE(kindName(n.kind));
        EXPECT_EQ(n.ops.count(), 3);
        for (int32_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            auto name = staleReceiver();
            EXPECT_EQ(n.ops.name(i, name.get()), LUMO_OK);
            EXPECT_EQ(name->content, text(sample_[static_cast<size_t>(i)].name));
            auto value = staleReceiver();
            EXPECT_EQ(n.ops.value(i, value.get()), LUMO_OK);
            const char* written = sample_[static_cast<size_t>(i)].value;
            EXPECT_EQ(value->content, text(written ? written : ""));
            EXPECT_EQ(value->setCalls, 1);
        }
    }
}

TEST_F(AttributeOperationsTest, NodeWithoutAttributesHasNone) {
    for (Node& n : nodesWith({})) {
        SCOPED_TRACE(kindName(n.kind));
        EXPECT_EQ(n.ops.count(), 0);
        auto receiver = staleReceiver();
        EXPECT_EQ(n.ops.name(0, receiver.get()), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(n.ops.has(hostName("uuid").get()), 0);
        EXPECT_EQ(receiver->setCalls, 0);
    }
}

TEST_F(AttributeOperationsTest, BadIndexIsNotFoundAndLeavesTheReceiverAlone) {
    const int32_t badIndexes[] = {-1, 3, 4, INT32_MIN, INT32_MAX};
    for (Node& n : nodesWith(sample_)) {
        for (int32_t index : badIndexes) {
            SCOPED_TRACE(std::string(kindName(n.kind)) + " index " + std::to_string(index));
            auto receiver = staleReceiver();
            EXPECT_EQ(n.ops.name(index, receiver.get()), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(n.ops.value(index, receiver.get()), LUMO_NO_SUCH_ITEM);
            EXPECT_EQ(receiver->setCalls, 0);
            EXPECT_EQ(receiver->content, text("stale"));
        }
    }
}

TEST_F(AttributeOperationsTest, LooksValuesUpByName) {
    struct Case {
        const char* name;
        LUMORESULT result;
        const char* value;  // written on success
        int32_t has;
    };
    const Case cases[] = {
        {"uuid", LUMO_OK, "4A5E2E81-C093-11D4-9F1B-0010A4D198C2", 1},
        {"long_name", LUMO_OK, "Gr\xC3\xBC\xC3\x9F" "e \xE5\x90\x8D", 1},
        {"in", LUMO_NO_SUCH_ITEM, nullptr, 1},  // a flag has no value to give
        {"out", LUMO_NO_SUCH_ITEM, nullptr, 0},
        {"Uuid", LUMO_NO_SUCH_ITEM, nullptr, 0},
        {"", LUMO_NO_SUCH_ITEM, nullptr, 0},
    };
    for (Node& n : nodesWith(sample_)) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(kindName(n.kind)) + " " + c.name);
            auto name = hostName(c.name);
            auto receiver = staleReceiver();
            EXPECT_EQ(n.ops.valueByName(name.get(), receiver.get()), c.result);
            if (c.value) {
                EXPECT_EQ(receiver->content, text(c.value));
            } else {
                EXPECT_EQ(receiver->setCalls, 0);
                EXPECT_EQ(receiver->content, text("stale"));
            }
            EXPECT_EQ(n.ops.has(name.get()), c.has);
        }
    }
}

TEST_F(AttributeOperationsTest, NameArrivesAsUtf8) {
    for (Node& n : nodesWith({{"gr\xC3\xB6\xC3\x9F" "e", "big"}})) {
        SCOPED_TRACE(kindName(n.kind));
        auto name = hostName("gr\xC3\xB6\xC3\x9F" "e");
        RecordingString receiver;
        EXPECT_EQ(n.ops.valueByName(name.get(), &receiver), LUMO_OK);
        EXPECT_EQ(receiver.content, text("big"));
        EXPECT_EQ(n.ops.has(name.get()), 1);
    }
}

TEST_F(AttributeOperationsTest, NullNameIsTheEmptyName) {
    for (Node& n : nodesWith(sample_)) {
        SCOPED_TRACE(kindName(n.kind));
        auto receiver = staleReceiver();
        EXPECT_EQ(n.ops.has(nullptr), 0);
        EXPECT_EQ(n.ops.valueByName(nullptr, receiver.get()), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(receiver->setCalls, 0);
    }
}

TEST_F(AttributeOperationsTest, NullReceiverRaisesNullPointer) {
    for (Node& n : nodesWith(sample_)) {
        SCOPED_TRACE(kindName(n.kind));
        const std::function<void()> calls[] = {
            [&] { n.ops.name(0, nullptr); },
            [&] { n.ops.value(0, nullptr); },
            [&] { n.ops.value(1, nullptr); },
            [&] { n.ops.valueByName(hostName("uuid").get(), nullptr); },
        };
        for (const auto& call : calls) {
            try {
                call();
                ADD_FAILURE() << "no exception";
            } catch (const lumora_error& e) {
                EXPECT_EQ(e.code(), LUMO_NULL_POINTER);
            }
        }
    }
}

TEST_F(AttributeOperationsTest, FailingReceiverRaisesItsCode) {
    for (Node& n : nodesWith(sample_)) {
        SCOPED_TRACE(kindName(n.kind));
        RecordingString receiver;
        receiver.setResult = 42;
        try {
            n.ops.name(0, &receiver);
            ADD_FAILURE() << "no exception";
        } catch (const lumora_error& e) {
            EXPECT_EQ(e.code(), 42u);
        }
    }
}

TEST_F(AttributeOperationsTest, LibraryVersionReadsBackAsWritten) {
    ParserLibrary library;
    write(library, {{"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"}, {"version", "1.0 beta"}});
    std::string offending;
    ASSERT_TRUE(library.validateAttributes(offending));
    auto name = hostName("version");
    RecordingString receiver;
    EXPECT_EQ(ILumoIDLLibrary_getAttributeValueByName(&library, name.get(), &receiver), LUMO_OK);
    EXPECT_EQ(receiver.content, text("1.0 beta"));
}

TEST_F(AttributeOperationsTest, FlagHasEmptyValueButNoValueByName) {
    std::string interfaceName = "IThing";
    ParserInterface node(interfaceName);
    write(node, {{"uuid", "4A5E2E81-C093-11D4-9F1B-0010A4D198C2"}, {"property_get", nullptr}});
    std::string offending;
    ASSERT_TRUE(node.ParserAttribList::validateAttributes(offending));
    auto* record = static_cast<ILumoIDLInterface*>(&node);

    auto value = staleReceiver();
    EXPECT_EQ(ILumoIDLInterface_getAttributeValue(record, 1, value.get()), LUMO_OK);
    EXPECT_EQ(value->content, text(""));

    auto name = hostName("property_get");
    auto byName = staleReceiver();
    EXPECT_EQ(ILumoIDLInterface_getAttributeValueByName(record, name.get(), byName.get()), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(byName->setCalls, 0);
    EXPECT_EQ(byName->content, text("stale"));
    EXPECT_EQ(ILumoIDLInterface_hasAttribute(record, name.get()), 1);
}

}  // namespace
