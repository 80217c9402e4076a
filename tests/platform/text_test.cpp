// UTF-8 <-> UTF-16 conversion: well-formed text, every kind of ill-formed input, lengths.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <ostream>
#include <string>

#include "platform/text.h"

namespace lumoidl::platform {
namespace {

using ZEMRA::LumoText;

constexpr LumoChar kFFFD = 0xFFFD;

/// Builds a byte string from byte values, so that no escape can swallow a following digit.
std::string bytes(std::initializer_list<unsigned> values) {
    std::string out;
    for (unsigned v : values) out += static_cast<char>(static_cast<unsigned char>(v));
    return out;
}

/// Builds UTF-16 text from unit values.
LumoText units(std::initializer_list<unsigned> values) {
    LumoText out;
    for (unsigned v : values) out += static_cast<LumoChar>(v);
    return out;
}

/// "0061 FFFD" style rendering of UTF-16 text, for readable failure messages.
std::string hexUnits(const LumoText& text) {
    std::string out;
    char buffer[8];
    for (LumoChar unit : text) {
        std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(unit));
        if (!out.empty()) out += ' ';
        out += buffer;
    }
    return out;
}

/// "E2 82 AC" style rendering of bytes.
std::string hexBytes(const std::string& text) {
    std::string out;
    char buffer[4];
    for (char c : text) {
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
        if (!out.empty()) out += ' ';
        out += buffer;
    }
    return out;
}

/// Reference encoder for one scalar value, independent of the code under test.
void encodeUtf8(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void encodeUtf16(char32_t cp, LumoText& out) {
    if (cp < 0x10000) {
        out += static_cast<LumoChar>(cp);
    } else {
        out += static_cast<LumoChar>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<LumoChar>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// ---------------------------------------------------------------------------------------
// UTF-8 -> UTF-16

struct Utf8Case {
    const char* name;
    std::string input;
    LumoText expected;
};

std::ostream& operator<<(std::ostream& os, const Utf8Case& c) {
    return os << c.name << " [" << hexBytes(c.input) << "]";
}

class Utf8ToUtf16Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16Test, ConvertsAsCodePage65001) {
    const Utf8Case& c = GetParam();
    EXPECT_EQ(hexUnits(utf8ToUtf16(c.input)), hexUnits(c.expected)) << "input " << hexBytes(c.input);
}

TEST_P(Utf8ToUtf16Test, AppendGivesTheSameUnitsAfterExistingContent) {
    const Utf8Case& c = GetParam();
    LumoText out = units({'p', 0x00E9, 0xD83D, 0xDE00});
    appendUtf8AsUtf16(c.input, out);
    EXPECT_EQ(hexUnits(out), hexUnits(units({'p', 0x00E9, 0xD83D, 0xDE00}) + c.expected));
}

// Well-formed input: every length of sequence and the edges of each range.
INSTANTIATE_TEST_SUITE_P(
    WellFormed, Utf8ToUtf16Test,
    ::testing::Values(
        Utf8Case{"Empty", "", LumoText{}},
        Utf8Case{"Ascii", "interface IFoo;", units({'i', 'n', 't', 'e', 'r', 'f', 'a', 'c', 'e', ' ',
                                                    'I', 'F', 'o', 'o', ';'})},
        Utf8Case{"AsciiControlAndDelete", bytes({0x01, 0x09, 0x0A, 0x0D, 0x7F}),
                 units({0x01, 0x09, 0x0A, 0x0D, 0x7F})},
        Utf8Case{"EmbeddedZeroByte", bytes({'a', 0x00, 'b'}), units({'a', 0x0000, 'b'})},
        Utf8Case{"OnlyZeroBytes", bytes({0x00, 0x00}), units({0x0000, 0x0000})},
        Utf8Case{"TwoByteLowest", bytes({0xC2, 0x80}), units({0x0080})},
        Utf8Case{"TwoByteLatin", bytes({0xC3, 0xA9}), units({0x00E9})},
        Utf8Case{"TwoByteHighest", bytes({0xDF, 0xBF}), units({0x07FF})},
        Utf8Case{"ThreeByteLowest", bytes({0xE0, 0xA0, 0x80}), units({0x0800})},
        Utf8Case{"ThreeByteEuro", bytes({0xE2, 0x82, 0xAC}), units({0x20AC})},
        Utf8Case{"ThreeByteCjk", bytes({0xE5, 0x90, 0x8D, 0xE5, 0x89, 0x8D}), units({0x540D, 0x524D})},
        Utf8Case{"ThreeByteBelowSurrogates", bytes({0xED, 0x9F, 0xBF}), units({0xD7FF})},
        Utf8Case{"ThreeByteAboveSurrogates", bytes({0xEE, 0x80, 0x80}), units({0xE000})},
        Utf8Case{"ThreeByteReplacementItself", bytes({0xEF, 0xBF, 0xBD}), units({0xFFFD})},
        Utf8Case{"ThreeByteHighest", bytes({0xEF, 0xBF, 0xBF}), units({0xFFFF})},
        Utf8Case{"ByteOrderMarkKept", bytes({0xEF, 0xBB, 0xBF, 'x'}), units({0xFEFF, 'x'})},
        Utf8Case{"FourByteLowestIsPair", bytes({0xF0, 0x90, 0x80, 0x80}), units({0xD800, 0xDC00})},
        Utf8Case{"FourByteEmojiIsPair", bytes({0xF0, 0x9F, 0x98, 0x80}), units({0xD83D, 0xDE00})},
        Utf8Case{"FourByteHighestIsPair", bytes({0xF4, 0x8F, 0xBF, 0xBF}), units({0xDBFF, 0xDFFF})},
        Utf8Case{"Mixed", bytes({'A', 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80, 'Z'}),
                 units({'A', 0x00E9, 0x20AC, 0xD83D, 0xDE00, 'Z'})}),
    [](const ::testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

// Ill-formed input, as the Windows conversion treats it: a sequence announced longer than the
// rest of the input makes that rest one U+FFFD; otherwise a malformed sequence is one U+FFFD
// for the bytes taken before the check that failed, and decoding goes on after them.
INSTANTIATE_TEST_SUITE_P(
    IllFormed, Utf8ToUtf16Test,
    ::testing::Values(
        // Continuation bytes with no lead.
        Utf8Case{"LoneContinuationLowest", bytes({0x80}), units({kFFFD})},
        Utf8Case{"LoneContinuationHighest", bytes({0xBF}), units({kFFFD})},
        Utf8Case{"TwoLoneContinuations", bytes({0x80, 0xBF}), units({kFFFD, kFFFD})},
        Utf8Case{"ContinuationBetweenAscii", bytes({'a', 0x9F, 'b'}), units({'a', kFFFD, 'b'})},
        Utf8Case{"ExtraContinuationAfterComplete", bytes({0xC3, 0xA9, 0xA9}), units({0x00E9, kFFFD})},
        // Bytes that can never lead a sequence.
        Utf8Case{"LeadC0", bytes({0xC0, 0x80}), units({kFFFD, kFFFD})},
        Utf8Case{"LeadC0Slash", bytes({0xC0, 0xAF}), units({kFFFD, kFFFD})},
        Utf8Case{"LeadC1", bytes({0xC1, 0xBF}), units({kFFFD, kFFFD})},
        Utf8Case{"LeadF5", bytes({0xF5, 0x80, 0x80, 0x80}), units({kFFFD, kFFFD, kFFFD, kFFFD})},
        Utf8Case{"LeadF8FiveBytes", bytes({0xF8, 0x88, 0x80, 0x80, 0x80}),
                 units({kFFFD, kFFFD, kFFFD, kFFFD, kFFFD})},
        Utf8Case{"LeadFE", bytes({0xFE}), units({kFFFD})},
        Utf8Case{"LeadFF", bytes({0xFF, 'a'}), units({kFFFD, 'a'})},
        // Overlong forms: rejected once the bits that make them overlong have been read.
        Utf8Case{"OverlongThreeByteZero", bytes({0xE0, 0x80, 0x80}), units({kFFFD, kFFFD})},
        Utf8Case{"OverlongThreeByteHighest", bytes({0xE0, 0x9F, 0xBF}), units({kFFFD, kFFFD})},
        Utf8Case{"OverlongFourByteZero", bytes({0xF0, 0x80, 0x80, 0x80}),
                 units({kFFFD, kFFFD, kFFFD})},
        Utf8Case{"OverlongFourByteHighest", bytes({0xF0, 0x8F, 0xBF, 0xBF}),
                 units({kFFFD, kFFFD, kFFFD})},
        // Surrogates encoded in UTF-8: rejected after the second byte.
        Utf8Case{"EncodedHighSurrogate", bytes({0xED, 0xA0, 0x80}), units({kFFFD, kFFFD})},
        Utf8Case{"EncodedLowSurrogate", bytes({0xED, 0xBF, 0xBF}), units({kFFFD, kFFFD})},
        Utf8Case{"EncodedSurrogatePair", bytes({0xED, 0xA0, 0xBD, 0xED, 0xB8, 0x80}),
                 units({kFFFD, kFFFD, kFFFD, kFFFD})},
        // Above U+10FFFF.
        Utf8Case{"AboveLastCodePoint", bytes({0xF4, 0x90, 0x80, 0x80}),
                 units({kFFFD, kFFFD, kFFFD})},
        Utf8Case{"AboveLastCodePointF7", bytes({0xF7, 0xBF, 0xBF, 0xBF}),
                 units({kFFFD, kFFFD, kFFFD, kFFFD})},
        // Truncated at the end of the input: the rest is one U+FFFD.
        Utf8Case{"TruncatedTwoByteAtEnd", bytes({'a', 0xC3}), units({'a', kFFFD})},
        Utf8Case{"TruncatedThreeByteLeadOnlyAtEnd", bytes({0xE2}), units({kFFFD})},
        Utf8Case{"TruncatedThreeByteAtEnd", bytes({0xE2, 0x82}), units({kFFFD})},
        Utf8Case{"TruncatedFourByteOneContinuationAtEnd", bytes({0xF0, 0x9F}), units({kFFFD})},
        Utf8Case{"TruncatedFourByteAtEnd", bytes({0xF0, 0x9F, 0x98}), units({kFFFD})},
        Utf8Case{"TruncatedSurrogateBoundaryAtEnd", bytes({0xED, 0x9F}), units({kFFFD})},
        // Truncated before another character.
        Utf8Case{"TruncatedTwoByteBeforeAscii", bytes({0xC3, 'A'}), units({kFFFD, 'A'})},
        Utf8Case{"TruncatedThreeByteBeforeAscii", bytes({0xE2, 0x82, 'A'}), units({kFFFD, 'A'})},
        Utf8Case{"TruncatedFourByteBeforeAscii", bytes({0xF0, 0x9F, 0x98, 'A'}), units({kFFFD, 'A'})},
        Utf8Case{"TruncatedBeforeZeroByte", bytes({0xE2, 0x00}), units({kFFFD})},
        Utf8Case{"TruncatedBeforeValidSequence", bytes({0xE2, 0x82, 0xE2, 0x82, 0xAC}),
                 units({kFFFD, 0x20AC})},
        Utf8Case{"TruncatedBeforeLeadOfSameLength", bytes({0xC3, 0xC3, 0xA9}), units({kFFFD, 0x00E9})},
        Utf8Case{"TruncatedFourByteBeforeFourByte", bytes({0xF0, 0x9F, 0xF0, 0x9F, 0x98, 0x80}),
                 units({kFFFD, 0xD83D, 0xDE00})},
        // A run of mixed faults: a, F1 80 80, E1 80, C2, b, 80, c, 80, BF, d.
        Utf8Case{"MixedFaults",
                 bytes({0x61, 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2, 0x62, 0x80, 0x63, 0x80, 0xBF, 0x64}),
                 units({'a', kFFFD, kFFFD, kFFFD, 'b', kFFFD, 'c', kFFFD, kFFFD, 'd'})}),
    [](const ::testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

TEST(Utf8ToUtf16, EveryLoneNonAsciiByteIsOneReplacement) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(hexUnits(utf8ToUtf16(bytes({b}))), hexUnits(units({kFFFD})));
        // A lead of a three- or four-byte sequence announces more than is left and takes the
        // rest; any other byte leaves the following ASCII byte alone.
        const bool takesTheRest = b >= 0xE0 && b <= 0xF4;
        EXPECT_EQ(hexUnits(utf8ToUtf16(bytes({b, 'x'}))),
                  hexUnits(takesTheRest ? units({kFFFD}) : units({kFFFD, 'x'})));
    }
}

TEST(Utf8ToUtf16, EveryScalarValueConvertsToItsUtf16Form) {
    std::string input;
    LumoText expected;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        encodeUtf8(cp, input);
        encodeUtf16(cp, expected);
    }
    const LumoText actual = utf8ToUtf16(input);
    ASSERT_EQ(actual.size(), expected.size());
    // Find the first difference rather than printing two megabytes.
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i]) << "unit " << i;
    }
}

TEST(Utf8ToUtf16, AppendKeepsExistingContentForEmptyInput) {
    LumoText out = units({'a', 0x0000, 'b'});
    appendUtf8AsUtf16("", out);
    EXPECT_EQ(hexUnits(out), hexUnits(units({'a', 0x0000, 'b'})));
}

TEST(Utf8ToUtf16, RepeatedAppendsConcatenate) {
    LumoText out;
    appendUtf8AsUtf16("Failed to open \"", out);
    appendUtf8AsUtf16(bytes({0xC3, 0x9C}), out);
    appendUtf8AsUtf16(bytes({0xE2, 0x82}), out);  // cut short: one replacement, not joined later
    appendUtf8AsUtf16(bytes({0xAC, '"'}), out);
    EXPECT_EQ(hexUnits(out), hexUnits(units({'F', 'a', 'i', 'l', 'e', 'd', ' ', 't', 'o', ' ', 'o',
                                              'p', 'e', 'n', ' ', '"', 0x00DC, kFFFD, kFFFD, '"'})));
}

TEST(Utf8ToUtf16, ViewLengthNotTerminatorDecidesTheInput) {
    const char data[] = {'a', '\0', 'b', 'c'};
    EXPECT_EQ(hexUnits(utf8ToUtf16(std::string_view(data, 3))), hexUnits(units({'a', 0x0000, 'b'})));
}

// ---------------------------------------------------------------------------------------
// UTF-16 -> UTF-8

struct Utf16Case {
    const char* name;
    LumoText input;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const Utf16Case& c) {
    return os << c.name << " [" << hexUnits(c.input) << "]";
}

class Utf16ToUtf8Test : public ::testing::TestWithParam<Utf16Case> {};

TEST_P(Utf16ToUtf8Test, ConvertsAsCodePage65001) {
    const Utf16Case& c = GetParam();
    EXPECT_EQ(hexBytes(utf16ToUtf8(c.input)), hexBytes(c.expected)) << "input " << hexUnits(c.input);
}

const std::string kReplacementBytes = bytes({0xEF, 0xBF, 0xBD});

INSTANTIATE_TEST_SUITE_P(
    WellFormed, Utf16ToUtf8Test,
    ::testing::Values(
        Utf16Case{"Empty", LumoText{}, ""},
        Utf16Case{"Ascii", units({'I', 'F', 'o', 'o'}), "IFoo"},
        Utf16Case{"EmbeddedZeroUnit", units({'a', 0x0000, 'b'}), bytes({'a', 0x00, 'b'})},
        Utf16Case{"Delete", units({0x7F}), bytes({0x7F})},
        Utf16Case{"TwoByteLowest", units({0x0080}), bytes({0xC2, 0x80})},
        Utf16Case{"TwoByteLatin", units({0x00DC}), bytes({0xC3, 0x9C})},
        Utf16Case{"TwoByteHighest", units({0x07FF}), bytes({0xDF, 0xBF})},
        Utf16Case{"ThreeByteLowest", units({0x0800}), bytes({0xE0, 0xA0, 0x80})},
        Utf16Case{"ThreeByteCjk", units({0x540D, 0x524D}), bytes({0xE5, 0x90, 0x8D, 0xE5, 0x89, 0x8D})},
        Utf16Case{"BelowSurrogates", units({0xD7FF}), bytes({0xED, 0x9F, 0xBF})},
        Utf16Case{"AboveSurrogates", units({0xE000}), bytes({0xEE, 0x80, 0x80})},
        Utf16Case{"ReplacementItself", units({0xFFFD}), kReplacementBytes},
        Utf16Case{"HighestBmp", units({0xFFFF}), bytes({0xEF, 0xBF, 0xBF})},
        Utf16Case{"LowestPair", units({0xD800, 0xDC00}), bytes({0xF0, 0x90, 0x80, 0x80})},
        Utf16Case{"EmojiPair", units({0xD83D, 0xDE00}), bytes({0xF0, 0x9F, 0x98, 0x80})},
        Utf16Case{"HighestPair", units({0xDBFF, 0xDFFF}), bytes({0xF4, 0x8F, 0xBF, 0xBF})},
        Utf16Case{"TwoPairsInARow", units({0xD83D, 0xDE00, 0xD83D, 0xDE01}),
                  bytes({0xF0, 0x9F, 0x98, 0x80, 0xF0, 0x9F, 0x98, 0x81})}),
    [](const ::testing::TestParamInfo<Utf16Case>& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    LoneSurrogates, Utf16ToUtf8Test,
    ::testing::Values(
        Utf16Case{"LoneHighBeforeAscii", units({0xD800, 'A'}), kReplacementBytes + "A"},
        Utf16Case{"LoneHighHighest", units({'x', 0xDBFF, 'y'}), "x" + kReplacementBytes + "y"},
        Utf16Case{"LoneLow", units({0xDC00}), kReplacementBytes},
        Utf16Case{"LoneLowHighest", units({'A', 0xDFFF, 'B'}), "A" + kReplacementBytes + "B"},
        Utf16Case{"HighAtEnd", units({'A', 0xD83D}), "A" + kReplacementBytes},
        Utf16Case{"HighAlone", units({0xD800}), kReplacementBytes},
        Utf16Case{"ReversedPair", units({0xDC00, 0xD800}), kReplacementBytes + kReplacementBytes},
        Utf16Case{"TwoHighs", units({0xD800, 0xD800}), kReplacementBytes + kReplacementBytes},
        Utf16Case{"TwoLows", units({0xDC00, 0xDC00}), kReplacementBytes + kReplacementBytes},
        Utf16Case{"HighThenPair", units({0xD800, 0xD83D, 0xDE00}),
                  kReplacementBytes + bytes({0xF0, 0x9F, 0x98, 0x80})},
        Utf16Case{"PairThenLow", units({0xD83D, 0xDE00, 0xDE00}),
                  bytes({0xF0, 0x9F, 0x98, 0x80}) + kReplacementBytes},
        Utf16Case{"HighBeforeZeroUnit", units({0xD800, 0x0000}), kReplacementBytes + bytes({0x00})}),
    [](const ::testing::TestParamInfo<Utf16Case>& info) { return std::string(info.param.name); });

TEST(Utf16ToUtf8, EveryScalarValueConvertsToItsUtf8Form) {
    LumoText input;
    std::string expected;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        encodeUtf16(cp, input);
        encodeUtf8(cp, expected);
    }
    const std::string actual = utf16ToUtf8(input);
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i]) << "byte " << i;
    }
}

