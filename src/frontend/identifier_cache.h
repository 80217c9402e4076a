// IdentifierCache: the identifiers a file repeats, stored once while they keep coming back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "frontend/common_texts.h"
#include "tree/name_hash.h"
#include "tree/node_string.h"

namespace ZEMRA::IDL::PARSER {

/// A cache of the identifiers of the file being parsed, so that an argument name or a type name
/// written a thousand times costs its bytes in the node arena about once. It maps a hash of the
/// text straight to one slot holding the stored form (NodeString::data()) last made for that
/// slot; a different text with the same slot replaces it. Nothing is ever searched for, so a
/// look-up costs a few instructions and one line of memory that recent look-ups keep warm. It
/// starts with the built-in type names' static copies, which keep their slots, and must be
/// cleared whenever the current arena changes hands, that is, for every file.
class IdentifierCache {
public:
    /// A cache holding the built-in type names.
    IdentifierCache();

    /// The stored form of `text`: the one the slot of `text` holds when it holds `text`, else a
    /// new copy in the current node arena, which takes the slot unless a built-in name holds it.
    const char* intern(std::string_view text) {
        const char*& slot = slots_[slotOf(text)];
        if (slot && NodeString::fromData(slot).size() == text.size() && sameBytes(slot, text.data(), text.size()))
            return slot;
        const char* copy = NodeString(text).data();
        if (!slot) {
            filled_[filledCount_++] = static_cast<uint16_t>(&slot - slots_.data());
            slot = copy;
        } else if (commonBuiltinKind(slot) == 0) {
            slot = copy;
        }
        return copy;
    }

    /// Forgets every text but the built-in type names.
    void clear();

private:
    /// Slots of the cache: 32 KB, which stays in the processor's nearest caches.
    static constexpr size_t kSlots = 4096;
    static_assert(kSlots <= 65536, "slot numbers are kept in 16 bits");

    /// The slot of `text`: its size and first and last eight (or fewer) bytes, mixed.
    static size_t slotOf(std::string_view text) {
        const char* bytes = text.data();
        const size_t size = text.size();
        uint64_t first = 0, last = 0;
        if (size >= 8) {
            std::memcpy(&first, bytes, 8);
            std::memcpy(&last, bytes + size - 8, 8);
        } else if (size >= 4) {
            uint32_t a, b;
            std::memcpy(&a, bytes, 4);
            std::memcpy(&b, bytes + size - 4, 4);
            first = a;
            last = b;
        } else if (size != 0) {
            first = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[size - 1]) << 8;
        }
        const uint64_t mixed = (first * 0x9E3779B97F4A7C15ull) ^ ((last + size) * 0xC2B2AE3D27D4EB4Full);
        return static_cast<size_t>(mixed >> 52) & (kSlots - 1);
    }

    std::array<const char*, kSlots> slots_{};
    /// The slots filled since the last clear, each once: a small file fills a few hundred, and
    /// clearing those costs less than clearing all 4096.
    std::array<uint16_t, kSlots> filled_{};
    size_t filledCount_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
