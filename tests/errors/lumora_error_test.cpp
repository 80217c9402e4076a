// lumora_error: taking the failed object's error, the own text, the text composed along the
// chain of causes, what(), copying, and the references held on the error objects.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "errors/result_code_describer.h"
#include "lumoidl/lumoidl.h"
#include "support/fake_host.h"

namespace {

using ZEMRA::LumoText;
using ZEMRA::lumora_error;
using lumoidl::test::FailedObject;
using lumoidl::test::FakeError;
using lumoidl::test::text;
using lumoidl::test::utf8;

/// Codes the describer was asked about, in order.
std::vector<LUMORESULT> gDescribed;

/// Writes "desc N" for code N.
void describeAsDesc(LUMORESULT code, ILumoString* receiver) {
    gDescribed.push_back(code);
    const LumoText out = text("desc " + std::to_string(code));
    receiver->vTbl->set(receiver->me, out.data(), static_cast<uint32_t>(out.size()));
}

/// Writes nothing at all.
void describeNothing(LUMORESULT code, ILumoString*) { gDescribed.push_back(code); }

/// Fails the way an exhausted host would.
void describeByThrowing(LUMORESULT code, ILumoString*) {
    gDescribed.push_back(code);
    throw std::bad_alloc();
}

void configure(FakeError& error, std::string_view scope, std::string_view source,
               std::string_view errorText) {
    error.scope = text(scope);
    error.source = text(source);
    error.errorText = text(errorText);
}

/// Every test starts and ends without a registered describer.
class LumoraErrorTest : public ::testing::Test {
protected:
    void SetUp() override {
        gDescribed.clear();
        ZEMRA::setResultCodeDescriber(nullptr);
    }
    void TearDown() override { ZEMRA::setResultCodeDescriber(nullptr); }
};

// ---- Exceptions without an error object ----

struct PlainCase {
    const char* name;
    LUMORESULT code;
    bool registerDescriber;
    const char* expected;
};

class LumoraPlainTextTest : public LumoraErrorTest,
                            public ::testing::WithParamInterface<PlainCase> {};

TEST_P(LumoraPlainTextTest, AllTextsAreTheDescriptionOfTheCode) {
    if (GetParam().registerDescriber) ZEMRA::setResultCodeDescriber(&describeAsDesc);
    const lumora_error error(GetParam().code, nullptr);

    EXPECT_EQ(error.code(), GetParam().code);
    EXPECT_EQ(error.error(), nullptr);
    EXPECT_STREQ(error.what(), GetParam().expected);
    EXPECT_EQ(utf8(error.error_text()), GetParam().expected);
    EXPECT_EQ(utf8(error.full_text()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, LumoraPlainTextTest,
    ::testing::Values(PlainCase{"NullPointerDescribed", LUMO_NULL_POINTER, true, "desc 103"},
                      PlainCase{"NullPointerFixed", LUMO_NULL_POINTER, false, "Result code 103"},
                      PlainCase{"NoSuchItemDescribed", 107, true, "desc 107"},
                      PlainCase{"OkDescribed", LUMO_OK, true, "desc 0"},
                      PlainCase{"FailedWithoutObjectDescribed", LUMO_FAILED, true, "desc 1"},
                      PlainCase{"FailedWithoutObjectFixed", LUMO_FAILED, false, "Result code 1"},
                      PlainCase{"HighBitFixed", 0x80070057u, false, "Result code 2147942487"}),
    [](const ::testing::TestParamInfo<PlainCase>& info) { return std::string(info.param.name); });

TEST_F(LumoraErrorTest, DescriptionIsAskedForOnceAndReused) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    const lumora_error error(LUMO_NULL_POINTER, nullptr);

    EXPECT_STREQ(error.what(), "desc 103");
    EXPECT_EQ(utf8(error.error_text()), "desc 103");
    EXPECT_EQ(utf8(error.full_text()), "desc 103");
    EXPECT_STREQ(error.what(), "desc 103");

    EXPECT_EQ(gDescribed, std::vector<LUMORESULT>{103});
}

TEST_F(LumoraErrorTest, EmptyDescriptionIsAskedForAgainOnTheNextCall) {
    ZEMRA::setResultCodeDescriber(&describeNothing);
    const lumora_error error(LUMO_NULL_POINTER, nullptr);
    EXPECT_STREQ(error.what(), "");
    EXPECT_TRUE(error.error_text().empty());

    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    EXPECT_STREQ(error.what(), "desc 103");
    EXPECT_EQ(utf8(error.error_text()), "desc 103");
}

// ---- Taking the failed object's error ----

TEST_F(LumoraErrorTest, FailedCodeWithObjectTakesItsLastErrorReference) {
    FakeError cause;
    FailedObject object;
    object.error = &cause;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(object.calls, 1);
        EXPECT_EQ(error.error(), static_cast<ILumoError*>(&cause));
        EXPECT_EQ(error.code(), LUMO_FAILED);
        EXPECT_EQ(cause.references, 2);
    }
    EXPECT_EQ(cause.references, 1);
}

TEST_F(LumoraErrorTest, FailedCodeWithObjectWithoutErrorIsDescribed) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    FailedObject object;  // hands out null
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(object.calls, 1);
    EXPECT_EQ(error.error(), nullptr);
    EXPECT_STREQ(error.what(), "desc 1");
}

