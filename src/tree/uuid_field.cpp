// Parsing, printing and the null test of uuid values.
#include "tree/uuid_field.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Value of a hexadecimal digit, or -1.
int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isDashPosition(int i) { return i == 8 || i == 13 || i == 18 || i == 23; }

}  // namespace

UuidField& UuidField::operator=(const UuidField& other) {
    assign(other.value);
    return *this;
}

void UuidField::assign(const LumoUUID& bytes) {
    value = bytes;
    text_.reset();
}

bool UuidField::parseUuid(const char* text) {
    int length = 0;
    while (length < 40 && text[length] != 0) ++length;
    if (length == 38) {
        if (text[0] != '{' || text[37] != '}') return false;
        ++text;
    } else if (length != 36) {
        return false;
    }
    LumoUUID parsed{};
    int digit = 0;
    for (int i = 0; i < 36; ++i) {
        if (isDashPosition(i)) {
            if (text[i] != '-') return false;
            continue;
        }
        const int half = hexValue(text[i]);
        if (half < 0) return false;
        parsed.bytes[digit / 2] = static_cast<uint8_t>(parsed.bytes[digit / 2] | (digit % 2 ? half : half << 4));
        ++digit;
    }
    assign(parsed);
    return true;
}

bool UuidField::isNullUuid() const {
    for (uint8_t byte : value.bytes)
        if (byte != 0) return false;
    return true;
}

const LumoChar* UuidField::uuidText() const {
    if (!text_) {
        static const char kDigits[] = "0123456789ABCDEF";
        auto text = std::make_unique<LumoChar[]>(37);
        int out = 0;
        for (int k = 0; k < 16; ++k) {
            if (k == 4 || k == 6 || k == 8 || k == 10) text[out++] = '-';
            text[out++] = static_cast<LumoChar>(kDigits[value.bytes[k] >> 4]);
            text[out++] = static_cast<LumoChar>(kDigits[value.bytes[k] & 0xF]);
        }
        text[out] = 0;
        text_ = std::move(text);
    }
    return text_.get();
}

}  // namespace ZEMRA::IDL::PARSER
