// Tests of strings crossing the host boundary in both directions.
#include "result/string_boundary.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"

namespace {

using lumoidl::test::RecordingString;
using lumoidl::test::text;

TEST(StringBoundaryTest, ReadsHostTextUpToItsFirstZero) {
    RecordingString name;
    EXPECT_EQ(ZEMRA::readHostString(nullptr), "");
    name.content = text("plain");
    EXPECT_EQ(ZEMRA::readHostString(&name), "plain");
    name.content = text("ab");
    name.content += LumoChar(0);
    name.content += text("cd");
    EXPECT_EQ(ZEMRA::readHostString(&name), "ab");
    name.content = text("Gr\xC3\xBC\xC3\x9F" "e \xE5\x90\x8D");
    EXPECT_EQ(ZEMRA::readHostString(&name), "Gr\xC3\xBC\xC3\x9F" "e \xE5\x90\x8D");
}

TEST(StringBoundaryTest, WritesConvertedTextWithItsLength) {
    RecordingString receiver;
    ZEMRA::writeHostString(&receiver, "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(receiver.content, text("Gr\xC3\xBC\xC3\x9F" "e"));
    EXPECT_EQ(receiver.lastLength, 5u);
}

TEST(StringBoundaryTest, NameWithZeroByteReachesHostCutAtTheZero) {
    RecordingString receiver;
    ZEMRA::writeHostString(&receiver, std::string_view("ab\0cd", 5));
    EXPECT_EQ(receiver.content, text("ab"));
    EXPECT_EQ(receiver.lastLength, 2u);
}

TEST(StringBoundaryTest, EmptyTextIsWrittenAsEmpty) {
    RecordingString receiver;
    receiver.content = text("old");
    ZEMRA::writeHostString(&receiver, "");
    EXPECT_EQ(receiver.setCalls, 1);
    EXPECT_TRUE(receiver.content.empty());
}

TEST(StringBoundaryTest, NullReceiverRaisesNullPointer) {
    try {
        ZEMRA::writeHostString(nullptr, "x");
        FAIL() << "no exception";
    } catch (const ZEMRA::lumora_error& e) {
        EXPECT_EQ(e.code(), LUMO_NULL_POINTER);
        EXPECT_EQ(e.error(), nullptr);
    }
    EXPECT_THROW(ZEMRA::writeHostText(nullptr, lumoidl::platform::TextView()), ZEMRA::lumora_error);
}

TEST(StringBoundaryTest, FailingSetRaisesItsCode) {
    RecordingString receiver;
    receiver.setResult = 0x80004005u;
    try {
        ZEMRA::writeHostString(&receiver, "x");
        FAIL() << "no exception";
    } catch (const ZEMRA::lumora_error& e) {
        EXPECT_EQ(e.code(), 0x80004005u);
        EXPECT_EQ(e.error(), nullptr);
    }
    EXPECT_EQ(receiver.setCalls, 1);
}

}  // namespace
