// ParserResult's references, and host-boundary texts (string_boundary, lumo_string, error_message).
#include "result/parser_result.h"

#include <gtest/gtest.h>

#include <vector>

#include "result/error_message.h"
#include "result/string_boundary.h"
#include "support/fake_host.h"

namespace {

using namespace std::string_literals;
using lumoidl::test::text;

/// A library record that logs its reference changes: +id and -id.
struct FakeLibrary : ILumoIDLLibrary {
    static inline std::vector<int> log;
    static inline ILumoIDLLibraryVtbl table{};
    explicit FakeLibrary(int id) : ILumoIDLLibrary{this, &table}, id(id) {
        table.addReference = [](void* me) { log.push_back(static_cast<FakeLibrary*>(me)->id); };
        table.release = [](void* me) { log.push_back(-static_cast<FakeLibrary*>(me)->id); };
    }
    int id;
};

TEST(ParserResultTest, LastReleaseReleasesEveryLibraryOnceInOrder) {
    FakeLibrary first(1), second(2);
    auto* result = new ZEMRA::IDL::PARSER::ParserResult();
    result->addReference();
    result->appendLibrary(&first);
    result->appendLibrary(&second);
    ILumoIDLLibrary* out = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getLibrary(result, 1, &out), LUMO_OK);
    ILumoIDLParseResult_addReference(result);
    ILumoIDLParseResult_release(result);
    EXPECT_EQ(FakeLibrary::log, std::vector<int>{2});
    ILumoIDLParseResult_release(result);
    EXPECT_EQ(FakeLibrary::log, (std::vector<int>{2, -1, -2}));
}

TEST(ParserResultTest, TextsAreCutAtTheirFirstZero) {
    lumoidl::test::RecordingString host;
    host.content = text("G\xC3\xBC\0cd"s);
    EXPECT_EQ(ZEMRA::readHostString(&host), "G\xC3\xBC");
    ZEMRA::writeHostString(&host, "G\xC3\xBC\0cd"s);
    EXPECT_EQ(host.content, text("G\xC3\xBC"));
    ZEMRA::LumoStringImpl own;
    ZEMRA::ErrorMessage(own).set("a").utf8("b\0c"s).number(42).character('.');
    EXPECT_EQ(own.text, text("ab42."));
    own.vTbl->set(own.me, nullptr, 5);
    EXPECT_EQ(own.text, text(""));
}

}  // namespace
