// TokenText: texts made and deleted in bulk keep their values, registry and live count straight.
#include "tree/token_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "tree/orphan_registry.h"

namespace {

using namespace ZEMRA::IDL::PARSER;

/// A value of its own for text `i` of round `round`: lengths 1 to 40, so that some fit in the
/// string itself and some need memory of their own.
std::string valueOf(int round, size_t i) {
    return std::string(i % 40 + 1, static_cast<char>('a' + (i + static_cast<size_t>(round)) % 26)) + "#" +
           std::to_string(round) + "." + std::to_string(i);
}

/// Every test starts and ends with empty registries; `live_` is the live count at the start.
class TokenTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        purgeAll();
        live_ = liveParseObjects();
    }
    void TearDown() override {
        purgeAll();
        EXPECT_EQ(liveParseObjects(), live_);
    }

    long alive() const { return liveParseObjects() - live_; }

    /// Makes `count` texts of round `round`, checking the counts after each.
    std::vector<TokenText*> make(int round, size_t count) {
        std::vector<TokenText*> texts;
        for (size_t i = 0; i < count; ++i) {
            texts.push_back(new TokenText(valueOf(round, i)));
            EXPECT_TRUE(texts.back()->registered());
            EXPECT_EQ(orphanRegistry<TokenText>.size(), i + 1);
            EXPECT_EQ(alive(), static_cast<long>(i + 1));
        }
        return texts;
    }

    /// Checks that text `i` of `texts` still holds the value it was made with in `round`.
    void expectValues(int round, const std::vector<TokenText*>& texts) {
        for (size_t i = 0; i < texts.size(); ++i) {
            ASSERT_NE(texts[i], nullptr);
            EXPECT_EQ(texts[i]->text, valueOf(round, i)) << "text " << i;
        }
    }

    long live_ = 0;
};

TEST_F(TokenTextTest, ManyAliveThenAllDeletedThenMadeAgain) {
    // More texts alive than the kept memory holds; each round deletes in another order.
    constexpr size_t kCount = 150;
    const struct {
        const char* order;
        size_t (*index)(size_t);
    } orders[] = {
        {"first made first", [](size_t k) { return k; }},
        {"last made first", [](size_t k) { return kCount - 1 - k; }},
        {"even ones, then odd ones", [](size_t k) { return k < kCount / 2 ? 2 * k : 2 * (k - kCount / 2) + 1; }},
        {"first made first again", [](size_t k) { return k; }},
    };
    int round = 0;
    for (const auto& order : orders) {
        SCOPED_TRACE(order.order);
        std::vector<TokenText*> texts = make(round, kCount);
        expectValues(round, texts);
        for (size_t k = 0; k < kCount; ++k) {
            const size_t i = order.index(k);
            ASSERT_NE(texts[i], nullptr) << "deleted twice: " << i;
            EXPECT_EQ(texts[i]->text, valueOf(round, i));
            delete texts[i];
            texts[i] = nullptr;
            EXPECT_EQ(orphanRegistry<TokenText>.size(), kCount - k - 1);
            EXPECT_EQ(alive(), static_cast<long>(kCount - k - 1));
        }
        ++round;
    }
}

TEST_F(TokenTextTest, TextMadeInSpentMemoryHoldsOnlyItsOwnValue) {
    // Short after long, long after short and empty, one at a time as the parser makes them.
    const std::string values[] = {"abcdefghijklmnopqrstuvwxyz", "ab", "", "abcdefghijklmnopqrstuvwxyz0123456789",
                                  "x", std::string("z\0z", 3)};
    TokenText* previous = nullptr;
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        delete previous;
        auto* text = new TokenText(value);
        EXPECT_EQ(text->text, value);
        EXPECT_EQ(text->text.size(), value.size());
        EXPECT_TRUE(text->registered());
        EXPECT_EQ(orphanRegistry<TokenText>.size(), 1u);
        EXPECT_EQ(alive(), 1);
        previous = text;
    }
    delete previous;
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 0u);
    EXPECT_EQ(alive(), 0);
}

TEST_F(TokenTextTest, PurgeAllDestroysTextsInFreshAndSpentMemory) {
    // 70 of 100 deleted leave memory kept for reuse; the next 80 take all of it and then some.
    std::vector<TokenText*> first = make(0, 100);
    for (size_t i = 0; i < 70; ++i) delete first[i];
    first.erase(first.begin(), first.begin() + 70);
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 30u);

    std::vector<TokenText*> second;
    for (size_t i = 0; i < 80; ++i) second.push_back(new TokenText(valueOf(1, i)));
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 110u);
    EXPECT_EQ(alive(), 110);
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i]->text, valueOf(0, i + 70));
    expectValues(1, second);

    // An adopted text leaves the registry and survives the purge.
    TokenText* adopted = adoptOrphan(second[5]);
    EXPECT_FALSE(adopted->registered());
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 109u);
    purgeAll();
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 0u);
    EXPECT_EQ(alive(), 1);
    EXPECT_EQ(adopted->text, valueOf(1, 5));
    delete adopted;
    EXPECT_EQ(alive(), 0);

    // Texts made after the purge register and hold their values as before.
    std::vector<TokenText*> third = make(2, 70);
    expectValues(2, third);
    purgeAll();
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 0u);
    EXPECT_EQ(alive(), 0);
}

}  // namespace
