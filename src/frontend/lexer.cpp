// The modal lexer: skips blanks and comments, cuts attribute lists by their own byte classes.
#include "frontend/lexer.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "driver/parse_context.h"
#include "frontend/byte_classes.h"
#include "frontend/common_texts.h"
#include "frontend/identifier_scan.h"
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

/// `number` with the digit `byte` appended, in base 16 or 10.
inline uint32_t withDigit(uint32_t number, int byte, bool hex) {
    return hex ? (number << 4) | static_cast<uint32_t>(hexDigitValue(byte))
               : number * 10 + static_cast<uint32_t>(byte - '0');
}

/// The keyword token that `text` spells exactly, or kIdentifier. Once the size matches, the bytes
/// are compared at a size known here, which takes a load or two instead of a call.
[[gnu::always_inline]] inline int32_t keywordOrIdentifier(std::string_view text) {
    const auto spells = [text]<size_t N>(const char (&keyword)[N]) {
        return std::memcmp(text.data(), keyword, N - 1) == 0;
    };
    switch (text.size()) {
    case 4: return spells("enum") ? kEnum : kIdentifier;
    case 7: return spells("library") ? kLibrary : kIdentifier;
    case 8: return spells("category") ? kCategory : kIdentifier;
    case 9: return spells("interface") ? kInterface : kIdentifier;
    default: return kIdentifier;
    }
}

/// The token text of `text`: for an `identifier` (of the normal mode, where names repeat), the
/// file's one copy; else the common copy when there is one, or a new copy in the node arena.
[[gnu::always_inline]] inline TokenText* tokenText(ParseContext& context, std::string_view text, bool identifier) {
    if (identifier) return TokenText::fromData(context.identifiers.intern(text));
    if (const char* common = commonText(text)) return TokenText::fromData(common);
    return TokenText::make(text);
}

/// The class of the bytes that start a name or value in `mode`.
inline uint8_t runClassOf(int32_t mode) {
    return mode == kNormalMode            ? kIdentifierStart
           : mode == kAttributeNamesMode ? kAttributeNameByte
                                          : kAttributeValueByte;
}

/// The classes of the bytes that start a run in `mode`: a name or value, or in the normal mode a
/// number.
inline uint8_t runStartClass(int32_t mode) {
    return runClassOf(mode) | (mode == kNormalMode ? kDecimalDigit : 0);
}

/// The lexer mode after the single byte `byte` was returned as a token in `mode`.
inline int32_t modeAfter(int32_t mode, int byte) {
    switch (byte) {
    case ')': return mode == kAttributeValueMode ? kAttributeNamesMode : mode;
    case '(': return mode == kAttributeNamesMode ? kAttributeValueMode : mode;
    case ']': return mode == kAttributeNamesMode ? kNormalMode : mode;
    case '[': return mode == kNormalMode ? kAttributeNamesMode : mode;
    default: return mode;
    }
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
    countByte(byte, context.line, context.pos);
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
        countByte(byte, context.line, context.pos);
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
        number = withDigit(number, byte, hex);
    }
    unreadByte(context, byte);
    value.number = static_cast<int32_t>(number);
    return kNumber;
}

/// An identifier or keyword starting with `first`; a keyword's text is never made.
int32_t lexIdentifier(ParseContext& context, int first, TokenValue& value) {
    const std::string_view text = collect(context, first, kIdentifierPart);
    const int32_t token = keywordOrIdentifier(text);
    if (token == kIdentifier) value.text = tokenText(context, text, true);
    return token;
}

/// Lexes one token straight from the bytes already in the reader's buffer, as the byte-by-byte
/// path would, on local copies of line and pos that are written back only when the token is
/// complete. Any step that runs out of buffered bytes, meets a zero byte or reaches a rare case
/// gives up, having changed nothing, and the byte-by-byte path lexes the token instead. The
/// reader puts a zero byte after the buffered ones, so the scans need no bounds checks.
class BufferLexer {
public:
    explicit BufferLexer(ParseContext& context)
        : context_(context), p_(context.file.window().data()),
          origin_(address(p_) - static_cast<uint32_t>(context.pos)), line_(context.line) {}

