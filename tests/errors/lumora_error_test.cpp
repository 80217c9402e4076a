// lumora_error and the result-code describer: texts from a code or a chain of causes, references.
#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <string>
#include <tuple>

#include "errors/result_code_describer.h"
#include "support/fake_host.h"

namespace {

using namespace std::string_literals;
using ZEMRA::lumora_error;
using lumoidl::test::FakeError;
using lumoidl::test::text;
using lumoidl::test::utf8;

void describeAsDesc(LUMORESULT code, ILumoString* receiver) {
    const ZEMRA::LumoText out = text("desc " + std::to_string(code));
    receiver->vTbl->set(receiver->me, out.data(), static_cast<uint32_t>(out.size()));
}

void describeByThrowing(LUMORESULT, ILumoString*) { throw std::bad_alloc(); }

/// Three errors answering "S1", "O1", "T1" to "S3", "O3", "T3", the first `length` of them
/// linked as causes; the failed object hands out the first.
struct Chain {
    explicit Chain(int length) {
        for (int k = 0; k < 3; ++k) {
            const std::string n = std::to_string(k + 1);
            errors[k].scope = text("S" + n), errors[k].source = text("O" + n), errors[k].errorText = text("T" + n);
            if (k + 1 < length) errors[k].cause = &errors[k + 1];
        }
        object.error = &errors[0];
    }
    FakeError errors[3];
    lumoidl::test::FailedObject object;
};

class LumoraErrorTest : public ::testing::Test {
protected:
    void TearDown() override { ZEMRA::setResultCodeDescriber(nullptr); }
};

TEST_F(LumoraErrorTest, CodeWithoutAnErrorObjectIsDescribed) {
    // The code, whether a describer is registered and a failed object without an error is given,
    // and the text; only LUMO_FAILED asks the object.
    const std::tuple<LUMORESULT, bool, std::string> cases[] = {
        {LUMO_NULL_POINTER, false, "Result code 103"}, {LUMO_FAILED, false, "Result code 1"},
        {0xFFFFFFFFu, false, "Result code 4294967295"}, {LUMO_NULL_POINTER, true, "desc 103"},
        {LUMO_FAILED, true, "desc 1"}};
    for (const auto& [code, described, expected] : cases) {
        ZEMRA::setResultCodeDescriber(described ? &describeAsDesc : nullptr);
        lumoidl::test::FailedObject object;
        const lumora_error error(code, described ? &object.record : nullptr);
        EXPECT_TRUE(error.code() == code && !error.error() && object.calls == (described && code == LUMO_FAILED));
        EXPECT_EQ(utf8(error.error_text()) + "|" + utf8(error.full_text()) + "|" + error.what(),
                  expected + "|" + expected + "|" + expected);
    }
}

TEST_F(LumoraErrorTest, TextsAreComposedOnceAlongTheChain) {
    using E = FakeError*;
    struct Case {
        int length;  // of the chain
        void (*describer)(LUMORESULT, ILumoString*), (*adjust)(E);
        std::string full, own;
    };
    const Case cases[] = {
        {3, nullptr, [](E) {}, "in S1 of O1: T1, caused by: in S2 of O2: T2, caused by: in S3 of O3: T3", "T1"},
        // Only LUMO_FAILED counts as a failure of a query.
        {2, nullptr, [](E e) { e[0].scopeResult = e[1].sourceResult = LUMO_FAILED, e[0].sourceResult = 2; },
         "in <unknown scope> of O1: T1, caused by: in S2 of <unknown source>: T2", "T1"},
        {1, &describeAsDesc, [](E e) { e[0].errorTextResult = LUMO_FAILED; },
         "in S1 of O1: Failed to obtain error text; desc 1", "Failed to obtain error text; desc 1"},
        {2, &describeByThrowing, [](E e) { e[1].errorTextResult = LUMO_FAILED; },
         "in S1 of O1: T1, caused by: in S2 of O2: Failed to obtain error text; ", "T1"},
        // The receiver is shared along the chain: a query that writes nothing leaves the last text.
        {2, nullptr, [](E e) { e[0].writeSource = e[0].writeErrorText = e[1].writeScope = e[1].writeErrorText = 0; },
         "in S1 of S1: S1, caused by: in S1 of O2: O2", ""},
        // Answers are cut at a zero; each placeholder is the first of the whole text, replaced once.
        {1, nullptr, [](E e) { e[0].scope = text("x%SOURCE%\0y"s), e[0].source = text("%SCOPE%"); },
         "in x%SCOPE% of %SOURCE%: T1", "T1"},
        {2, nullptr, [](E e) { e[0].errorText = text("a %SOURCE% b"); },
         "in S1 of O1: a O2 b, caused by: in S2 of %SOURCE%: T2", "a %SOURCE% b"},
        {2, nullptr, [](E e) { e[0].errorText = text("a\0b"s); },
         "in S1 of O1: a\0b, caused by: in S2 of O2: T2"s, "a\0b"s},
        // A failing getCause ends the chain; the cause it wrote is released.
        {3, nullptr, [](E e) { e[1].causeResult = e[0].errorTextResult = 2; },
         "in S1 of O1: T1, caused by: in S2 of O2: T2", "T1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.full);
        ZEMRA::setResultCodeDescriber(c.describer);
        Chain chain(c.length);
        c.adjust(chain.errors);
        {
            const lumora_error error(LUMO_FAILED, &chain.object.record);
            EXPECT_EQ(utf8(error.full_text()), c.full);
            EXPECT_EQ(utf8(error.error_text()), c.own);
            EXPECT_EQ(error.what(), c.full.substr(0, c.full.find('\0')));
            chain.errors[0].errorText = chain.errors[1].scope = text("changed");
            EXPECT_EQ(utf8(error.full_text()), c.full);
            if (!c.own.empty()) { EXPECT_EQ(utf8(error.error_text()), c.own); }
            EXPECT_EQ(chain.errors[0].scopeCalls, 1);
            EXPECT_EQ(chain.errors[0].references, 2);
        }
        for (const FakeError& e : chain.errors) EXPECT_EQ(e.references, 1);
    }
}

TEST_F(LumoraErrorTest, CopyHoldsItsOwnReferenceAndTexts) {
    Chain chain(1);
    auto original = std::make_unique<lumora_error>(LUMO_FAILED, &chain.object.record);
    ASSERT_EQ(original->what() + utf8(original->error_text()), "in S1 of O1: T1T1");
    const lumora_error copy(*original);
    EXPECT_EQ(chain.errors[0].references, 3);
    original.reset();
    chain.errors[0].errorText = text("changed");
    EXPECT_EQ(copy.what() + utf8(copy.error_text()), "in S1 of O1: T1T1");
    EXPECT_TRUE(copy.code() == LUMO_FAILED && chain.object.calls == 1 && chain.errors[0].references == 2);
    const lumora_error plain(LUMO_NULL_POINTER, nullptr);  // copied without an error object
    EXPECT_STREQ(lumora_error(plain).what(), "Result code 103");
}

}  // namespace
