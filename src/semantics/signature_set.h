// SignatureSet: the methods of one interface, found again by the hash of their signatures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tree/nodes.h"

namespace ZEMRA::IDL::PARSER {

/// The methods of one interface entered so far, in an open-addressing table keyed by the hash
/// of their signatures; two methods whose hashes meet are compared in full by the caller, so
/// the set never builds a signature text for a method that has no twin by hash.
class SignatureSet {
public:
    /// Empties the set, with room for `methods` entries.
    void reset(size_t methods) {
        size_t size = 16;
        while (size < 2 * methods) size *= 2;
        slots_.assign(size, Slot{});
    }

    /// Enters `method`, whose signature hashes to `hash`; false, entering nothing, when an
    /// entered method has the same signature, which `same(other)` tells for an entered method
    /// with the same hash.
    template <class Same>
    bool insert(uint64_t hash, const ParserMethod* method, Same same) {
        const size_t mask = slots_.size() - 1;
        for (size_t slot = static_cast<size_t>(hash) & mask;; slot = (slot + 1) & mask) {
            Slot& held = slots_[slot];
            if (!held.method) {
                held = {hash, method};
                return true;
            }
            if (held.hash == hash && same(*held.method)) return false;
        }
    }

private:
    struct Slot {
        uint64_t hash = 0;
        const ParserMethod* method = nullptr;
    };
    std::vector<Slot> slots_;
};

}  // namespace ZEMRA::IDL::PARSER
