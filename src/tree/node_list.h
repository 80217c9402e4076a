// NodeList: the lists that declaration nodes hold, their room in the node arena.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "tree/node_arena.h"

namespace ZEMRA::IDL::PARSER {

/// A list of pointers or names in 12 bytes (a std::vector takes 24): room that grows from the
/// current node arena and is given back with it (or, under AddressSanitizer, with the list).
/// The room is not stored, because it follows from the size: none for an empty list, then
/// `FirstRoom` elements, doubled whenever full. Declared [[no_unique_address]], a list leaves
/// its last four bytes to the member after it. The parser appends; everything after parsing
/// reads.
template <class T, uint32_t FirstRoom = 1>
class NodeList {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "a node list moves its elements as bytes");

public:
    NodeList() = default;
    NodeList(const NodeList&) = delete;
    NodeList& operator=(const NodeList&) = delete;
    /// Gives the room back when it is not arena memory.
    ~NodeList() { release(items_); }

    /// The elements.
    T* begin() { return items_; }
    /// Past the last element.
    T* end() { return items_ + size_; }
    /// The elements.
    const T* begin() const { return items_; }
    /// Past the last element.
    const T* end() const { return items_ + size_; }
    /// The first element, or null when there is no room.
    T* data() { return items_; }
    /// Number of elements.
    size_t size() const { return size_; }
    /// True without elements.
    bool empty() const { return size_ == 0; }
    /// Element `index`, which must exist.
    T& operator[](size_t index) { return items_[index]; }
    /// Element `index`, which must exist.
    const T& operator[](size_t index) const { return items_[index]; }
    /// Element `index`; throws std::out_of_range when there is none.
    const T& at(size_t index) const {
        if (index >= size_) throw std::out_of_range("NodeList::at");
        return items_[index];
    }
    /// The last element, which must exist.
    T& back() { return items_[size_ - 1]; }

    /// Appends `item`, making room first when the room is full.
    void push_back(T item) {
        if (full()) grow(size_ ? 2 * static_cast<size_t>(size_) : FirstRoom);
        items_[size_++] = item;
    }
    /// Drops every element.
    void clear() { size_ = 0; }
    /// Drops the last element, which must exist.
    void pop_back() { --size_; }
    /// Exchanges the contents with `other`.
    void swap(NodeList& other) noexcept {
        std::swap(items_, other.items_);
        std::swap(size_, other.size_);
    }

private:
    /// True when the room (as it follows from the size) holds no further element.
    bool full() const {
        if (size_ < FirstRoom) return size_ == 0;
        // A power of two tested by its lowest bit: std::has_single_bit would be a library call
        // for popcount on targets without the instruction.
        const uint32_t units = size_ / FirstRoom;
        return size_ % FirstRoom == 0 && (units & (units - 1)) == 0;
    }

    void grow(size_t room) {
        if (room > UINT32_MAX) throw std::length_error("NodeList: too many elements");
        T* items = static_cast<T*>(LUMOIDL_POOL_MEMORY ? currentNodeArena().allocate(room * sizeof(T))
                                                       : ::operator new(room * sizeof(T)));
        if (size_ != 0) std::memcpy(static_cast<void*>(items), items_, size_ * sizeof(T));
        release(items_);
        items_ = items;
    }

    static void release(T* items) {
        if (!LUMOIDL_POOL_MEMORY) ::operator delete(items);
    }

    T* items_ = nullptr;
    uint32_t size_ = 0;
};

/// The lists the grammar collects elements in, and the node lists that take them over: they
/// start with room for three, because most (arguments, template arguments) hold one to three.
template <class T>
using CollectedList = NodeList<T*, 3>;

}  // namespace ZEMRA::IDL::PARSER