TEST_F(LumoraErrorTest, OtherCodeWithObjectDoesNotAskForTheError) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    FakeError cause;
    FailedObject object;
    object.error = &cause;
    {
        const lumora_error error(107, &object.record);
        EXPECT_EQ(object.calls, 0);
        EXPECT_EQ(error.error(), nullptr);
        EXPECT_STREQ(error.what(), "desc 107");
        EXPECT_EQ(cause.scopeCalls, 0);
    }
    EXPECT_EQ(cause.references, 1);
}

// ---- One error ----

struct SingleCase {
    const char* name;
    void (*adjust)(FakeError&);
    const char* fullText;
    const char* ownText;
};

class LumoraSingleErrorTest : public LumoraErrorTest,
                              public ::testing::WithParamInterface<SingleCase> {};

TEST_P(LumoraSingleErrorTest, ComposesOneElement) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    FakeError failure;
    configure(failure, "S", "O", "T");
    GetParam().adjust(failure);
    FailedObject object;
    object.error = &failure;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(utf8(error.full_text()), GetParam().fullText);
        EXPECT_STREQ(error.what(), GetParam().fullText);
        EXPECT_EQ(utf8(error.error_text()), GetParam().ownText);
        EXPECT_EQ(failure.scopeCalls, 1);
        EXPECT_EQ(failure.sourceCalls, 1);
        // The composition gave back the reference it took; the exception keeps its own.
        EXPECT_EQ(failure.references, 2);
    }
    EXPECT_EQ(failure.references, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LumoraSingleErrorTest,
    ::testing::Values(
        SingleCase{"Plain", [](FakeError&) {}, "in S of O: T", "T"},
        SingleCase{"ScopeFails",
                   [](FakeError& e) {
                       e.source = text("mod");
                       e.scopeResult = LUMO_FAILED;
                   },
                   "in <unknown scope> of mod: T", "T"},
        SingleCase{"SourceFails", [](FakeError& e) { e.sourceResult = LUMO_FAILED; },
                   "in S of <unknown source>: T", "T"},
        SingleCase{"ScopeAndSourceFail",
                   [](FakeError& e) {
                       e.scopeResult = LUMO_FAILED;
                       e.sourceResult = LUMO_FAILED;
                   },
                   "in <unknown scope> of <unknown source>: T", "T"},
        SingleCase{"TextFails", [](FakeError& e) { e.errorTextResult = LUMO_FAILED; },
                   "in S of O: Failed to obtain error text; desc 1",
                   "Failed to obtain error text; desc 1"},
        SingleCase{"TextFailsWithoutWriting",
                   [](FakeError& e) {
                       e.errorTextResult = LUMO_FAILED;
                       e.writeErrorText = false;
                   },
                   "in S of O: Failed to obtain error text; desc 1",
                   "Failed to obtain error text; desc 1"},
        SingleCase{"OtherFailureCodesCountAsSuccess",
                   [](FakeError& e) {
                       e.scopeResult = 107;
                       e.sourceResult = 0x80004005u;
                       e.errorTextResult = 2;
                   },
                   "in S of O: T", "T"},
        SingleCase{"EmptyScope", [](FakeError& e) { e.scope.clear(); }, "in  of O: T", "T"},
        // The receiver starts empty, so a scope query that writes nothing gives "".
        SingleCase{"ScopeNotWritten", [](FakeError& e) { e.writeScope = false; }, "in  of O: T",
                   "T"},
        // Without writing, the source is what the scope query left in the receiver.
        SingleCase{"SourceNotWritten", [](FakeError& e) { e.writeSource = false; },
                   "in S of S: T", "T"},
        // The text is then the source; the own text has a fresh receiver and stays empty.
        SingleCase{"TextNotWritten", [](FakeError& e) { e.writeErrorText = false; },
                   "in S of O: O", ""},
        // A failing scope query that wrote anyway still leaves its text in the receiver.
        SingleCase{"FailedScopeContentReusedBySource",
                   [](FakeError& e) {
                       e.scopeResult = LUMO_FAILED;
                       e.writeSource = false;
                   },
                   "in <unknown scope> of S: T", "T"},
        SingleCase{"ScopeAndSourceCutAtZero",
                   [](FakeError& e) {
                       e.scope = text(std::string_view("Sc\0ope", 6));
                       e.source = text(std::string_view("\0hidden", 7));
                   },
                   "in Sc of : T", "T"},
        // The source placeholder is searched from the beginning, so one in the scope wins.
        SingleCase{"SourcePlaceholderInScope",
                   [](FakeError& e) { e.scope = text("a%SOURCE%b"); }, "in aOb of %SOURCE%: T",
                   "T"},
        // Each placeholder is replaced once; a placeholder in a replacement stays.
        SingleCase{"ScopePlaceholderInScope", [](FakeError& e) { e.scope = text("x%SCOPE%"); },
                   "in x%SCOPE% of O: T", "T"},
        SingleCase{"ScopePlaceholderInSource",
                   [](FakeError& e) { e.source = text("%SCOPE%"); }, "in S of %SCOPE%: T", "T"},
        SingleCase{"PlaceholdersInOwnText",
                   [](FakeError& e) { e.errorText = text("%SCOPE% %SOURCE%"); },
                   "in S of O: %SCOPE% %SOURCE%", "%SCOPE% %SOURCE%"}),
    [](const ::testing::TestParamInfo<SingleCase>& info) { return std::string(info.param.name); });

