// FlatIndex: the open-addressing table behind the name and uuid indexes.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ZEMRA {

/// Keys to elements in one array of slots, searched from the key's hash onwards: an entry costs
/// no allocation of its own, and a look-up reads one slot, or a few next to each other. Each
/// slot keeps the key's hash, so that keys are compared only when their hashes are equal. A key
/// that refers to bytes (a name) must outlive the index; the elements are never null.
template <class Key, class Element, class Hash, class Equal>
class FlatIndex {
public:
    /// The element entered under `key`, or null.
    Element* find(const Key& key) const {
        if (size_ == 0) return nullptr;
        const Slot& slot = slots_[slotOf(key, Hash()(key))];
        return slot.element;
    }
    /// 1 when `key` is entered, else 0.
    size_t count(const Key& key) const { return find(key) ? 1 : 0; }
    /// Enters `element` under `key` unless the key is entered; true when it was entered now.
    bool insert(const Key& key, Element* element) {
        Slot& slot = slotFor(key);
        if (slot.element) return false;
        slot.element = element;
        ++size_;
        return true;
    }
    /// Enters `element` under `key`, in place of the element entered under it before.
    void insertOrAssign(const Key& key, Element* element) {
        Slot& slot = slotFor(key);
        if (!slot.element) ++size_;
        slot.element = element;
    }
    /// Makes room for `entries` entries, so that entering them moves nothing.
    void reserve(size_t entries) { growFor(entries); }
    /// Number of entries.
    size_t size() const { return size_; }

private:
    struct Slot {
        uint64_t hash = 0;
        Key key{};
        Element* element = nullptr;  ///< null for an empty slot
    };

    /// The slot holding `key`, whose hash is `hash`, or the empty slot where it would go. The
    /// search starts at the top bits of the hash times an odd constant, which every bit of the
    /// hash reaches: a hash whose low bits hardly vary (the uuid hash of uuids numbered in their
    /// last bytes) still spreads over the slots.
    size_t slotOf(const Key& key, uint64_t hash) const {
        const size_t mask = slots_.size() - 1;
        const int shift = 64 - std::countr_zero(slots_.size());
        for (size_t slot = static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift);; slot = (slot + 1) & mask) {
            const Slot& held = slots_[slot];
            if (!held.element || (held.hash == hash && Equal()(held.key, key))) return slot;
        }
    }

    /// The slot of `key`, with room made for one more entry: the key's entry, which keeps the key
    /// it was entered with, or an empty slot that now holds the key and its hash and waits for
    /// its element.
    Slot& slotFor(const Key& key) {
        growFor(size_ + 1);
        const uint64_t hash = Hash()(key);
        Slot& slot = slots_[slotOf(key, hash)];
        if (!slot.element) {
            slot.hash = hash;
            slot.key = key;
        }
        return slot;
    }

    /// Keeps at least twice as many slots as `entries`, a power of two.
    void growFor(size_t entries) {
        if (2 * entries <= slots_.size()) return;
        size_t size = 16;
        while (size < 2 * entries) size *= 2;
        std::vector<Slot> old(size);
        old.swap(slots_);
        for (const Slot& held : old)
            if (held.element) slots_[slotOf(held.key, held.hash)] = held;
    }

    std::vector<Slot> slots_;
    size_t size_ = 0;
};

}  // namespace ZEMRA
