// Hashing and equality of uuid values for the uuid indexes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "lumoidl/lumoidl.h"

namespace ZEMRA {

/// Hash of the 16 uuid bytes seen as two little-endian 64-bit words lo and hi:
/// lo ^ (hi + 0x9e3779b9 + (lo << 6) + (lo >> 2)).
struct UuidHash {
    /// The hash of `uuid`.
    size_t operator()(const LumoUUID& uuid) const noexcept {
        static_assert(std::endian::native == std::endian::little, "the words are read as they lie in memory");
        uint64_t lo = 0;
        uint64_t hi = 0;
        std::memcpy(&lo, uuid.bytes, sizeof lo);
        std::memcpy(&hi, uuid.bytes + sizeof lo, sizeof hi);
        return static_cast<size_t>(lo ^ (hi + 0x9e3779b9u + (lo << 6) + (lo >> 2)));
    }
};

/// Byte-wise equality of two uuids.
struct UuidEqual {
    /// True when all 16 bytes match.
    bool operator()(const LumoUUID& a, const LumoUUID& b) const noexcept {
        return std::memcmp(a.bytes, b.bytes, sizeof a.bytes) == 0;
    }
};

}  // namespace ZEMRA
