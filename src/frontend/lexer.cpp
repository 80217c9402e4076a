// The modal lexer: skips blanks and comments, cuts attribute lists by their own byte classes.
#include "frontend/lexer.h"

#include <string>
#include <string_view>

#include "driver/parse_context.h"
#include "frontend/byte_classes.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// The values of ParseContext::lexerMode.
enum LexerMode : int32_t {
    kNormalMode = 0,
    kAttributeNamesMode = 1,
    kAttributeValueMode = 2,
};

int hexDigitValue(int byte) {
    if (byte <= '9') return byte - '0';
    if (byte <= 'F') return byte - 'A' + 10;
    return byte - 'a' + 10;
}

/// The next byte, or 0 at end of input (a zero byte ends it too). Line and pos count a byte when it
/// first comes from the file, so a byte read again after unreadByte leaves them alone.
int readByte(ParseContext& context) {
    if (context.pushback != 0) {
        const int byte = context.pushback;
        context.pushback = 0;
        return byte;
    }
    const int byte = context.file.next();
    if (byte < 0) return 0;
    if (byte == '\n') {
        ++context.line;
        context.pos = 0;
    } else if (byte != '\r') {
        ++context.pos;
    }
    return byte;
}

/// Consumes the bytes for which `keep` holds, straight from the file's buffer, counting lines
/// and positions as readByte does; stops before the first other byte. Leaves a byte that is
/// pushed back, and what follows it, to readByte.
template <class Keep>
void skipWhile(ParseContext& context, Keep keep) {
    if (context.pushback != 0) return;
    context.file.skipWhile([&context, &keep](unsigned char byte) {
        if (!keep(byte)) return false;
        if (byte == '\n') {
            ++context.line;
            context.pos = 0;
        } else if (byte != '\r') {
            ++context.pos;
        }
        return true;
    });
}

/// Makes `byte` the next one readByte returns; 0 leaves nothing pending.
void unreadByte(ParseContext& context, int byte) { context.pushback = static_cast<uint8_t>(byte); }

/// A byte returned as its own token: bytes 0x80 to 0xFF come back negative.
int32_t byteToken(int byte) { return static_cast<int8_t>(static_cast<uint8_t>(byte)); }

/// Collects `first` and the following bytes of `byteClass` into the context's lexeme, and
/// leaves the first other byte to be read again.
std::string_view collect(ParseContext& context, int first, uint8_t byteClass) {
    std::string& text = context.lexeme;
    text.assign(1, static_cast<char>(first));
    if (context.pushback == 0) {
        // No token class holds a line feed or carriage return: every byte taken adds to pos.
        context.pos += static_cast<int32_t>(
            context.file.appendWhile(text, [byteClass](unsigned char byte) { return inClass(byte, byteClass); }));
    }
    int byte = readByte(context);
    while (inClass(byte, byteClass)) {
        text += static_cast<char>(byte);
        byte = readByte(context);
    }
    unreadByte(context, byte);
    return text;
}

/// Skips blanks and comments from `byte` on; returns the first byte of the token, or 0 when
/// the input ends first (also inside a comment).
int skipBlanksAndComments(ParseContext& context, int byte) {
    for (bool skipped = true; skipped;) {
        skipped = false;
        if (byte == '/') {
            const int next = readByte(context);
            if (next == '*') {
                // The opening "/*" cannot close the comment: only a "*" read inside counts.
                int previous = 0;
                const auto open = [&previous](unsigned char inside) {
                    if (inside == 0 || (inside == '/' && previous == '*')) return false;
                    previous = inside;
                    return true;
                };
                for (int inside = readByte(context); !(inside == '/' && previous == '*');
                     inside = readByte(context)) {
                    if (inside == 0) return 0;
                    previous = inside;
                    skipWhile(context, open);
                }
                byte = readByte(context);
                skipped = true;
            } else if (next == '/') {
                for (int inside = readByte(context); inside != '\n'; inside = readByte(context)) {
                    if (inside == 0) return 0;
                    skipWhile(context, [](unsigned char rest) { return rest != '\n' && rest != 0; });
                }
                byte = readByte(context);
                skipped = true;
            } else if (next != 0) {
                unreadByte(context, next);
            }
        }
        while (inClass(byte, kWhiteSpace)) {
            skipWhile(context, [](unsigned char blank) { return inClass(blank, kWhiteSpace); });
            byte = readByte(context);
            skipped = true;
        }
        if (byte == 0) return 0;
    }
    return byte;
}

/// A number starting with the digit `first`; "x" or "X" after any first digit makes it
/// hexadecimal. Past the bound the digit just read is dropped and the digits after it lex anew.
int32_t lexNumber(ParseContext& context, int first, TokenValue& value) {
    const int marker = readByte(context);
    const bool hex = marker == 'x' || marker == 'X';
    uint32_t number = 0;
    int byte = 0;
    if (hex) {
        byte = readByte(context);
        if (!inClass(byte, kHexDigit)) return marker;
    } else {
        unreadByte(context, marker);
        number = static_cast<uint32_t>(first - '0');
        byte = readByte(context);
    }
    const uint8_t digitClass = hex ? kHexDigit : kDecimalDigit;
    const uint32_t bound = hex ? kHexBound : kDecimalBound;
    for (; inClass(byte, digitClass); byte = readByte(context)) {
        if (number > bound) {
            value.number = static_cast<int32_t>(number);
            return kNumber;
        }
        number = hex ? (number << 4) | static_cast<uint32_t>(hexDigitValue(byte))
                     : number * 10 + static_cast<uint32_t>(byte - '0');
    }
    unreadByte(context, byte);
    value.number = static_cast<int32_t>(number);
    return kNumber;
}