    /// Lexes the token; false when the byte-by-byte path must.
    bool lex(TokenValue& value, int32_t& token) {
        int byte = context_.pushback;
        const bool fromPushback = byte != 0;
        if ((!fromPushback && !next(byte)) || !skipBlanksAndComments(byte)) return false;
        int32_t mode = context_.lexerMode;
        int pushback = 0;
        if (mode == kNormalMode && inClass(byte, kDecimalDigit)) {
            if (!lexNumber(byte, value, token, pushback)) return false;
        } else {
            uint8_t runClass = runClassOf(mode);
            if (!inClass(byte, runClass)) {
                mode = modeAfter(mode, byte);
                token = byteToken(byte);
            } else {
                // A run must start in the buffer, where its bytes can be taken as one text.
                if (fromPushback && p_ == context_.file.window().data()) return false;
                if (runClass == kIdentifierStart) runClass = kIdentifierPart;
                if (!lexRun(runClass, value, token, pushback)) return false;
            }
        }
        context_.file.consumeTo(p_);
        context_.line = line_;
        context_.pos = static_cast<int32_t>(address(p_) - origin_);
        context_.pushback = static_cast<uint8_t>(pushback);
        context_.lexerMode = mode;
        return true;
    }

private:
    /// The address of `p` as a number, to count positions by.
    static uintptr_t address(const unsigned char* p) { return reinterpret_cast<uintptr_t>(p); }

    /// The next buffered byte; false at the end of the buffered bytes or at a zero byte. Bytes
    /// are counted into pos lazily, as the distance from `origin_`, so that only line feeds
    /// and carriage returns cost a step of their own.
    bool next(int& byte) {
        byte = *p_;
        if (byte == 0) return false;
        ++p_;
        if (byte <= '\r') [[unlikely]]
            countControl(byte);
        return true;
    }

    /// Counts a line feed or carriage return just taken, as countByte does; other bytes up to
    /// '\r' count like any byte.
    void countControl(int byte) {
        if (byte == '\n') {
            ++line_;
            origin_ = address(p_);
        } else if (byte == '\r') {
            ++origin_;
        }
    }

    /// Skips blanks and comments from `byte` on, leaving the token's first byte in `byte`.
    bool skipBlanksAndComments(int& byte) {
        for (;;) {
            while (inClass(byte, kWhiteSpace)) {
                // The indentation after a line break is taken at once; spaces need no counting
                // step. (Only between tokens: a line feed read just past a token must leave
                // the place that the token reports alone.)
                if (byte == '\n') p_ = skipSpaces(p_);
                if (!next(byte)) return false;
            }
            if (byte != '/') return true;
            int opener = 0;
            if (!next(opener) || (opener != '*' && opener != '/')) return false;
            // The "*" of the opening pair cannot close a block comment: only one read inside can.
            for (int previous = 0, inside = 0; opener == '*' && !(inside == '/' && previous == '*');) {
                previous = inside;
                if (!next(inside)) return false;
            }
            for (int inside = 0; opener == '/' && inside != '\n';)
                if (!next(inside)) return false;
            if (!next(byte)) return false;
        }
    }

    /// A name or attribute value: `runClass` bytes from the one just read, then the byte after
    /// them. No run holds a line feed or carriage return, so its bytes need no counting step.
    bool lexRun(uint8_t runClass, TokenValue& value, int32_t& token, int& pushback) {
        const unsigned char* const first = p_ - 1;
        if (runClass == kIdentifierPart)
            p_ = skipIdentifierPart(p_);
        else
            while (inClass(*p_, runClass)) ++p_;
        const std::string_view text(reinterpret_cast<const char*>(first), static_cast<size_t>(p_ - first));
        if (!next(pushback)) return false;
        token = kIdentifier;
        if (runClass == kAttributeValueByte) token = kAttributeValue;
        else if (runClass == kIdentifierPart) token = keywordOrIdentifier(text);
        if (token != kIdentifier && token != kAttributeValue) return true;
        // A name followed by "=" names an enumeration item, which a file seldom writes twice: it
        // is copied without taking a slot of the identifier cache from a name that repeats.
        const bool itemName = runClass == kIdentifierPart && (pushback == '=' || (pushback == ' ' && *p_ == '='));
        value.text = itemName ? TokenText::make(text) : tokenText(context_, text, runClass == kIdentifierPart);
        return true;
    }

