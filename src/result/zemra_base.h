// ZemraBaseImpl: the reference count shared by the result and library objects.
#pragma once

#include <atomic>
#include <cstdint>

namespace ZEMRA {

/// Polymorphic base of the reference-counted objects. The count starts at 0: whoever creates
/// an object adds its first reference, and the release that finds the count at 1 destroys it
/// through the virtual destructor, so the whole derived object goes.
template <class T>
class ZemraBaseImpl {
public:
    ZemraBaseImpl() = default;
    ZemraBaseImpl(const ZemraBaseImpl&) = delete;
    ZemraBaseImpl& operator=(const ZemraBaseImpl&) = delete;
    /// Destroys the object; reached only through release() or by the owner of a fresh object.
    virtual ~ZemraBaseImpl() = default;

    /// Atomically adds one reference.
    void addReference() { count_.fetch_add(1, std::memory_order_relaxed); }

    /// Atomically drops one reference; destroys the object when it was the last.
    void release() {
        if (count_.fetch_sub(1, std::memory_order_acq_rel) == 1) delete static_cast<T*>(this);
    }

private:
    std::atomic<uint32_t> count_{0};
};

}  // namespace ZEMRA
