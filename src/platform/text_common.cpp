// Conversion helpers shared by every platform.
#include "platform/text.h"

namespace lumoidl::platform {

ZEMRA::LumoText utf8ToUtf16(std::string_view utf8) {
    ZEMRA::LumoText out;
    appendUtf8AsUtf16(utf8, out);
    return out;
}

size_t unitLength(const LumoChar* text) {
    const LumoChar* end = text;
    while (*end != 0) ++end;
    return static_cast<size_t>(end - text);
}

}  // namespace lumoidl::platform
