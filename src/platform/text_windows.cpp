// UTF-8 and UTF-16 conversion on Windows, through the code-page 65001 conversions.
#include "platform/text.h"

#include <climits>
#include <windows.h>

namespace lumoidl::platform {

void appendUtf8AsUtf16(std::string_view utf8, ZEMRA::LumoText& out) {
    if (utf8.empty()) return;
    // Larger inputs are converted in pieces that the int-sized lengths can carry; a piece
    // boundary may split a sequence only beyond 2 GB, where names never reach.
    const int length = utf8.size() > INT_MAX ? INT_MAX : static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(65001, 0, utf8.data(), length, nullptr, 0);
    if (needed <= 0) return;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(needed));
    MultiByteToWideChar(65001, 0, utf8.data(), length, out.data() + start, needed);
    if (utf8.size() > static_cast<size_t>(length)) appendUtf8AsUtf16(utf8.substr(length), out);
}

std::string utf16ToUtf8(TextView utf16) {
    std::string out;
    if (utf16.empty()) return out;
    const int length = utf16.size() > INT_MAX / 3 ? INT_MAX / 3 : static_cast<int>(utf16.size());
    const int needed =
        WideCharToMultiByte(65001, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return out;
    out.resize(static_cast<size_t>(needed));
    WideCharToMultiByte(65001, 0, utf16.data(), length, out.data(), needed, nullptr, nullptr);
    if (utf16.size() > static_cast<size_t>(length)) out += utf16ToUtf8(utf16.substr(length));
    return out;
}

}  // namespace lumoidl::platform
