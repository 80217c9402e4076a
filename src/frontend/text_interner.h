// TextInterner: one copy per file of each identifier, however often the file writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "tree/name_hash.h"
#include "tree/node_string.h"

namespace ZEMRA::IDL::PARSER {

/// The identifiers of the file being parsed, each stored once in the current node arena: an
/// argument name or a type name written a thousand times costs its bytes once. The table holds
/// the stored forms (NodeString::data()) in open addressing, and starts with the built-in type
/// names' static copies, so one look-up finds those too. It must be cleared whenever the current
/// arena changes hands, that is, for every file.
class TextInterner {
public:
    /// A table holding the built-in type names.
    TextInterner() { clear(); }

    /// The stored form of `text`: the one made before in this file, else a new copy in the
    /// current node arena, which the table enters.
    const char* intern(std::string_view text) {
        // At most three quarters full, so that a probe meets a free slot soon.
        if (4 * (count_ + 1) > 3 * slots_.size()) grow();
        const uint64_t hash = hashName(text);
        const uint8_t tag = tagOf(hash);
        const size_t mask = slots_.size() - 1;
        for (size_t slot = static_cast<size_t>(hash) & mask;; slot = (slot + 1) & mask) {
            const char* held = slots_[slot];
            if (!held) return add(text, slot, tag);
            if (tags_[slot] == tag && NodeString::fromData(held).size() == text.size() &&
                sameBytes(held, text.data(), text.size()))
                return held;
        }
    }
    /// Forgets every text but the built-in type names, keeping the table's room.
    void clear();

private:
    static uint8_t tagOf(uint64_t hash) { return static_cast<uint8_t>(hash >> 56); }
    /// True when the `size` bytes at `a` and `b` are equal.
    static bool sameBytes(const char* a, const char* b, size_t size) {
        const auto same = [a, b](size_t at, auto word) {
            decltype(word) x, y;
            std::memcpy(&x, a + at, sizeof x);
            std::memcpy(&y, b + at, sizeof y);
            return x == y;
        };
        // Short names as two overlapping words.
        if (size > 16) return std::memcmp(a, b, size) == 0;
        if (size >= 8) return same(0, uint64_t{}) && same(size - 8, uint64_t{});
        if (size >= 4) return same(0, uint32_t{}) && same(size - 4, uint32_t{});
        if (size >= 2) return same(0, uint16_t{}) && same(size - 2, uint16_t{});
        return size == 0 || *a == *b;
    }
    /// Copies `text` into the current node arena and enters it in the free `slot`.
    const char* add(std::string_view text, size_t slot, uint8_t tag);
    /// Makes the table four times as large.
    void grow();

    /// Slots of a new table.
    static constexpr size_t kSmallest = 1024;
    /// The slot for a new entry of hash `hash`: the first free one from its home slot.
    size_t freeSlot(uint64_t hash) const;
    /// Enters `held`, a stored form that is not in the table yet.
    void enter(const char* held);

    /// Stored forms, or null for a free slot.
    std::vector<const char*> slots_;
    /// The top byte of each entry's hash, so that most probes that do not match compare no bytes.
    std::vector<uint8_t> tags_;
    size_t count_ = 0;
};

}  // namespace ZEMRA::IDL::PARSER
