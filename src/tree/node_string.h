// NodeString: a name held by a declaration node, its bytes in the node arena.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tree/name_hash.h"
#include "tree/node_arena.h"

namespace ZEMRA::IDL::PARSER {

/// An immutable text whose bytes live in the current node arena when it is made, so that a name
/// costs no allocation of its own and is given back with the library's other memory. The arena
/// holds the size (four bytes) and then the bytes, zero-terminated; the string itself is one
/// pointer to the bytes. Copying one copies the reference, not the bytes: a copy must not outlive
/// the arena, which holds for every copy within one library's nodes.
class NodeString {
public:
    /// The empty text.
    NodeString() = default;
    /// A copy of `text` in the current node arena; always inline, because the lexer makes one
    /// per name and the call would cost more than the copy.
    [[gnu::always_inline]] explicit NodeString(std::string_view text) : NodeString(text, {}) {}
    /// A copy of `first` followed by `second` in the current node arena.
    [[gnu::always_inline]] NodeString(std::string_view first, std::string_view second) {
        const size_t bytes = first.size() + second.size();
        char* stored = static_cast<char*>(currentNodeArena().allocate(kSizeBytes + bytes + 1));
        const auto size = static_cast<uint32_t>(bytes);
        std::memcpy(stored, &size, kSizeBytes);
        copyBytes(stored + kSizeBytes, first.data(), first.size());
        copyBytes(stored + kSizeBytes + first.size(), second.data(), second.size());
        stored[kSizeBytes + size] = 0;
        data_ = stored + kSizeBytes;
    }

    /// The string whose bytes start at `data`, which is the data() of a NodeString.
    static NodeString fromData(const char* data) {
        NodeString text;
        text.data_ = data;
        return text;
    }

    /// The text.
    operator std::string_view() const { return view(); }
    /// The text, spelled out where a conversion would not be found.
    std::string_view view() const { return {data_, size()}; }
    /// The text as a zero-terminated string.
    const char* c_str() const { return data_; }
    /// The bytes.
    const char* data() const { return data_; }
    /// Number of bytes.
    size_t size() const {
        uint32_t size;
        std::memcpy(&size, data_ - kSizeBytes, kSizeBytes);
        return size;
    }
    /// True for the empty text.
    bool empty() const { return size() == 0; }
    /// A std::string with the same bytes.
    std::string str() const { return std::string(view()); }

    /// Equality of the bytes.
    friend bool operator==(const NodeString& a, std::string_view b) {
        return a.size() == b.size() && (a.data() == b.data() || sameBytes(a.data(), b.data(), b.size()));
    }
    /// Equality of the bytes; names that share one stored copy are equal at once.
    friend bool operator==(const NodeString& a, const NodeString& b) { return a == b.view(); }
    /// Equality of the bytes.
    friend bool operator==(const NodeString& a, const char* b) { return a.view() == std::string_view(b); }

    /// Concatenation into a std::string, as names are written into texts.
    friend std::string operator+(std::string a, const NodeString& b) { return a.append(b.view()); }
    /// Concatenation into a std::string.
    friend std::string operator+(const NodeString& a, std::string_view b) { return a.str().append(b); }
    /// Concatenation into a std::string.
    friend std::string operator+(const char* a, const NodeString& b) { return std::string(a).append(b.view()); }

private:
    static constexpr size_t kSizeBytes = sizeof(uint32_t);

    /// Copies `size` bytes. A name is short, and two overlapping words of the widest size that
    /// fits copy it without a call into the C library.
    [[gnu::always_inline]] static void copyBytes(char* to, const char* from, size_t size) {
        const auto pair = [to, from, size](auto word) {
            std::memcpy(&word, from, sizeof word);
            std::memcpy(to, &word, sizeof word);
            std::memcpy(&word, from + size - sizeof word, sizeof word);
            std::memcpy(to + size - sizeof word, &word, sizeof word);
        };
        struct Sixteen {
            uint64_t low, high;
        };
        if (size > 32) {
            std::memcpy(to, from, size);
        } else if (size > 16) {
            pair(Sixteen{});
        } else if (size >= 8) {
            pair(uint64_t{});
        } else if (size >= 4) {
            pair(uint32_t{});
        } else if (size != 0) {
            to[0] = from[0];
            to[size / 2] = from[size / 2];
            to[size - 1] = from[size - 1];
        }
    }
    /// The stored form of the empty text: a zero size and the terminator.
    static constexpr char kEmpty[kSizeBytes + 1] = {};
    const char* data_ = kEmpty + kSizeBytes;
};

}  // namespace ZEMRA::IDL::PARSER
