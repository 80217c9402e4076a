// Tests of ParserResult's operations on empty lists and of its library references.
#include "result/parser_result.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_host.h"

namespace {

using ZEMRA::IDL::PARSER::ParserResult;
using lumoidl::test::RecordingString;
using lumoidl::test::text;

/// A library record that only counts its references; its other slots are never called.
struct FakeLibrary : ILumoIDLLibrary {
    FakeLibrary(std::vector<int>* releases, int id);
    int references = 1;
    std::vector<int>* releases;
    int id;
};

void libraryAddReference(void* me) { ++static_cast<FakeLibrary*>(me)->references; }
void libraryRelease(void* me) {
    auto* self = static_cast<FakeLibrary*>(me);
    --self->references;
    self->releases->push_back(self->id);
}

ILumoIDLLibraryVtbl makeLibraryTable() {
    ILumoIDLLibraryVtbl table{};
    table.addReference = &libraryAddReference;
    table.release = &libraryRelease;
    return table;
}
const ILumoIDLLibraryVtbl kLibraryTable = makeLibraryTable();

FakeLibrary::FakeLibrary(std::vector<int>* releases, int id)
    : ILumoIDLLibrary{this, &kLibraryTable}, releases(releases), id(id) {}

/// A fresh result holding one reference, released at the end of the test.
class ParserResultTest : public ::testing::Test {
protected:
    ParserResultTest() : result(new ParserResult()) { result->addReference(); }
    ~ParserResultTest() override { ILumoIDLParseResult_release(record()); }
    ILumoIDLParseResult* record() const { return result; }
    ParserResult* result;
};

TEST_F(ParserResultTest, RecordPointsAtTheObject) {
    EXPECT_EQ(record()->me, static_cast<void*>(result));
}

TEST_F(ParserResultTest, EmptyListsCountZeroAndRejectEveryIndex) {
    EXPECT_EQ(ILumoIDLParseResult_getCategoryIDCount(record()), 0);
    EXPECT_EQ(ILumoIDLParseResult_getEnumerationCount(record()), 0);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(record()), 0);
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(record()), 0);
    for (int32_t index : {-1, 0, 1}) {
        SCOPED_TRACE(index);
        auto* const untouched = reinterpret_cast<void*>(0x1234);
        auto* category = static_cast<ILumoIDLCategoryID*>(untouched);
        auto* enumeration = static_cast<ILumoIDLEnumeration*>(untouched);
        auto* iface = static_cast<ILumoIDLInterface*>(untouched);
        auto* library = static_cast<ILumoIDLLibrary*>(untouched);
        EXPECT_EQ(ILumoIDLParseResult_getCategoryID(record(), index, &category), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(ILumoIDLParseResult_getEnumeration(record(), index, &enumeration), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(ILumoIDLParseResult_getInterface(record(), index, &iface), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(ILumoIDLParseResult_getLibrary(record(), index, &library), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(static_cast<void*>(category), untouched);
        EXPECT_EQ(static_cast<void*>(enumeration), untouched);
        EXPECT_EQ(static_cast<void*>(iface), untouched);
        EXPECT_EQ(static_cast<void*>(library), untouched);
    }
}

TEST_F(ParserResultTest, LookupsOnEmptyListsAnswerNotFoundWithNull) {
    RecordingString name;
    name.content = text("Lib::Name");
    const LumoUUID uuid{{1, 2, 3}};
    for (ILumoString* key : {static_cast<ILumoString*>(&name), static_cast<ILumoString*>(nullptr)}) {
        auto* category = reinterpret_cast<ILumoIDLCategoryID*>(0x1234);
        auto* enumeration = reinterpret_cast<ILumoIDLEnumeration*>(0x1234);
        auto* iface = reinterpret_cast<ILumoIDLInterface*>(0x1234);
        EXPECT_EQ(ILumoIDLParseResult_getCategoryIDByName(record(), key, &category), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(ILumoIDLParseResult_getEnumerationByName(record(), key, &enumeration), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(record(), key, &iface), LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(category, nullptr);
        EXPECT_EQ(enumeration, nullptr);
        EXPECT_EQ(iface, nullptr);
    }
    auto* category = reinterpret_cast<ILumoIDLCategoryID*>(0x1234);
    auto* enumeration = reinterpret_cast<ILumoIDLEnumeration*>(0x1234);
    auto* iface = reinterpret_cast<ILumoIDLInterface*>(0x1234);
    EXPECT_EQ(ILumoIDLParseResult_getCategoryIDByUUID(record(), &uuid, &category), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(ILumoIDLParseResult_getEnumerationByUUID(record(), &uuid, &enumeration), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByUUID(record(), &uuid, &iface), LUMO_NO_SUCH_ITEM);
    EXPECT_EQ(category, nullptr);
    EXPECT_EQ(enumeration, nullptr);
    EXPECT_EQ(iface, nullptr);
}

TEST_F(ParserResultTest, NullNameLooksUpTheEmptyName) {
    auto* fakeInterface = reinterpret_cast<ILumoIDLInterface*>(0x5678);
    result->interfacesByName[""] = fakeInterface;
    ILumoIDLInterface* found = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(record(), nullptr, &found), LUMO_OK);
    EXPECT_EQ(found, fakeInterface);
}

TEST_F(ParserResultTest, SortingNoInterfacesSucceeds) {
    EXPECT_NE(ILumoIDLParseResult_sortInterfaces(record()), 0);
}

TEST_F(ParserResultTest, ErrorMessageIsWrittenWholeOrEmpty) {
    RecordingString receiver;
    receiver.content = text("stale");
    EXPECT_EQ(ILumoIDLParseResult_getErrorMessage(record(), &receiver), LUMO_OK);
    EXPECT_TRUE(receiver.content.empty());
    EXPECT_EQ(receiver.setCalls, 1);

    result->errorText.text = text("Failed to open \"x\" for reading: gone");
    EXPECT_EQ(ILumoIDLParseResult_getErrorMessage(record(), &receiver), LUMO_OK);
    EXPECT_EQ(receiver.content, text("Failed to open \"x\" for reading: gone"));
}

TEST_F(ParserResultTest, ErrorMessageReceiverProblemsRaise) {
    EXPECT_THROW(ILumoIDLParseResult_getErrorMessage(record(), nullptr), ZEMRA::lumora_error);
    RecordingString failing;
    failing.setResult = 7;
    try {
        ILumoIDLParseResult_getErrorMessage(record(), &failing);
        FAIL() << "no exception";
    } catch (const ZEMRA::lumora_error& e) {
        EXPECT_EQ(e.code(), 7u);
    }
}

TEST(ParserResultLibrariesTest, GetLibraryAddsAReferenceAndDestructionReleasesInOrder) {
    std::vector<int> releases;
    FakeLibrary first(&releases, 1);
    FakeLibrary second(&releases, 2);
    auto* result = new ParserResult();
    result->addReference();
    result->appendLibrary(&first);
    result->appendLibrary(&second);

    ILumoIDLLibrary* out = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getLibrary(result, 1, &out), LUMO_OK);
    EXPECT_EQ(out, &second);
    EXPECT_EQ(second.references, 2);
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result), 2);

    ILumoIDLParseResult_release(result);
    EXPECT_EQ(releases, (std::vector<int>{1, 2}));
    EXPECT_EQ(first.references, 0);
    EXPECT_EQ(second.references, 1);
}

}  // namespace
