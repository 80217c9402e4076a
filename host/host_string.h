// HostString: a host-side ILumoString holding its own UTF-16 text.
#pragma once

#include <string>
#include <string_view>

#include "lumoidl/lumoidl.h"

namespace lumoidl::host {

/// A string object as a host of the library implements it: get yields the text, set
/// replaces it. The record's me is the object itself.
class HostString : public ILumoString {
public:
    /// An empty string.
    HostString();
    /// A string holding `text`.
    explicit HostString(ZEMRA::LumoText text);
    /// A string holding `utf8` converted to UTF-16.
    static HostString fromUtf8(std::string_view utf8);

    HostString(const HostString& other);
    HostString& operator=(const HostString& other);

    /// The text.
    const ZEMRA::LumoText& text() const { return text_; }
    /// The text in UTF-8.
    std::string utf8() const;
    /// Replaces the text.
    void assign(ZEMRA::LumoText text) { text_ = std::move(text); }
    /// This object as the record that the library's operations take.
    ILumoString* record() { return this; }

private:
    ZEMRA::LumoText text_;
};

}  // namespace lumoidl::host
