// The pieces of ErrorMessage.
#include "result/error_message.h"

#include <string>

#include "platform/text.h"

namespace ZEMRA {

ErrorMessage& ErrorMessage::set(const LumoChar* first) {
    target_.assign(first);
    return *this;
}

ErrorMessage& ErrorMessage::set(std::string_view first) {
    target_.clear();
    return utf8(first);
}

ErrorMessage& ErrorMessage::text(const LumoChar* piece) {
    target_.append(piece);
    return *this;
}

ErrorMessage& ErrorMessage::utf8(std::string_view piece) {
    const size_t start = target_.size();
    lumoidl::platform::appendUtf8AsUtf16(piece, target_);
    const size_t zero = target_.find(LumoChar(0), start);
    if (zero != LumoText::npos) target_.resize(zero);
    return *this;
}

ErrorMessage& ErrorMessage::quoted(std::string_view name) {
    return character('"').utf8(name).character('"');
}

ErrorMessage& ErrorMessage::quotedText(const LumoChar* text) {
    return character('"').text(text).character('"');
}

ErrorMessage& ErrorMessage::inFile(const LumoChar* file) { return utf8(" in ").quotedText(file); }

ErrorMessage& ErrorMessage::number(uint32_t value) { return utf8(std::to_string(value)); }

ErrorMessage& ErrorMessage::character(char c) {
    target_ += static_cast<LumoChar>(static_cast<unsigned char>(c));
    return *this;
}

}  // namespace ZEMRA
