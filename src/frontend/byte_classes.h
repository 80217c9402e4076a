// The lexer's byte classes and number bounds, shared with the tool that re-reads sources for diagnostics.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace ZEMRA::IDL::PARSER {

/// Byte classes as bits, so that one table answers every membership question.
enum ByteClass : uint8_t {
    kWhiteSpace = 1 << 0,
    kIdentifierStart = 1 << 1,
    kIdentifierPart = 1 << 2,
    kAttributeNameByte = 1 << 3,
    kAttributeValueByte = 1 << 4,
    kDecimalDigit = 1 << 5,
    kHexDigit = 1 << 6,
};

/// The class bits of every byte; bytes 0x80 to 0xFF stay in no class.
constexpr std::array<uint8_t, 256> makeByteClasses() {
    std::array<uint8_t, 256> classes{};
    for (int c : {' ', '\t', '\n', '\r'}) classes[c] |= kWhiteSpace;
    for (int c = 0; c < 128; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        if (letter || c == '_') classes[c] |= kIdentifierStart;
        if (letter || digit || c == '_' || c == ':') classes[c] |= kIdentifierPart;
        if (letter || digit || c == '-' || c == '_') classes[c] |= kAttributeNameByte;
        if (letter || digit) classes[c] |= kAttributeValueByte;
        if (digit) classes[c] |= kDecimalDigit | kHexDigit;
        if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) classes[c] |= kHexDigit;
    }
    for (char c : std::string_view("-=![]@#$%^&*_.{}|\\:/;"))
        classes[static_cast<unsigned char>(c)] |= kAttributeValueByte;
    return classes;
}

/// The table itself.
inline constexpr std::array<uint8_t, 256> kByteClasses = makeByteClasses();

/// True when `byte` (0 to 255) is in `byteClass`.
constexpr bool inClass(int byte, uint8_t byteClass) { return (kByteClasses[byte] & byteClass) != 0; }

/// Counts a byte read from a source into `line` and `pos` the way syntax errors report places:
/// a line feed starts the next line at pos 0, a carriage return counts nothing, any other byte
/// one position.
template <class Count>
constexpr void countByte(int byte, Count& line, Count& pos) {
    if (byte == '\n') {
        ++line;
        pos = 0;
    } else if (byte != '\r') {
        ++pos;
    }
}

/// A hexadecimal number stops growing once its value passes this, before the next shift.
inline constexpr uint32_t kHexBound = 0x0FFFFFFF;
/// A decimal number stops growing once its value passes this, before the next multiplication.
inline constexpr uint32_t kDecimalBound = 214748363;

}  // namespace ZEMRA::IDL::PARSER
