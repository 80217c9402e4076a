// Tokens of a source text in memory, read byte by byte the way the library's lexer reads a file.
#include "tools/diagnostics/source_scanner.h"

#include "frontend/byte_classes.h"

namespace lumoidl::diagnostics {
namespace {

/// The lexer modes: "[" opens the attribute names, "(" among them a value, ")" closes it and
/// "]" closes the list.
enum Mode : int { kNormal, kAttributeNames, kAttributeValue };

using namespace ZEMRA::IDL::PARSER;

uint32_t hexDigitValue(int byte) {
    if (byte <= '9') return static_cast<uint32_t>(byte - '0');
    return static_cast<uint32_t>((byte | 0x20) - 'a' + 10);
}

}  // namespace

Token SourceScanner::next() {
    if (ended_) return end_;
    const int byte = skipBlanksAndComments(readByte());
    if (byte == 0) return finish();
    const size_t start = lastOffset_;
    switch (mode_) {
    case kAttributeValue:
        if (inClass(byte, kAttributeValueByte)) return collect(TokenKind::kAttributeValue, start, kAttributeValueByte);
        if (byte == ')') mode_ = kAttributeNames;
        return single(byte, start);
    case kAttributeNames:
        if (inClass(byte, kAttributeNameByte)) return collect(TokenKind::kIdentifier, start, kAttributeNameByte);
        if (byte == '(') mode_ = kAttributeValue;
        if (byte == ']') mode_ = kNormal;
        return single(byte, start);
    default:
        if (inClass(byte, kIdentifierStart)) {
            Token token = collect(TokenKind::kIdentifier, start, kIdentifierPart);
            if (token.text == "library") token.kind = TokenKind::kLibrary;
            if (token.text == "enum") token.kind = TokenKind::kEnum;
            if (token.text == "interface") token.kind = TokenKind::kInterface;
            if (token.text == "category") token.kind = TokenKind::kCategory;
            return token;
        }
        if (inClass(byte, kDecimalDigit)) return lexNumber(byte, start);
        if (byte == '[') mode_ = kAttributeNames;
        return single(byte, start);
    }
}

int SourceScanner::readByte() {
    if (pushback_ != 0) {
        // Only the byte read last is ever pushed back, so it stands just before next_.
        const int byte = pushback_;
        pushback_ = 0;
        lastOffset_ = next_ - 1;
        return byte;
    }
    lastOffset_ = next_;
    if (next_ == text_.size()) return 0;
    const int byte = static_cast<unsigned char>(text_[next_++]);
    countByte(byte, line_, pos_);
    return byte;
}

int SourceScanner::skipBlanksAndComments(int byte) {
    for (bool skipped = true; skipped;) {
        skipped = false;
        if (byte == '/') {
            const int second = readByte();
            if (second == '*') {
                // Only a "*" read inside the comment closes it, so "/*/" leaves it open.
                int previous = 0;
                for (int inside = readByte(); !(inside == '/' && previous == '*'); inside = readByte()) {
                    if (inside == 0) return 0;
                    previous = inside;
                }
                byte = readByte();
                skipped = true;
            } else if (second == '/') {
                for (int inside = readByte(); inside != '\n'; inside = readByte())
                    if (inside == 0) return 0;
                byte = readByte();
                skipped = true;
            } else {
                pushback_ = second;
            }
        }
        while (inClass(byte, kWhiteSpace)) {
            byte = readByte();
            skipped = true;
        }
        if (byte == 0) return 0;
    }
    return byte;
}

Token SourceScanner::collect(TokenKind kind, size_t start, uint8_t byteClass) {
    int byte = readByte();
    while (inClass(byte, byteClass)) byte = readByte();
    pushback_ = byte;
    return make(kind, start, lastOffset_);
}

Token SourceScanner::lexNumber(int first, size_t start) {
    const int marker = readByte();
    const bool hex = marker == 'x' || marker == 'X';
    uint32_t number = 0;
    int byte = 0;
    if (hex) {
        // The byte after the marker is taken even when it is no digit and the marker comes back alone.
        byte = readByte();
        if (!inClass(byte, kHexDigit)) return make(TokenKind::kSymbol, start, next_, static_cast<char>(marker));
    } else {
        pushback_ = marker;
        number = static_cast<uint32_t>(first - '0');
        byte = readByte();
    }
    const uint8_t digitClass = hex ? kHexDigit : kDecimalDigit;
    const uint32_t bound = hex ? kHexBound : kDecimalBound;
    for (; inClass(byte, digitClass); byte = readByte()) {
        // Past the bound the digit just read is dropped and the number ends with it.
        if (number > bound) return make(TokenKind::kNumber, start, lastOffset_ + 1);
        number = hex ? (number << 4) | hexDigitValue(byte) : number * 10 + static_cast<uint32_t>(byte - '0');
    }
    pushback_ = byte;
    return make(TokenKind::kNumber, start, lastOffset_);
}

Token SourceScanner::single(int byte, size_t start) {
    if (byte >= 0x80) return finish();
    return make(TokenKind::kSymbol, start, start + 1, static_cast<char>(byte));
}

Token SourceScanner::make(TokenKind kind, size_t start, size_t end, char symbol) {
    lastTokenEnd_ = end;
    return Token{kind, symbol, text_.substr(start, end - start), spanOf(start, end), line_, pos_};
}

Token SourceScanner::finish() {
    ended_ = true;
    end_ = Token{TokenKind::kEnd, 0, {}, spanOf(lastTokenEnd_, lastTokenEnd_), line_, pos_};
    return end_;
}

Span SourceScanner::spanOf(size_t start, size_t end) {
    for (; cursorOffset_ < start; ++cursorOffset_) {
        if (text_[cursorOffset_] == '\n') {
            ++cursorLine_;
            cursorLineStart_ = cursorOffset_ + 1;
        }
    }
    return Span{static_cast<uint32_t>(start), static_cast<uint32_t>(end - start), cursorLine_,
                static_cast<uint32_t>(start - cursorLineStart_ + 1)};
}

}  // namespace lumoidl::diagnostics
