// skipIdentifierPart and skipSpaces: the end of a run of identifier bytes or of spaces, found sixteen bytes at a time.
#pragma once

#include <bit>

#include "frontend/byte_classes.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ZEMRA::IDL::PARSER {

#if defined(__SSE2__)
/// The first byte at or after `p` for which `inRun`, given sixteen bytes, leaves its byte of the
/// result zero; `inRun` sets a byte to 0xFF for each byte in the run.
template <class InRun>
const unsigned char* skipSixteenAtATime(const unsigned char* p, InRun inRun) {
    for (;; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const auto in = static_cast<unsigned>(_mm_movemask_epi8(inRun(bytes)));
        if (in != 0xFFFF) return p + std::countr_one(in);
    }
}
#endif

/// The first byte at or after `p` that is not in kIdentifierPart (letters, digits, '_', ':').
/// With SSE2 it looks at sixteen bytes at once, so the memory from `p` must stay readable up to
/// fifteen bytes past that byte; a zero byte, being in no class, ends any run.
inline const unsigned char* skipIdentifierPart(const unsigned char* p) {
#if defined(__SSE2__)
    return skipSixteenAtATime(p, [](__m128i bytes) {
        // Bytes from 0x80 compare as negative, below every bound, so they fall in no range.
        const auto within = [](__m128i x, char low, char high) {
            return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(static_cast<char>(low - 1))),
                                 _mm_cmplt_epi8(x, _mm_set1_epi8(static_cast<char>(high + 1))));
        };
        // Setting bit 5 lowers the upper-case letters and moves no other byte into 'a' to 'z'.
        const __m128i letter = within(_mm_or_si128(bytes, _mm_set1_epi8(0x20)), 'a', 'z');
        const __m128i digitOrColon = within(bytes, '0', ':');
        const __m128i underscore = _mm_cmpeq_epi8(bytes, _mm_set1_epi8('_'));
        return _mm_or_si128(_mm_or_si128(letter, digitOrColon), underscore);
    });
#else
    while (inClass(*p, kIdentifierPart)) ++p;
    return p;
#endif
}

/// The first byte at or after `p` that is not a space, under the same conditions as
/// skipIdentifierPart.
inline const unsigned char* skipSpaces(const unsigned char* p) {
#if defined(__SSE2__)
    return skipSixteenAtATime(p, [](__m128i bytes) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')); });
#else
    while (*p == ' ') ++p;
    return p;
#endif
}

}  // namespace ZEMRA::IDL::PARSER