TEST_F(LumoraErrorTest, TextFailureUsesFixedDescriptionWithoutDescriber) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    failure.errorTextResult = LUMO_FAILED;
    FailedObject object;
    object.error = &failure;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(utf8(error.error_text()), "Failed to obtain error text; Result code 1");
    EXPECT_EQ(utf8(error.full_text()), "in S of O: Failed to obtain error text; Result code 1");
}

TEST_F(LumoraErrorTest, WhatConvertsToUtf8) {
    FakeError failure;
    failure.scope = LumoText(LUMO_TEXT("Gr\u00f6\u00dfe"));
    failure.source = LumoText(LUMO_TEXT("\u6a21\u5757"));
    failure.errorText = LumoText(LUMO_TEXT("smile \U0001F600"));
    FailedObject object;
    object.error = &failure;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_STREQ(error.what(),
                 "in Gr\xC3\xB6\xC3\x9F" "e of \xE6\xA8\xA1\xE5\x9D\x97: smile \xF0\x9F\x98\x80");
}

TEST_F(LumoraErrorTest, ZeroInErrorTextIsKeptInTextsAndEndsWhat) {
    FakeError first;
    FakeError second;
    configure(first, "S1", "O1", std::string_view("ab\0cd", 5));
    configure(second, "S2", "O2", "T2");
    first.cause = &second;
    FailedObject object;
    object.error = &first;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(error.error_text(), text(std::string_view("ab\0cd", 5)));
    EXPECT_EQ(error.full_text(),
              text(std::string_view("in S1 of O1: ab\0cd, caused by: in S2 of O2: T2", 46)));
    EXPECT_STREQ(error.what(), "in S1 of O1: ab");
}

// ---- Chains of causes ----

TEST_F(LumoraErrorTest, ChainOfTwoReadsCausedBy) {
    FakeError first;
    FakeError second;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    first.cause = &second;
    FailedObject object;
    object.error = &first;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(utf8(error.full_text()), "in S1 of O1: T1, caused by: in S2 of O2: T2");
        EXPECT_STREQ(error.what(), "in S1 of O1: T1, caused by: in S2 of O2: T2");
        // The own text is the first error's only.
        EXPECT_EQ(utf8(error.error_text()), "T1");
        EXPECT_EQ(first.references, 2);
        EXPECT_EQ(second.references, 1);
    }
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(second.references, 1);
}

