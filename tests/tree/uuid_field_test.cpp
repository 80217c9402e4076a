// UuidField: which texts parse and how they print, the null test, and the text form kept in step with the value.
#include "tree/uuid_field.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "support/fake_host.h"

namespace ZEMRA::IDL::PARSER {
namespace {

using lumoidl::test::utf8;

constexpr const char* kSample = "4A5E2E81-C093-11D4-9F1B-0010A4D198C2";
constexpr const char* kOther = "00112233-4455-6677-8899-AABBCCDDEEFF";

std::string textOf(const UuidField& field) { return utf8(LumoText(field.uuidText())); }

TEST(UuidFieldTest, ParsesWrittenFormsAndPrintsThemInCapitals) {
    for (const std::string written : {"4a5E2e81-C093-11d4-9F1b-0010A4d198C2", "{00112233-4455-6677-8899-aabbccddeeff}",
                                      "10000000-0000-0000-0000-000000000000", "00000000-0000-0000-0000-000000000001",
                                      "{00000000-0000-0000-0000-000000000000}"}) {
        SCOPED_TRACE(written);
        std::string printed = written.substr(written[0] == '{' ? 1 : 0, 36);
        for (char& c : printed) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        UuidField field;
        field.value.bytes[0] = 0x5A;  // so that an all-zero parse is seen to store
        ASSERT_TRUE(field.parseUuid(written.c_str()));
        EXPECT_EQ(textOf(field), printed);
        EXPECT_EQ(field.isNullUuid(), printed == "00000000-0000-0000-0000-000000000000");
    }
}

TEST(UuidFieldTest, RejectsMalformedTextsAndKeepsTheValue) {
    // Wrong lengths, braces, dashes, and the bytes either side of each range of digits.
    const char* const cases[] = {
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C20", "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2",
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2{", "4A5E2E81C-093-11D4-9F1B-0010A4D198C2",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C/", "4A5E2E81-C093-11D4-9F1B-0010A4D198C:",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C@", "4A5E2E81-C093-11D4-9F1B-0010A4D198CG",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C`", "4A5E2E81-C093-11D4-9F1B-0010A4D198Cg",
        "4A5E2E81FC093-11D4-9F1B-0010A4D198C2", "4A5E2E81-C093F11D4-9F1B-0010A4D198C2",
        "4A5E2E81-C093-11D4+9F1B-0010A4D198C2", "4A5E2E81-C093-11D4-9F1B00010A4D198C2",
        "4A5E2E81-C093-11D4-9F1B-00 0A4D198C2",
    };
    for (const char* malformed : cases) {
        SCOPED_TRACE(malformed);
        UuidField field;
        ASSERT_TRUE(field.parseUuid(kOther));
        EXPECT_FALSE(field.parseUuid(malformed));
        EXPECT_EQ(textOf(field), kOther);
    }
}

TEST(UuidFieldTest, TextFollowsEveryChangeOfTheValue) {
    UuidField source;
    ASSERT_TRUE(source.parseUuid(kSample));
    UuidField field(source);
    EXPECT_EQ(textOf(field), kSample);
    field.assign(UuidField().value);
    EXPECT_EQ(textOf(field), "00000000-0000-0000-0000-000000000000");
    ASSERT_TRUE(field.parseUuid(kOther));
    EXPECT_EQ(textOf(field), kOther);
    field = source;
    EXPECT_EQ(textOf(field), kSample);
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
