// Hashing and comparing names, for the tables of names in the lexer, the tree and the checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace ZEMRA::IDL::PARSER {

/// `chunk` with the 26 upper-case ASCII letters among its eight bytes lowered, every other byte
/// unchanged.
constexpr uint64_t foldChunk(uint64_t chunk) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    const uint64_t low7 = chunk & (0x7F * kOnes);
    // A byte's high bit says whether its low seven bits are at least 'A', or above 'Z'; no sum
    // carries into the next byte.
    const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
    const uint64_t aboveZ = low7 + (0x80 - 'Z' - 1) * kOnes;
    const uint64_t upper = atLeastA & ~aboveZ & ~chunk & (0x80 * kOnes);
    return chunk | (upper >> 2);
}

/// A 64-bit hash of `text`, eight bytes at a time; with `Fold`, of `text` folded as foldChunk
/// folds, so that names equal but for the case of ASCII letters hash alike. Every bit of the
/// result depends on every byte, the low bits (which pick a table slot) included.
template <bool Fold = false>
inline uint64_t hashName(std::string_view text) {
    constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    uint64_t hash = text.size() * kMultiplier;
    const auto mix = [&hash](uint64_t chunk) {
        if constexpr (Fold) chunk = foldChunk(chunk);
        hash = (hash ^ chunk) * kMultiplier;
        hash ^= hash >> 32;
    };
    const char* bytes = text.data();
    size_t left = text.size();
    const auto word = [&bytes](size_t at, auto sized) {
        std::memcpy(&sized, bytes + at, sizeof sized);
        return static_cast<uint64_t>(sized);
    };
    // Whole eight-byte words, then the last one to sixteen bytes as two overlapping words (of
    // eight, four or one byte); with the size mixed in first, equal texts still mix equal words.
    for (; left > 16; bytes += 8, left -= 8) mix(word(0, uint64_t{}));
    if (left >= 8) {
        mix(word(0, uint64_t{}));
        mix(word(left - 8, uint64_t{}));
    } else if (left >= 4) {
        mix(word(0, uint32_t{}) | word(left - 4, uint32_t{}) << 32);
    } else if (left != 0) {
        mix(word(0, uint8_t{}) | word(left / 2, uint8_t{}) << 8 | word(left - 1, uint8_t{}) << 16);
    }
    // A product carries a word's bytes only upwards, and the shift brings the last word's high
    // bytes down to bit 8 at the lowest: one more round carries them into the low bits too.
    // Without it, names that differ only in their last bytes ("Item17", "Item18") share slots.
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

/// True when the `size` bytes at `a` and `b` are equal: names of up to sixteen bytes compared as
/// two overlapping words, longer ones with memcmp.
inline bool sameBytes(const char* a, const char* b, size_t size) {
    const auto same = [a, b](size_t at, auto word) {
        decltype(word) x, y;
        std::memcpy(&x, a + at, sizeof x);
        std::memcpy(&y, b + at, sizeof y);
        return x == y;
    };
    if (size > 16) return std::memcmp(a, b, size) == 0;
    if (size >= 8) return same(0, uint64_t{}) && same(size - 8, uint64_t{});
    if (size >= 4) return same(0, uint32_t{}) && same(size - 4, uint32_t{});
    if (size >= 2) return same(0, uint16_t{}) && same(size - 2, uint16_t{});
    return size == 0 || *a == *b;
}

}  // namespace ZEMRA::IDL::PARSER