TEST(Utf16ToUtf8, EverySurrogateUnitAloneBecomesOneReplacement) {
    for (unsigned unit = 0xD800; unit <= 0xDFFF; ++unit) {
        SCOPED_TRACE(unit);
        ASSERT_EQ(hexBytes(utf16ToUtf8(units({unit}))), hexBytes(kReplacementBytes));
    }
}

TEST(Utf16ToUtf8, ViewLengthNotTerminatorDecidesTheInput) {
    const LumoChar data[] = {'a', 0x0000, 'b', 'c'};
    EXPECT_EQ(hexBytes(utf16ToUtf8(TextView(data, 3))), hexBytes(bytes({'a', 0x00, 'b'})));
}

TEST(Utf16ToUtf8, RoundTripOfWellFormedTextIsExact) {
    const std::string original =
        bytes({'I', 0xC3, 0x9C, 0xE5, 0x90, 0x8D, 0xF0, 0x9F, 0x98, 0x80, 0x00, 0xF4, 0x8F, 0xBF, 0xBF});
    EXPECT_EQ(hexBytes(utf16ToUtf8(utf8ToUtf16(original))), hexBytes(original));
}

// ---------------------------------------------------------------------------------------
// unitLength

TEST(TextUnitLength, CountsUnitsBeforeTheFirstZero) {
    const LumoChar empty[] = {0};
    const LumoChar ascii[] = {'a', 'b', 'c', 0};
    const LumoChar embedded[] = {'a', 'b', 0, 'c', 'd', 0};
    const LumoChar pair[] = {0xD83D, 0xDE00, 0};
    const LumoChar wide[] = {0x540D, 0xFFFF, 0xFFFD, 0x0100, 0};
    EXPECT_EQ(unitLength(empty), 0u);
    EXPECT_EQ(unitLength(ascii), 3u);
    EXPECT_EQ(unitLength(embedded), 2u);
    EXPECT_EQ(unitLength(embedded + 3), 2u);
    EXPECT_EQ(unitLength(pair), 2u);
    EXPECT_EQ(unitLength(wide), 4u);
}

TEST(TextUnitLength, MatchesTheStringSize) {
    const LumoText name = units({'/', 't', 'm', 'p', '/', 0x00DC, 0x540D, 0xD83D, 0xDE00, '.', 'i', 'd', 'l'});
    EXPECT_EQ(unitLength(name.c_str()), name.size());
}

}  // namespace
}  // namespace lumoidl::platform
