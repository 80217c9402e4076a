// Owning handles for the counted objects (result and library) and small read helpers.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/host_string.h"
#include "lumoidl/lumoidl.h"

namespace lumoidl::host {

/// Owns one reference on a result or library record and releases it when destroyed.
template <class Record>
class Ref {
public:
    /// Takes over one reference on `record` (which may be null).
    explicit Ref(Record* record = nullptr) : record_(record) {}
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& other) noexcept : record_(std::exchange(other.record_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept {
        if (this != &other) {
            reset();
            record_ = std::exchange(other.record_, nullptr);
        }
        return *this;
    }
    /// Releases the reference.
    ~Ref() { reset(); }

    /// The record; borrowed.
    Record* get() const { return record_; }
    /// The record's table and object, for calls through the wrappers.
    Record* operator->() const { return record_; }
    /// True when a record is held.
    explicit operator bool() const { return record_ != nullptr; }
    /// Releases the reference now.
    void reset() {
        if (record_) record_->vTbl->release(record_->me);
        record_ = nullptr;
    }

private:
    Record* record_;
};

/// An owned parse result.
using ResultRef = Ref<ILumoIDLParseResult>;
/// An owned library.
using LibraryRef = Ref<ILumoIDLLibrary>;

/// Calls LumoIDLParse with the UTF-8 file names `files`, in order.
ResultRef parseFiles(const std::vector<std::string>& files);

/// The result's error text in UTF-8; empty on success.
std::string errorMessage(ILumoIDLParseResult* result);

/// Calls a string getter `getter(receiver)` and returns what it wrote, in UTF-8.
template <class Getter>
std::string readText(Getter getter) {
    HostString receiver;
    getter(receiver.record());
    return receiver.utf8();
}

}  // namespace lumoidl::host
