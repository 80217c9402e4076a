// Conversions between UTF-8 and UTF-16 with the behaviour of code page 65001 and flags 0.
#pragma once

#include <string>
#include <string_view>

#include "lumoidl/lumoidl.h"

namespace lumoidl::platform {

/// A read-only run of UTF-16 units.
using TextView = std::basic_string_view<LumoChar>;

/// Appends `utf8` converted to UTF-16; every maximal ill-formed subsequence becomes one
/// U+FFFD, and zero bytes are converted like any other character.
void appendUtf8AsUtf16(std::string_view utf8, ZEMRA::LumoText& out);

/// Returns `utf8` converted to UTF-16, as appendUtf8AsUtf16 converts it.
ZEMRA::LumoText utf8ToUtf16(std::string_view utf8);

/// Returns `utf16` converted to UTF-8; a lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(TextView utf16);

/// Number of units before the first zero unit of `text` (which must be zero-terminated).
size_t unitLength(const LumoChar* text);

}  // namespace lumoidl::platform