TEST_F(LumoraErrorTest, ChainOfThreeReleasesEveryCause) {
    FakeError first;
    FakeError second;
    FakeError third;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    configure(third, "S3", "O3", "T3");
    first.cause = &second;
    second.cause = &third;
    FailedObject object;
    object.error = &first;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(utf8(error.full_text()),
                  "in S1 of O1: T1, caused by: in S2 of O2: T2, caused by: in S3 of O3: T3");
        EXPECT_EQ(first.references, 2);
        EXPECT_EQ(second.references, 1);
        EXPECT_EQ(third.references, 1);
    }
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(second.references, 1);
    EXPECT_EQ(third.references, 1);
}

class LumoraFailingCauseTest : public LumoraErrorTest,
                               public ::testing::WithParamInterface<LUMORESULT> {};

TEST_P(LumoraFailingCauseTest, FailingGetCauseEndsChainAndReleasesWrittenCause) {
    FakeError first;
    FakeError second;
    FakeError third;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    configure(third, "S3", "O3", "T3");
    first.cause = &second;
    second.cause = &third;
    second.causeResult = GetParam();
    FailedObject object;
    object.error = &first;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(utf8(error.full_text()), "in S1 of O1: T1, caused by: in S2 of O2: T2");
        EXPECT_EQ(third.scopeCalls, 0);
        EXPECT_EQ(third.references, 1);
        EXPECT_EQ(second.references, 1);
    }
    EXPECT_EQ(first.references, 1);
}

INSTANTIATE_TEST_SUITE_P(Codes, LumoraFailingCauseTest,
                         ::testing::Values(LUMO_FAILED, LUMORESULT{107}, LUMORESULT{0x80004005u}));

TEST_F(LumoraErrorTest, FailingGetCauseOfFirstErrorWithoutCauseGivesOneElement) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    failure.causeResult = LUMO_FAILED;
    FailedObject object;
    object.error = &failure;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(utf8(error.full_text()), "in S of O: T");
    EXPECT_EQ(failure.references, 2);
}

struct ChainCase {
    const char* name;
    void (*adjust)(FakeError& first, FakeError& second, FakeError& third);
    const char* expected;
};

class LumoraChainTextTest : public LumoraErrorTest,
                            public ::testing::WithParamInterface<ChainCase> {};

