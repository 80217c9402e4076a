// Reading host strings into UTF-8 and writing library texts into host receivers.
#include "result/string_boundary.h"

namespace ZEMRA {

std::string readHostString(ILumoString* text) {
    if (!text) return {};
    const LumoChar* data = nullptr;
    uint32_t length = 0;
    text->vTbl->get(text->me, &data, &length);
    if (!data) return {};
    return lumoidl::platform::utf16ToUtf8(
        lumoidl::platform::TextView(data, lumoidl::platform::unitLength(data)));
}

void writeHostText(ILumoString* receiver, lumoidl::platform::TextView text) {
    if (!receiver) throw lumora_error(LUMO_NULL_POINTER, nullptr);
    const size_t zero = text.find(LumoChar(0));
    if (zero != lumoidl::platform::TextView::npos) text = text.substr(0, zero);
    const LUMORESULT code =
        receiver->vTbl->set(receiver->me, text.data(), static_cast<uint32_t>(text.size()));
    if (code != LUMO_OK) throw lumora_error(code, nullptr);
}

void writeHostString(ILumoString* receiver, std::string_view text) {
    writeHostText(receiver, lumoidl::platform::utf8ToUtf16(text));
}

}  // namespace ZEMRA
