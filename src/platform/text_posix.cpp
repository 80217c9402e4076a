// UTF-8 and UTF-16 conversion written to match what code page 65001 does on Windows.
#include "platform/text.h"

namespace lumoidl::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

/// Range that the second byte of a sequence must lie in, given its lead byte.
struct SecondByteRange {
    unsigned char low;
    unsigned char high;
};

SecondByteRange secondByteRange(unsigned char lead) {
    switch (lead) {
    case 0xE0: return {0xA0, 0xBF};
    case 0xED: return {0x80, 0x9F};  // excludes the surrogate range
    case 0xF0: return {0x90, 0xBF};
    case 0xF4: return {0x80, 0x8F};  // nothing above U+10FFFF
    default: return {0x80, 0xBF};
    }
}

/// Number of bytes a sequence with this lead byte has, or 0 when it cannot lead one.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

void appendCodePoint(char32_t cp, std::string& out) {
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

}  // namespace

void appendUtf8AsUtf16(std::string_view utf8, ZEMRA::LumoText& out) {
    out.reserve(out.size() + utf8.size());
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            out += static_cast<LumoChar>(lead);
            ++p;
            continue;
        }
        const int length = sequenceLength(lead);
        if (length == 0) {
            out += kReplacement;
            ++p;
            continue;
        }
        // Take continuation bytes while they are valid; a sequence cut short is one
        // replacement character for the bytes it took (its maximal subpart).
        char32_t cp = lead & (0xFF >> (length + 1));
        int taken = 1;
        const SecondByteRange second = secondByteRange(lead);
        while (taken < length && p + taken < end) {
            const unsigned char byte = p[taken];
            const bool valid = taken == 1 ? (byte >= second.low && byte <= second.high)
                                          : (byte >= 0x80 && byte <= 0xBF);
            if (!valid) break;
            cp = (cp << 6) | (byte & 0x3F);
            ++taken;
        }
        p += taken;
        if (taken < length) {
            out += kReplacement;
        } else if (cp < 0x10000) {
            out += static_cast<LumoChar>(cp);
        } else {
            cp -= 0x10000;
            out += static_cast<LumoChar>(0xD800 + (cp >> 10));
            out += static_cast<LumoChar>(0xDC00 + (cp & 0x3FF));
        }
    }
}

std::string utf16ToUtf8(TextView utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char32_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() &&
            utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            appendCodePoint(0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00), out);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            appendCodePoint(kReplacement, out);
        } else {
            appendCodePoint(unit, out);
        }
    }
    return out;
}

}  // namespace lumoidl::platform