TEST_P(LumoraChainTextTest, ComposesThreeElements) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    FakeError first;
    FakeError second;
    FakeError third;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    configure(third, "S3", "O3", "T3");
    first.cause = &second;
    second.cause = &third;
    GetParam().adjust(first, second, third);
    FailedObject object;
    object.error = &first;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_EQ(utf8(error.full_text()), GetParam().expected);
        EXPECT_STREQ(error.what(), GetParam().expected);
    }
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(second.references, 1);
    EXPECT_EQ(third.references, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LumoraChainTextTest,
    ::testing::Values(
        // Each element's source fills the earliest "%SOURCE%" of the whole text: the one in the
        // first text, then the one the second element left, and the last element's stays.
        ChainCase{"SourcePlaceholderInFirstText",
                  [](FakeError& first, FakeError&, FakeError&) {
                      first.errorText = text("a %SOURCE% b");
                  },
                  "in S1 of O1: a O2 b, caused by: in S2 of O3: T2, "
                  "caused by: in S3 of %SOURCE%: T3"},
        ChainCase{"ScopePlaceholderInFirstText",
                  [](FakeError& first, FakeError&, FakeError&) {
                      first.errorText = text("x %SCOPE% y");
                  },
                  "in S1 of O1: x S2 y, caused by: in S3 of O2: T2, "
                  "caused by: in %SCOPE% of O3: T3"},
        ChainCase{"SourcePlaceholderInSecondText",
                  [](FakeError&, FakeError& second, FakeError&) {
                      second.errorText = text("%SOURCE%");
                  },
                  "in S1 of O1: T1, caused by: in S2 of O2: O3, caused by: in S3 of %SOURCE%: T3"},
        // The receiver is shared along the chain: what a query does not write is the content
        // the previous query left.
        ChainCase{"ScopeNotWrittenTakesPreviousText",
                  [](FakeError&, FakeError& second, FakeError&) { second.writeScope = false; },
                  "in S1 of O1: T1, caused by: in T1 of O2: T2, caused by: in S3 of O3: T3"},
        ChainCase{"NothingWrittenRepeatsPreviousText",
                  [](FakeError&, FakeError& second, FakeError&) {
                      second.writeScope = false;
                      second.writeSource = false;
                      second.writeErrorText = false;
                  },
                  "in S1 of O1: T1, caused by: in T1 of T1: T1, caused by: in S3 of O3: T3"},
        ChainCase{"ScopeNotWrittenAfterFailedText",
                  [](FakeError& first, FakeError& second, FakeError&) {
                      first.errorTextResult = LUMO_FAILED;
                      second.writeScope = false;
                  },
                  "in S1 of O1: Failed to obtain error text; desc 1, caused by: in desc 1 of O2: "
                  "T2, caused by: in S3 of O3: T3"},
        ChainCase{"FailedScopeNotWrittenIsUnknown",
                  [](FakeError&, FakeError& second, FakeError&) {
                      second.writeScope = false;
                      second.scopeResult = LUMO_FAILED;
                      second.writeSource = false;
                  },
                  "in S1 of O1: T1, caused by: in <unknown scope> of T1: T2, "
                  "caused by: in S3 of O3: T3"},
        ChainCase{"ScopeCutAtZeroInCause",
                  [](FakeError&, FakeError&, FakeError& third) {
                      third.scope = text(std::string_view("S3\0tail", 7));
                  },
                  "in S1 of O1: T1, caused by: in S2 of O2: T2, caused by: in S3 of O3: T3"}),
    [](const ::testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

// ---- Composing once ----

TEST_F(LumoraErrorTest, FullTextIsComposedOnce) {
    FakeError first;
    FakeError second;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    first.cause = &second;
    FailedObject object;
    object.error = &first;
    const lumora_error error(LUMO_FAILED, &object.record);

    const std::string expected = "in S1 of O1: T1, caused by: in S2 of O2: T2";
    EXPECT_EQ(utf8(error.full_text()), expected);
    first.errorText = text("changed");
    second.scope = text("changed");
    EXPECT_EQ(utf8(error.full_text()), expected);
    EXPECT_STREQ(error.what(), expected.c_str());
    EXPECT_STREQ(error.what(), expected.c_str());

    EXPECT_EQ(first.scopeCalls, 1);
    EXPECT_EQ(first.sourceCalls, 1);
    EXPECT_EQ(second.scopeCalls, 1);
    EXPECT_EQ(second.sourceCalls, 1);
    EXPECT_EQ(first.references, 2);
    EXPECT_EQ(second.references, 1);
}

TEST_F(LumoraErrorTest, OwnTextIsComposedOnce) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    FailedObject object;
    object.error = &failure;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(utf8(error.error_text()), "T");
    failure.errorText = text("changed");
    EXPECT_EQ(utf8(error.error_text()), "T");
    // The own text does not compose the chain.
    EXPECT_EQ(failure.scopeCalls, 0);
    EXPECT_EQ(failure.references, 2);
}

TEST_F(LumoraErrorTest, OwnTextFailureIsDescribedOnce) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    FakeError failure;
    failure.errorTextResult = LUMO_FAILED;
    FailedObject object;
    object.error = &failure;
    const lumora_error error(LUMO_FAILED, &object.record);

    EXPECT_EQ(utf8(error.error_text()), "Failed to obtain error text; desc 1");
    EXPECT_EQ(utf8(error.error_text()), "Failed to obtain error text; desc 1");
    EXPECT_EQ(gDescribed, std::vector<LUMORESULT>{LUMO_FAILED});
}

TEST_F(LumoraErrorTest, InterruptedCompositionDoesNotThrowAndGivesReferencesBack) {
    ZEMRA::setResultCodeDescriber(&describeByThrowing);
    FakeError first;
    FakeError second;
    configure(first, "S1", "O1", "T1");
    configure(second, "S2", "O2", "T2");
    first.cause = &second;
    second.errorTextResult = LUMO_FAILED;
    FailedObject object;
    object.error = &first;
    {
        const lumora_error error(LUMO_FAILED, &object.record);
        EXPECT_NO_THROW(error.full_text());
        EXPECT_NO_THROW(error.what());
        EXPECT_EQ(first.references, 2);
        EXPECT_EQ(second.references, 1);
    }
    EXPECT_EQ(first.references, 1);
    EXPECT_EQ(second.references, 1);
}

