// Orphan registries: parse-time objects that no parent owns yet, destroyed by purgeAll.
#pragma once

#include <atomic>
#include <cstddef>

namespace ZEMRA::IDL::PARSER {

template <class T>
class OrphanRegistry;

/// Live objects of every registrable kind, counted at construction and destruction so that
/// tests can see that a parse leaves nothing behind and destroys nothing twice.
std::atomic<long>& liveParseObjects();

/// Base of every registrable kind T: the links of T's registry and whether the object is in it.
/// Only the thread running a parse touches a registry; an object destroyed elsewhere (a result
/// released by a host while another thread parses) is adopted and so never reaches the registry.
template <class T>
class Orphan {
public:
    Orphan() { liveParseObjects().fetch_add(1, std::memory_order_relaxed); }
    Orphan(const Orphan&) = delete;
    Orphan& operator=(const Orphan&) = delete;
    /// Leaves the registry if still registered.
    ~Orphan();

    /// True while the object is registered.
    bool registered() const { return registered_; }

private:
    friend class OrphanRegistry<T>;
    Orphan* previous_ = nullptr;
    Orphan* next_ = nullptr;
    bool registered_ = false;
};

/// The registry of kind T: an intrusive list, so that entering and adopting cost a few stores.
template <class T>
class OrphanRegistry {
public:
    constexpr OrphanRegistry() = default;
    OrphanRegistry(const OrphanRegistry&) = delete;
    OrphanRegistry& operator=(const OrphanRegistry&) = delete;

    /// Enters a new object.
    void enter(T* object) {
        Orphan<T>* link = object;
        link->registered_ = true;
        link->previous_ = nullptr;
        link->next_ = head_;
        if (head_) head_->previous_ = link;
        head_ = link;
        ++size_;
    }

    /// Takes an object out because a parent now owns it (or because it is being destroyed);
    /// does nothing for an object that is not registered.
    void adopt(Orphan<T>* link) {
        if (!link->registered_) return;
        if (link->previous_)
            link->previous_->next_ = link->next_;
        else
            head_ = link->next_;
        if (link->next_) link->next_->previous_ = link->previous_;
        link->previous_ = link->next_ = nullptr;
        link->registered_ = false;
        --size_;
    }

    /// Destroys every registered object. Each destructor deregisters its own object (and any
    /// registered object it owns), so taking the head until none is left sees each once.
    void purge() {
        while (head_) delete static_cast<T*>(head_);
    }

    /// Number of registered objects.
    size_t size() const { return size_; }

private:
    Orphan<T>* head_ = nullptr;
    size_t size_ = 0;
};

/// The process-wide registry of kind T.
template <class T>
inline OrphanRegistry<T> orphanRegistry;

template <class T>
Orphan<T>::~Orphan() {
    orphanRegistry<T>.adopt(this);
    liveParseObjects().fetch_sub(1, std::memory_order_relaxed);
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
/// item lists, attribute lists, enumerations, library bodies, category IDs, attributes, token
/// texts, library items.
void purgeAll();

/// Number of objects registered in all seventeen registries together.
size_t registeredOrphans();

}  // namespace ZEMRA::IDL::PARSER
