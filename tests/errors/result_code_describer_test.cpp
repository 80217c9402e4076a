// The result-code describer: the fixed text without a registered describer, and forwarding
// to the describer the host registers.
#include "errors/result_code_describer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_host.h"

namespace {

using lumoidl::test::RecordingString;
using lumoidl::test::text;
using lumoidl::test::utf8;

struct DescriberCall {
    LUMORESULT code;
    ILumoString* receiver;
};

std::vector<DescriberCall> gCalls;

void recordOnly(LUMORESULT code, ILumoString* receiver) { gCalls.push_back({code, receiver}); }

void writeFirst(LUMORESULT code, ILumoString* receiver) {
    gCalls.push_back({code, receiver});
    const ZEMRA::LumoText out = text("first " + std::to_string(code));
    receiver->vTbl->set(receiver->me, out.data(), static_cast<uint32_t>(out.size()));
}

void writeSecond(LUMORESULT code, ILumoString* receiver) {
    gCalls.push_back({code, receiver});
    const ZEMRA::LumoText out = text("second " + std::to_string(code));
    receiver->vTbl->set(receiver->me, out.data(), static_cast<uint32_t>(out.size()));
}

class DescriberTest : public ::testing::Test {
protected:
    void SetUp() override {
        gCalls.clear();
        ZEMRA::setResultCodeDescriber(nullptr);
    }
    void TearDown() override { ZEMRA::setResultCodeDescriber(nullptr); }
};

struct FixedCase {
    LUMORESULT code;
    const char* expected;
};

class DescriberFixedTextTest : public DescriberTest,
                               public ::testing::WithParamInterface<FixedCase> {};

TEST_P(DescriberFixedTextTest, WritesResultCodeAndDecimalNumberInOneSet) {
    RecordingString receiver;
    ZEMRA::describeResultCode(GetParam().code, &receiver);

    EXPECT_EQ(utf8(receiver.content), GetParam().expected);
    EXPECT_EQ(receiver.setCalls, 1);
    // The length handed to set counts the characters only, no terminator.
    EXPECT_EQ(receiver.lastLength, std::string(GetParam().expected).size());
}

INSTANTIATE_TEST_SUITE_P(Codes, DescriberFixedTextTest,
                         ::testing::Values(FixedCase{0, "Result code 0"},
                                           FixedCase{1, "Result code 1"},
                                           FixedCase{103, "Result code 103"},
                                           FixedCase{107, "Result code 107"},
                                           FixedCase{0x80004005u, "Result code 2147500037"},
                                           FixedCase{0xFFFFFFFFu, "Result code 4294967295"}));

TEST_F(DescriberTest, FixedTextReplacesEarlierReceiverContent) {
    RecordingString receiver;
    receiver.content = text("left over from an earlier query");
    ZEMRA::describeResultCode(103, &receiver);
    EXPECT_EQ(utf8(receiver.content), "Result code 103");
}

TEST_F(DescriberTest, RegisteredDescriberGetsCodeAndTheSameReceiver) {
    ZEMRA::setResultCodeDescriber(&recordOnly);
    RecordingString receiver;
    receiver.content = text("untouched");

    ZEMRA::describeResultCode(107, &receiver);

    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].code, 107u);
    EXPECT_EQ(gCalls[0].receiver, &receiver);
    // The fixed text is not written in addition to what the describer does.
    EXPECT_EQ(receiver.setCalls, 0);
    EXPECT_EQ(utf8(receiver.content), "untouched");
}

TEST_F(DescriberTest, LatestRegistrationWins) {
    ZEMRA::setResultCodeDescriber(&writeFirst);
    ZEMRA::setResultCodeDescriber(&writeSecond);
    RecordingString receiver;

    ZEMRA::describeResultCode(1, &receiver);

    EXPECT_EQ(utf8(receiver.content), "second 1");
    EXPECT_EQ(gCalls.size(), 1u);
}

TEST_F(DescriberTest, RegisteringNullGoesBackToFixedText) {
    ZEMRA::setResultCodeDescriber(&writeFirst);
    RecordingString described;
    ZEMRA::describeResultCode(103, &described);
    ASSERT_EQ(utf8(described.content), "first 103");

    ZEMRA::setResultCodeDescriber(nullptr);
    RecordingString fixed;
    ZEMRA::describeResultCode(103, &fixed);

    EXPECT_EQ(utf8(fixed.content), "Result code 103");
    EXPECT_EQ(gCalls.size(), 1u);
}

TEST_F(DescriberTest, ExceptionAsksTheDescriberRegisteredWhenItsTextIsComposed) {
    const ZEMRA::lumora_error error(LUMO_NULL_POINTER, nullptr);
    ZEMRA::setResultCodeDescriber(&writeSecond);

    EXPECT_STREQ(error.what(), "second 103");
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].code, 103u);
}

}  // namespace