// ---- Copying ----

TEST_F(LumoraErrorTest, CopyBeforeCompositionAddsReferenceAndComposesOnItsOwn) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    FailedObject object;
    object.error = &failure;
    auto original = std::make_unique<lumora_error>(LUMO_FAILED, &object.record);
    {
        const lumora_error copy(*original);
        EXPECT_EQ(copy.code(), LUMO_FAILED);
        EXPECT_EQ(copy.error(), static_cast<ILumoError*>(&failure));
        EXPECT_EQ(failure.references, 3);

        original.reset();
        EXPECT_EQ(failure.references, 2);
        EXPECT_STREQ(copy.what(), "in S of O: T");
        EXPECT_EQ(utf8(copy.error_text()), "T");
        EXPECT_EQ(failure.scopeCalls, 1);
        EXPECT_EQ(failure.references, 2);
    }
    EXPECT_EQ(failure.references, 1);
    EXPECT_EQ(object.calls, 1);
}

TEST_F(LumoraErrorTest, CopyAfterCompositionKeepsTextsAndNotTheNarrowText) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    FailedObject object;
    object.error = &failure;
    auto original = std::make_unique<lumora_error>(LUMO_FAILED, &object.record);
    const char* originalWhat = original->what();
    ASSERT_STREQ(originalWhat, "in S of O: T");
    ASSERT_EQ(utf8(original->error_text()), "T");

    const lumora_error copy(*original);
    failure.errorText = text("changed");
    failure.scope = text("changed");

    const char* copyWhat = copy.what();
    EXPECT_NE(copyWhat, originalWhat);
    EXPECT_STREQ(copyWhat, "in S of O: T");
    EXPECT_EQ(utf8(copy.full_text()), "in S of O: T");
    EXPECT_EQ(utf8(copy.error_text()), "T");
    EXPECT_EQ(failure.scopeCalls, 1);

    // The copy's text outlives the original.
    original.reset();
    EXPECT_STREQ(copyWhat, "in S of O: T");
    EXPECT_EQ(failure.references, 2);
}

TEST_F(LumoraErrorTest, CopyWithoutErrorKeepsCodeAndDescription) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    const lumora_error original(LUMO_NULL_POINTER, nullptr);
    const lumora_error copy(original);

    EXPECT_EQ(copy.code(), LUMO_NULL_POINTER);
    EXPECT_EQ(copy.error(), nullptr);
    EXPECT_STREQ(copy.what(), "desc 103");
    EXPECT_STREQ(original.what(), "desc 103");
}

// ---- Raising and catching ----

TEST_F(LumoraErrorTest, CaughtAsStandardException) {
    try {
        throw lumora_error(LUMO_NULL_POINTER, nullptr);
    } catch (const std::exception& caught) {
        EXPECT_STREQ(caught.what(), "Result code 103");
        return;
    }
    FAIL() << "not caught as std::exception";
}

TEST_F(LumoraErrorTest, CaughtAsLumoraError) {
    ZEMRA::setResultCodeDescriber(&describeAsDesc);
    try {
        throw lumora_error(LUMO_NULL_POINTER, nullptr);
    } catch (const ZEMRA::lumora_error& caught) {
        EXPECT_EQ(caught.code(), LUMO_NULL_POINTER);
        EXPECT_EQ(caught.error(), nullptr);
        EXPECT_STREQ(caught.what(), "desc 103");
        return;
    }
    FAIL() << "not caught as lumora_error";
}

TEST_F(LumoraErrorTest, RaisedWithErrorKeepsReferencesBalanced) {
    FakeError failure;
    configure(failure, "S", "O", "T");
    FailedObject object;
    object.error = &failure;
    std::string caughtText;
    try {
        throw lumora_error(LUMO_FAILED, &object.record);
    } catch (const std::exception& caught) {
        caughtText = caught.what();
    }
    EXPECT_EQ(caughtText, "in S of O: T");
    EXPECT_EQ(object.calls, 1);
    EXPECT_EQ(failure.references, 1);
}

}  // namespace
