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
        const Key key = keyOf(text);
        Slot& slot = slots_[slotOf(key)];
        // The key tells a text of up to 16 bytes exactly, so that a slot is mostly judged
        // without reading the stored bytes, which in a large file lie far back in memory.
        if (slot.data && slot.key == key &&
            (key.size <= kKeyedBytes ||
             sameBytes(slot.data + kEdgeBytes, text.data() + kEdgeBytes, key.size - kKeyedBytes)))
            return slot.data;
        return store(slot, key, text);
    }

    /// Forgets every text but the built-in type names.
    void clear();

private:
    /// Slots of the cache: 128 KB, which stays in the processor's near caches.
    static constexpr size_t kSlots = 4096;
    static_assert(kSlots <= 65536, "slot numbers are kept in 16 bits");
    /// Bytes of a text that its key holds from either end.
    static constexpr uint32_t kEdgeBytes = 8;
    /// Texts up to this size are told exactly by their key.
    static constexpr uint32_t kKeyedBytes = 2 * kEdgeBytes;

    /// A text's size and its first and last eight bytes (fewer of a shorter text, so that the
    /// key of a text of up to 16 bytes covers every byte).
    struct Key {
        uint64_t first = 0;
        uint64_t last = 0;
        uint32_t size = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    /// One slot: a stored text (null for an empty slot) and its key.
    struct Slot {
        const char* data = nullptr;
        Key key;
    };

    /// A new copy of `text`, whose key is `key`, in the current node arena; it takes `slot`, the
    /// slot of the key, unless a built-in name holds it. Out of line, so that a look-up that
    /// finds its text stays small enough to inline.
    [[gnu::noinline]] const char* store(Slot& slot, const Key& key, std::string_view text);

    /// The key of `text`.
    static Key keyOf(std::string_view text) {
        const char* bytes = text.data();
        Key key;
        key.size = static_cast<uint32_t>(text.size());
        if (key.size >= 8) {
            std::memcpy(&key.first, bytes, 8);
            std::memcpy(&key.last, bytes + key.size - 8, 8);
        } else if (key.size >= 4) {
            uint32_t a, b;
            std::memcpy(&a, bytes, 4);
            std::memcpy(&b, bytes + key.size - 4, 4);
            key.first = a;
            key.last = b;
        } else if (key.size != 0) {
            key.first = static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[key.size / 2]) << 8 |
                        static_cast<unsigned char>(bytes[key.size - 1]) << 16;
        }
        return key;
    }
    /// The slot of a text whose key is `key`: its parts, mixed.
    static size_t slotOf(const Key& key) {
        const uint64_t mixed = (key.first * 0x9E3779B97F4A7C15ull) ^ ((key.last + key.size) * 0xC2B2AE3D27D4EB4Full);
        return static_cast<size_t>(mixed >> 52) & (kSlots - 1);
    }

    std::array<Slot, kSlots> slots_{};
    /// The slots filled since the last clear, each once: a small file fills a few hundred, and
    /// clearing those costs less than clearing all 4096.
    std::array<uint16_t, kSlots> filled_{};
    size_t filledCount_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
