// UTF-8 <-> UTF-16 conversion: every scalar value, ill-formed bytes, lone surrogates.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "platform/text.h"

namespace lumoidl::platform {
namespace {

using ZEMRA::LumoText;

constexpr unsigned R = 0xFFFD;

std::string bytes(std::initializer_list<unsigned> values) { return std::string(values.begin(), values.end()); }
LumoText units(std::initializer_list<unsigned> values) { return LumoText(values.begin(), values.end()); }

TEST(Text, IllFormedInputBecomesOneReplacementPerFault) {
    // One U+FFFD for the bytes taken before the check that failed, or for all that is left.
    const std::pair<std::string, LumoText> utf8Cases[] = {
        {bytes({0xC3, 0xA9, 0xC0, 0x80, 0xC1, 0xBF, 0xF5, 0x80, 0x80, 0x80}), units({0xE9, R, R, R, R, R, R, R, R})},
        {bytes({0xC3, 0xC0, 0xE2, 0xC0, 0x80, 0xF1, 0xC0, 0x80, 0x80}), units({R, R, R, R, R, R, R, R, R})},
        {bytes({0xE0, 0x9F, 0xBF, 0xF0, 0x8F, 0xBF, 0xBF, 0xED, 0xA0, 0x80}), units({R, R, R, R, R, R, R})},
        {bytes({0xED, 0xBF, 0xBF, 0xF4, 0x90, 0x80, 0x80, 'a', 0xF0, 0x9F, 0x98}), units({R, R, R, R, R, 'a', R})},
        {bytes({0xE2, 0x82, 'A', 0xC3, 'B', 0xF1, 0x80, 0x80, 0xE1, 0x80, 0xC2}), units({R, 'A', R, 'B', R, R, R})},
    };
    for (const auto& [utf8, utf16] : utf8Cases) EXPECT_EQ(utf8ToUtf16(utf8), utf16);
    // A surrogate that is not the high half of a pair is one U+FFFD.
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(utf16ToUtf8(units({0xDBFF, 'A', 0xDC00, 0xDC00, 0xD800, 0xD83D, 0xDE00})),
              r + "A" + r + r + r + "\xF0\x9F\x98\x80");
    EXPECT_EQ(utf16ToUtf8(units({0xD7FF, 0xDC00, 0xD800, 0xE000})), "\xED\x9F\xBF" + r + r + "\xEE\x80\x80");
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        const bool takesTheRest = b >= 0xE0 && b <= 0xF4;
        EXPECT_EQ(utf8ToUtf16(bytes({b, 'x'})), takesTheRest ? units({R}) : units({R, 'x'}));
    }
    for (unsigned unit = 0xD800; unit <= 0xDFFF; ++unit) EXPECT_EQ(utf16ToUtf8(units({unit})), r);
}

TEST(Text, EveryScalarValueRoundTrips) {
    EXPECT_EQ(utf8ToUtf16(bytes({'a', 0, 0xC3, 0xA9, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80})),
              units({'a', 0, 0xE9, 0x20AC, 0xD83D, 0xDE00}));
    LumoText all;
    size_t utf8Length = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        if (cp < 0x10000) all += static_cast<LumoChar>(cp);
        else all += units({0xD800 + ((cp - 0x10000) >> 10), 0xDC00 + ((cp - 0x10000) & 0x3FF)});
        utf8Length += cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
    }
    const std::string utf8 = utf16ToUtf8(all);
    EXPECT_EQ(utf8.size(), utf8Length);
    EXPECT_TRUE(utf8ToUtf16(utf8) == all);
}

}  // namespace
}  // namespace lumoidl::platform
