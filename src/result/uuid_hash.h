// Hashing and equality of uuid values for the uuid indexes.
#pragma once

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
        uint64_t lo = 0;
        uint64_t hi = 0;
        for (int k = 7; k >= 0; --k) lo = (lo << 8) | uuid.bytes[k];
        for (int k = 15; k >= 8; --k) hi = (hi << 8) | uuid.bytes[k];
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
