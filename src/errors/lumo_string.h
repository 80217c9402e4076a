// LumoStringImpl: the library's own ILumoString, holding a growable UTF-16 text.
#pragma once

#include "lumoidl/lumoidl.h"

namespace ZEMRA {

/// An ILumoString whose record is its own first member (me points at the record itself).
/// Serves as the parse result's error text and as a receiver for host error objects.
struct LumoStringImpl : ILumoString {
    /// An empty string.
    LumoStringImpl();
    LumoStringImpl(const LumoStringImpl&) = delete;
    LumoStringImpl& operator=(const LumoStringImpl&) = delete;

    /// The text; never contains more than what set() and the appends put there.
    LumoText text;
};

}  // namespace ZEMRA
