// RecyclingStringSet: a hash set of strings that keeps the nodes it empties for later inserts.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace ZEMRA::IDL::PARSER {

/// A hash set of strings for sets that are emptied and filled again many times (the names of
/// one method's arguments, the signatures of one interface's methods): clearing keeps the
/// nodes with their string memory, and inserting reuses one, so a refill needs no allocation
/// once the set has been as large before.
class RecyclingStringSet {
public:
    /// Inserts a copy of `text`; false when the set already holds it.
    bool insert(const std::string& text) {
        if (spare_.empty()) return set_.insert(text).second;
        Node node = std::move(spare_.back());
        spare_.pop_back();
        node.value().assign(text);
        auto inserted = set_.insert(std::move(node));
        if (!inserted.inserted) spare_.push_back(std::move(inserted.node));
        return inserted.inserted;
    }

    /// Empties the set, keeping its nodes.
    void clear() {
        while (!set_.empty()) spare_.push_back(set_.extract(set_.begin()));
    }

private:
    using Set = std::unordered_set<std::string>;
    using Node = Set::node_type;
    Set set_;
    std::vector<Node> spare_;
};

}  // namespace ZEMRA::IDL::PARSER
