// Tests of UuidField: which texts parse to which bytes, the null test, and the cached text form.
#include "tree/uuid_field.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>

#include "support/fake_host.h"

namespace {

using ZEMRA::LumoText;
using ZEMRA::IDL::PARSER::UuidField;
using lumoidl::test::text;

constexpr const char* kSample = "4A5E2E81-C093-11D4-9F1B-0010A4D198C2";
constexpr const char* kOther = "00112233-4455-6677-8899-AABBCCDDEEFF";

LumoUUID bytesOf(std::initializer_list<uint8_t> bytes) {
    LumoUUID uuid{};
    size_t k = 0;
    for (uint8_t b : bytes) uuid.bytes[k++] = b;
    return uuid;
}

const LumoUUID kSampleBytes =
    bytesOf({0x4A, 0x5E, 0x2E, 0x81, 0xC0, 0x93, 0x11, 0xD4, 0x9F, 0x1B, 0x00, 0x10, 0xA4, 0xD1, 0x98, 0xC2});

::testing::AssertionResult sameBytes(const LumoUUID& actual, const LumoUUID& expected) {
    for (int k = 0; k < 16; ++k) {
        if (actual.bytes[k] != expected.bytes[k])
            return ::testing::AssertionFailure() << "byte " << k << " is " << int(actual.bytes[k]) << ", expected "
                                                 << int(expected.bytes[k]);
    }
    return ::testing::AssertionSuccess();
}

LumoText textOf(const UuidField& field) { return LumoText(field.uuidText()); }

TEST(UuidFieldTest, StartsAllZeroAndNull) {
    const UuidField field;
    EXPECT_TRUE(sameBytes(field.value, LumoUUID{}));
    EXPECT_TRUE(field.isNullUuid());
    EXPECT_EQ(textOf(field), text("00000000-0000-0000-0000-000000000000"));
}

TEST(UuidFieldTest, ParsesAcceptedFormsInWrittenByteOrder) {
    struct Case {
        const char* text;
        LumoUUID expected;
    };
    const Case cases[] = {
        {"4A5E2E81-C093-11D4-9F1B-0010A4D198C2", kSampleBytes},
        {"4a5e2e81-c093-11d4-9f1b-0010a4d198c2", kSampleBytes},
        {"4a5E2e81-C093-11d4-9F1b-0010A4d198C2", kSampleBytes},
        {"{4A5E2E81-C093-11D4-9F1B-0010A4D198C2}", kSampleBytes},
        {"{4a5e2e81-c093-11d4-9f1b-0010a4d198c2}", kSampleBytes},
        {"00112233-4455-6677-8899-AABBCCDDEEFF",
         bytesOf({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF})},
        {"FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF",
         bytesOf({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
        {"00000000-0000-0000-0000-000000000000", LumoUUID{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UuidField field;
        field.value.bytes[0] = 0x5A;  // so that an all-zero parse is seen to store
        ASSERT_TRUE(field.parseUuid(c.text));
        EXPECT_TRUE(sameBytes(field.value, c.expected));
    }
}

TEST(UuidFieldTest, RejectsMalformedTextAndKeepsTheValue) {
    const std::string longText = std::string(kSample) + std::string(64, '0');
    const char* const cases[] = {
        "",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C",       // 35
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C20",     // 37
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2",     // 37, opening brace only
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C2}",     // 37, closing brace only
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2}0",   // 39
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2}00",  // 40
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2}000", // 41
        longText.c_str(),
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2{",    // 38, wrong closing brace
        "}4A5E2E81-C093-11D4-9F1B-0010A4D198C2}",    // 38, wrong opening brace
        "(4A5E2E81-C093-11D4-9F1B-0010A4D198C2)",
        "04A5E2E81-C093-11D4-9F1B-0010A4D198C2}",
        "{4A5E2E8-1C093-11D4-9F1B-0010A4D198C2}",    // 38, dash moved inside the braces
        "{A5E2E81-C093-11D4-9F1B-0010A4D198C}",      // 36, braces where digits belong
        "4A5E2E8-1C093-11D4-9F1B-0010A4D198C2",
        "4A5E2E81C-093-11D4-9F1B-0010A4D198C2",
        "4A5E2E81-C09311D4--9F1B-0010A4D198C2",
        "4A5E2E81-C093-11D49-F1B-0010A4D198C2",
        "4A5E2E81-C093-11D4-9F1B0-010A4D198C2",
        "4A5E2E81:C093-11D4-9F1B-0010A4D198C2",
        "4A5E2E81-C093-11D4-9F1B-0010A4D1-8C2",
        "GA5E2E81-C093-11D4-9F1B-0010A4D198C2",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198Cg",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C/",  // the characters either side of each digit range
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C:",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C@",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C`",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198C ",
        "4A5E2E81-C093-11D4-9F1B-0010A4D198\xC3\xA4",
    };
    for (const char* malformed : cases) {
        SCOPED_TRACE(malformed);
        UuidField field;
        ASSERT_TRUE(field.parseUuid(kOther));
        const LumoUUID before = field.value;
        const LumoText textBefore = textOf(field);
        EXPECT_FALSE(field.parseUuid(malformed));
        EXPECT_TRUE(sameBytes(field.value, before));
        EXPECT_EQ(textOf(field), textBefore);
    }
}

TEST(UuidFieldTest, StopsCountingAtFortyCharacters) {
    // No terminating zero: a reader that looked past the fortieth character would run off
    // the buffer (which the sanitizer build reports).
    std::array<char, 40> unterminated;
    unterminated.fill('0');
    UuidField field;
    EXPECT_FALSE(field.parseUuid(unterminated.data()));
    EXPECT_TRUE(field.isNullUuid());
}

TEST(UuidFieldTest, NullOnlyWhenEveryByteIsZero) {
    struct Case {
        const char* text;
        bool null;
    };
    const Case cases[] = {
        {"00000000-0000-0000-0000-000000000000", true},
        {"{00000000-0000-0000-0000-000000000000}", true},
        {"10000000-0000-0000-0000-000000000000", false},
        {"00000000-0000-0000-0000-000000000001", false},
        {"00000000-0000-0000-8000-000000000000", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        UuidField field;
        ASSERT_TRUE(field.parseUuid(c.text));
        EXPECT_EQ(field.isNullUuid(), c.null);
    }
}

TEST(UuidFieldTest, TextIsUpperCaseWithoutBraces) {
    const char* const written[] = {
        "4a5e2e81-c093-11d4-9f1b-0010a4d198c2",
        "{4a5e2e81-c093-11d4-9f1b-0010a4d198c2}",
        "{4A5E2E81-C093-11D4-9F1B-0010A4D198C2}",
    };
    for (const char* form : written) {
        SCOPED_TRACE(form);
        UuidField field;
        ASSERT_TRUE(field.parseUuid(form));
        const LumoChar* formed = field.uuidText();
        EXPECT_EQ(LumoText(formed), text(kSample));
        EXPECT_EQ(formed[36], LumoChar(0));
    }
}

TEST(UuidFieldTest, TextIsBuiltOnceForAValue) {
    UuidField field;
    ASSERT_TRUE(field.parseUuid(kSample));
    const LumoChar* first = field.uuidText();
    EXPECT_EQ(field.uuidText(), first);
}

TEST(UuidFieldTest, TextFollowsEveryChangeOfTheValue) {
    struct Case {
        const char* how;
        void (*change)(UuidField& field);
    };
    const Case cases[] = {
        {"assign", [](UuidField& field) { field.assign(kSampleBytes); }},
        {"parse", [](UuidField& field) { ASSERT_TRUE(field.parseUuid(kSample)); }},
        {"copy-assign",
         [](UuidField& field) {
             UuidField source;
             ASSERT_TRUE(source.parseUuid(kSample));
             field = source;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        UuidField field;
        ASSERT_TRUE(field.parseUuid(kOther));
        ASSERT_EQ(textOf(field), text(kOther));
        c.change(field);
        EXPECT_EQ(textOf(field), text(kSample));
    }
}

TEST(UuidFieldTest, CopyTakesTheBytesAndKeepsItsOwnText) {
    UuidField original;
    ASSERT_TRUE(original.parseUuid(kSample));
    const LumoChar* originalText = original.uuidText();

    UuidField copy(original);
    EXPECT_TRUE(sameBytes(copy.value, kSampleBytes));
    EXPECT_NE(copy.uuidText(), originalText);
    EXPECT_EQ(textOf(copy), text(kSample));

    ASSERT_TRUE(original.parseUuid(kOther));
    EXPECT_EQ(textOf(copy), text(kSample));
    EXPECT_EQ(textOf(original), text(kOther));
}

TEST(UuidFieldTest, CopyAssignmentKeepsTheSourceText) {
    UuidField source;
    ASSERT_TRUE(source.parseUuid(kSample));
    const LumoChar* sourceText = source.uuidText();
    UuidField target;
    ASSERT_TRUE(target.parseUuid(kOther));
    target.uuidText();

    target = source;
    EXPECT_EQ(source.uuidText(), sourceText);
    EXPECT_NE(target.uuidText(), sourceText);
    ASSERT_TRUE(target.parseUuid(kOther));
    EXPECT_EQ(textOf(source), text(kSample));
}

TEST(UuidFieldTest, AssignmentToItselfKeepsValueAndText) {
    UuidField field;
    ASSERT_TRUE(field.parseUuid(kSample));
    field.uuidText();
    const UuidField& alias = field;
    field = alias;
    EXPECT_TRUE(sameBytes(field.value, kSampleBytes));
    EXPECT_EQ(textOf(field), text(kSample));
}

}  // namespace
