// UTF-8 and UTF-16 conversion written to match what code page 65001 does on Windows.
#include "platform/text.h"

namespace lumoidl::platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

/// Number of continuation bytes a lead byte announces; 0 for bytes that lead nothing
/// (continuation bytes, C0, C1 and F5 to FF).
int continuationCount(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

/// Decodes the sequence led by `lead`, whose continuation bytes start at `next`. Like the
/// Windows conversion, a sequence that would run past the end swallows the rest of the input,
/// and a malformed one is one replacement for the bytes taken before the check that failed.
char32_t decodeSequence(unsigned char lead, const unsigned char*& next, const unsigned char* end) {
    static const unsigned char kLeadMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
    const int count = continuationCount(lead);
    char32_t value = lead & kLeadMask[count];
    if (count > end - next) {
        next = end;
        return kInvalid;
    }
    const unsigned char* const last = next + count;
    unsigned char bits = 0;
    switch (count) {
    case 3:
        if ((bits = last[-3] ^ 0x80) >= 0x40) break;
        value = (value << 6) | bits;
        ++next;
        if (value < 0x10) break;  // overlong four-byte form
        [[fallthrough]];
    case 2:
        if ((bits = last[-2] ^ 0x80) >= 0x40) break;
        value = (value << 6) | bits;
        if (value >= (0x110000 >> 6)) break;  // beyond the last code point
        ++next;
        if (value < 0x20) break;  // overlong three-byte form
        if (value >= (0xD800 >> 6) && value <= (0xDFFF >> 6)) break;  // a surrogate
        [[fallthrough]];
    case 1:
        if ((bits = last[-1] ^ 0x80) >= 0x40) break;
        value = (value << 6) | bits;
        ++next;
        if (value < 0x80) break;  // overlong two-byte form
        return value;
    default:
        break;
    }
    return kInvalid;
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
        const unsigned char lead = *p++;
        if (lead < 0x80) {
            out += static_cast<LumoChar>(lead);
            continue;
        }
        const char32_t cp = decodeSequence(lead, p, end);
        if (cp == kInvalid) {
            out += kReplacement;
        } else if (cp < 0x10000) {
            out += static_cast<LumoChar>(cp);
        } else {
            out += static_cast<LumoChar>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<LumoChar>(0xDC00 + ((cp - 0x10000) & 0x3FF));
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