/// An identifier or keyword starting with `first`; a keyword's text is never made.
int32_t lexIdentifier(ParseContext& context, int first, TokenValue& value) {
    const std::string_view text = collect(context, first, kIdentifierPart);
    if (text == "interface") return kInterface;
    if (text == "category") return kCategory;
    if (text == "library") return kLibrary;
    if (text == "enum") return kEnum;
    value.text = new TokenText(text);
    return kIdentifier;
}

/// The common token, lexed straight from the bytes already in the reader's buffer: blanks, then
/// a name, attribute value or single byte, and the byte after a name. Line, pos, mode, the pushback
/// byte and the reader change exactly as the byte-by-byte path changes them. Returns false, having
/// changed nothing, where that path is needed: a comment, a number, a zero byte, a name that starts
/// with the pushed-back byte, or a token that reaches the end of the buffered bytes.
bool lexFromBuffer(ParseContext& context, TokenValue& value, int32_t& token) {
    const std::basic_string_view<unsigned char> window = context.file.window();
    const unsigned char* p = window.data();
    const unsigned char* const end = p + window.size();
    int32_t line = context.line, pos = context.pos;
    const auto count = [&line, &pos](int byte) {
        if (byte == '\n') {
            ++line;
            pos = 0;
        } else if (byte != '\r') {
            ++pos;
        }
    };
    int byte = context.pushback;
    const bool fromPushback = byte != 0;
    if (!fromPushback) {
        if (p == end) return false;
        byte = *p++;
        count(byte);
    }
    while (inClass(byte, kWhiteSpace)) {
        if (p == end) return false;
        byte = *p++;
        count(byte);
    }
    if (byte == 0 || byte == '/') return false;

    int32_t mode = context.lexerMode;
    uint8_t runClass = 0;
    if (mode == kAttributeValueMode && inClass(byte, kAttributeValueByte)) runClass = kAttributeValueByte;
    if (mode == kAttributeNamesMode && inClass(byte, kAttributeNameByte)) runClass = kAttributeNameByte;
    if (mode == kNormalMode && inClass(byte, kIdentifierStart)) runClass = kIdentifierPart;
    if (mode == kNormalMode && inClass(byte, kDecimalDigit)) return false;

    int pushback = 0;
    if (runClass != 0) {
        if (fromPushback && p == window.data()) return false;
        const unsigned char* const first = p - 1;
        while (p != end && inClass(*p, runClass)) ++p;
        if (p == end || *p == 0) return false;
        // No run holds a line feed or carriage return: every byte of it adds to pos.
        pos += static_cast<int32_t>(p - first - 1);
        pushback = *p++;
        count(pushback);
        const std::string_view text(reinterpret_cast<const char*>(first), static_cast<size_t>(p - 1 - first));
        token = kIdentifier;
        if (runClass == kAttributeValueByte) {
            token = kAttributeValue;
        } else if (runClass == kIdentifierPart) {
            if (text == "interface") token = kInterface;
            if (text == "category") token = kCategory;
            if (text == "library") token = kLibrary;
            if (text == "enum") token = kEnum;
        }
        if (token == kIdentifier || token == kAttributeValue) value.text = new TokenText(text);
    } else {
        if (mode == kAttributeValueMode && byte == ')') mode = kAttributeNamesMode;
        else if (mode == kAttributeNamesMode && byte == '(') mode = kAttributeValueMode;
        else if (mode == kAttributeNamesMode && byte == ']') mode = kNormalMode;
        else if (mode == kNormalMode && byte == '[') mode = kAttributeNamesMode;
        token = byteToken(byte);
    }
    context.file.consume(static_cast<size_t>(p - window.data()));
    context.line = line;
    context.pos = pos;
    context.pushback = static_cast<uint8_t>(pushback);
    context.lexerMode = mode;
    return true;
}

}  // namespace

int32_t nextToken(TokenValue& value) {
    ParseContext& context = *currentContext();
    int32_t token = 0;
    if (lexFromBuffer(context, value, token)) return token;
    const int byte = skipBlanksAndComments(context, readByte(context));
    if (byte == 0) return kEndOfInput;

    switch (context.lexerMode) {
    case kAttributeValueMode:
        if (inClass(byte, kAttributeValueByte)) {
            value.text = new TokenText(collect(context, byte, kAttributeValueByte));
            return kAttributeValue;
        }
        if (byte == ')') context.lexerMode = kAttributeNamesMode;
        return byteToken(byte);
    case kAttributeNamesMode:
        if (inClass(byte, kAttributeNameByte)) {
            value.text = new TokenText(collect(context, byte, kAttributeNameByte));
            return kIdentifier;
        }
        if (byte == '(') context.lexerMode = kAttributeValueMode;
        if (byte == ']') context.lexerMode = kNormalMode;
        return byteToken(byte);
    default:
        if (inClass(byte, kIdentifierStart)) return lexIdentifier(context, byte, value);
        if (inClass(byte, kDecimalDigit)) return lexNumber(context, byte, value);
        if (byte == '[') context.lexerMode = kAttributeNamesMode;
        return byteToken(byte);
    }
}

}  // namespace ZEMRA::IDL::PARSER
