// Strings crossing the host boundary: host names read in, library texts written out.
#pragma once

#include <string>
#include <string_view>

#include "lumoidl/lumoidl.h"
#include "platform/text.h"

namespace ZEMRA {

/// Reads a host string as UTF-8: null reads as empty, the text is taken up to its first zero
/// unit whatever length the host reports.
std::string readHostString(ILumoString* text);

/// Writes the UTF-8 `text` to the host's receiver. Throws lumora_error with
/// LUMO_NULL_POINTER when `receiver` is null, and with the receiver's code when its set fails.
/// The text reaches the host cut at its first zero.
void writeHostString(ILumoString* receiver, std::string_view text);

/// Writes the UTF-16 `text` to the host's receiver, with the rules of writeHostString.
void writeHostText(ILumoString* receiver, lumoidl::platform::TextView text);

}  // namespace ZEMRA
