// HostStringArray: a host-side string array, the file list that LumoIDLParse takes.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "host/host_string.h"

namespace lumoidl::host {

/// A list of host strings; an element may be null. get yields the element pointers.
class HostStringArray : public ILumoStringArray {
public:
    /// An empty list.
    HostStringArray();
    HostStringArray(const HostStringArray&) = delete;
    HostStringArray& operator=(const HostStringArray&) = delete;

    /// Appends an element holding `text`.
    void add(ZEMRA::LumoText text);
    /// Appends an element holding `utf8` converted to UTF-16.
    void addUtf8(std::string_view utf8);
    /// Appends a null element.
    void addNull();
    /// The element pointers, as get hands them out.
    const std::vector<ILumoString*>& elements() const { return elements_; }
    /// This object as the record that LumoIDLParse takes.
    ILumoStringArray* record() { return this; }

private:
    std::vector<std::unique_ptr<HostString>> strings_;
    std::vector<ILumoString*> elements_;
};

}  // namespace lumoidl::host
