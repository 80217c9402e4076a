// Orphan registries: parse-time objects that no parent owns yet, destroyed by purgeAll.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ZEMRA::IDL::PARSER {

template <class T>
class OrphanRegistry;

/// Base of every registrable kind T: where the object stands in T's registry, if it is there.
/// Only the thread running a parse touches a registry; an object destroyed elsewhere (a result
/// released by a host while another thread parses) is adopted and so never reaches the registry.
template <class T>
class Orphan {
public:
    Orphan() = default;
    Orphan(const Orphan&) = delete;
    Orphan& operator=(const Orphan&) = delete;
    /// Leaves the registry if still registered.
    ~Orphan();

    /// True while the object is registered.
    bool registered() const { return slot_ != kUnregistered; }

private:
    friend class OrphanRegistry<T>;
    static constexpr uint32_t kUnregistered = UINT32_MAX;
    uint32_t slot_ = kUnregistered;
};

/// The registry of kind T: the registered objects in a vector, each object knowing its slot, so
/// that entering, adopting and the check on destruction cost a few stores and the object
/// carries four bytes for it. The objects registered at one time are few (those the parser
/// has made and not yet joined to a parent), and the vector keeps its room from parse to parse.
template <class T>
class OrphanRegistry {
public:
    constexpr OrphanRegistry() = default;
    OrphanRegistry(const OrphanRegistry&) = delete;
    OrphanRegistry& operator=(const OrphanRegistry&) = delete;

    /// Enters a new object.
    void enter(T* object) {
        Orphan<T>* link = object;
        objects_.push_back(link);
        link->slot_ = static_cast<uint32_t>(objects_.size() - 1);
    }

    /// Takes an object out because a parent now owns it (or because it is being destroyed);
    /// does nothing for an object that is not registered.
    void adopt(Orphan<T>* link) {
        if (!link->registered()) return;
        Orphan<T>* last = objects_.back();
        objects_[link->slot_] = last;
        last->slot_ = link->slot_;
        objects_.pop_back();
        link->slot_ = Orphan<T>::kUnregistered;
    }

    /// Destroys every registered object. Each destructor deregisters its
    /// own object (and any registered object it owns), so the loop sees each once.
    void purge() {
        while (!objects_.empty()) delete static_cast<T*>(objects_.back());
    }

private:
    std::vector<Orphan<T>*> objects_;
};

/// The process-wide registry of kind T.
template <class T>
inline OrphanRegistry<T> orphanRegistry;

template <class T>
Orphan<T>::~Orphan() {
    orphanRegistry<T>.adopt(this);
}

/// Enters `object` in its registry and returns it.
template <class T>
T* registerOrphan(T* object) {
    orphanRegistry<T>.enter(object);
    return object;
}

/// Takes `object` out of its registry because a parent now owns it; returns it.
template <class T>
T* adoptOrphan(T* object) {
    if (object) orphanRegistry<T>.adopt(object);
    return object;
}

/// Purges every registry, in the order: types, type-argument lists, arguments, argument lists,
/// method lists, methods, template-parameter lists, interfaces, enumeration items, enumeration
/// item lists, attribute lists, enumerations, library bodies, category IDs, attributes, library
/// items. Token texts have no registry: their bytes belong to the node arena.
void purgeAll();

}  // namespace ZEMRA::IDL::PARSER
