// Parsing, printing and the null test of uuid values.
#include "tree/uuid_field.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace ZEMRA::IDL::PARSER {
namespace {

/// Value of each byte as a hexadecimal digit, or -1.
constexpr auto kHexValues = [] {
    std::array<int8_t, 256> values{};
    for (int byte = 0; byte < 256; ++byte) {
        values[byte] = byte >= '0' && byte <= '9'   ? static_cast<int8_t>(byte - '0')
                       : byte >= 'A' && byte <= 'F' ? static_cast<int8_t>(byte - 'A' + 10)
                       : byte >= 'a' && byte <= 'f' ? static_cast<int8_t>(byte - 'a' + 10)
                                                    : int8_t{-1};
    }
    return values;
}();

/// Where the two digits of each byte of a uuid stand in its 36-character text.
constexpr std::array<uint8_t, 16> kByteOffsets = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};

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
    const size_t length = strnlen(text, 40);
    if (length == 38) {
        if (text[0] != '{' || text[37] != '}') return false;
        ++text;
    } else if (length != 36) {
        return false;
    }
    if (text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-') return false;
    LumoUUID parsed{};
    for (size_t k = 0; k < kByteOffsets.size(); ++k) {
        const int high = kHexValues[static_cast<unsigned char>(text[kByteOffsets[k]])];
        const int low = kHexValues[static_cast<unsigned char>(text[kByteOffsets[k] + 1])];
        if ((high | low) < 0) return false;
        parsed.bytes[k] = static_cast<uint8_t>(high << 4 | low);
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