    /// A number from the digit `first`, as lexNumber reads it.
    bool lexNumber(int first, TokenValue& value, int32_t& token, int& pushback) {
        int byte = 0;
        if (!next(byte)) return false;
        const bool hex = byte == 'x' || byte == 'X';
        uint32_t number = 0;
        if (hex) {
            const int marker = byte;
            if (!next(byte)) return false;
            if (!inClass(byte, kHexDigit)) {
                token = marker;
                return true;
            }
        } else {
            number = static_cast<uint32_t>(first - '0');
        }
        const uint8_t digitClass = hex ? kHexDigit : kDecimalDigit;
        const uint32_t bound = hex ? kHexBound : kDecimalBound;
        token = kNumber;
        while (inClass(byte, digitClass)) {
            // Past the bound the digit just read is dropped, and nothing is left to read again.
            if (number > bound) {
                value.number = static_cast<int32_t>(number);
                return true;
            }
            number = withDigit(number, byte, hex);
            if (!next(byte)) return false;
        }
        value.number = static_cast<int32_t>(number);
        pushback = byte;
        return true;
    }

    ParseContext& context_;
    const unsigned char* p_;
    /// The address whose distance to p_ is the pos reached: a line feed moves it to the next
    /// byte, a carriage return one byte on.
    uintptr_t origin_;
    int32_t line_;
};

/// The code of the token read byte by byte, its value set into `value`.
int32_t lexByteByByteInto(ParseContext& context, TokenValue& value) {
    const int byte = skipBlanksAndComments(context, readByte(context));
    if (byte == 0) return kEndOfInput;

    switch (context.lexerMode) {
    case kAttributeValueMode:
        if (inClass(byte, kAttributeValueByte)) {
            value.text = tokenText(context, collect(context, byte, kAttributeValueByte), false);
            return kAttributeValue;
        }
        context.lexerMode = modeAfter(context.lexerMode, byte);
        return byteToken(byte);
    case kAttributeNamesMode:
        if (inClass(byte, kAttributeNameByte)) {
            value.text = tokenText(context, collect(context, byte, kAttributeNameByte), false);
            return kIdentifier;
        }
        context.lexerMode = modeAfter(context.lexerMode, byte);
        return byteToken(byte);
    default:
        if (inClass(byte, kIdentifierStart)) return lexIdentifier(context, byte, value);
        if (inClass(byte, kDecimalDigit)) return lexNumber(context, byte, value);
        context.lexerMode = modeAfter(context.lexerMode, byte);
        return byteToken(byte);
    }
}

/// The token read byte by byte, for what the buffered path leaves: kept out of line, so that the
/// common path does not pay for its registers.
[[gnu::noinline]] Token lexByteByByte(ParseContext& context) {
    Token token{kEndOfInput, {nullptr}};
    token.code = lexByteByByteInto(context, token.value);
    return token;
}

/// The next token, from the buffered bytes or else byte by byte: kept out of line, so that
/// nextToken's quick path does not pay for the registers of either.
[[gnu::noinline]] Token lexToken(ParseContext& context) {
    Token token{kEndOfInput, {nullptr}};
    if (BufferLexer(context).lex(token.value, token.code)) return token;
    return lexByteByByte(context);
}

}  // namespace

Token nextToken() {
    ParseContext& context = *currentContext();
    // A pushback byte that is a token by itself (the "," or ";" read just after a name or a
    // number) is handed out at once; it was counted when it was first read.
    const int pushed = context.pushback;
    const int32_t mode = context.lexerMode;
    if (pushed != 0 && pushed != '/' && !inClass(pushed, kWhiteSpace | runStartClass(mode))) {
        context.pushback = 0;
        context.lexerMode = modeAfter(mode, pushed);
        return {byteToken(pushed), {nullptr}};
    }
    return lexToken(context);
}

}  // namespace ZEMRA::IDL::PARSER
