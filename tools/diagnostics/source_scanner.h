// The library's lexing rules over a text in memory, with where each token stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/diagnostics/source_outline.h"

namespace lumoidl::diagnostics {

/// What a token is.
enum class TokenKind : uint8_t {
    kIdentifier,      ///< a name, or an attribute name inside an attribute list
    kAttributeValue,  ///< an attribute's value
    kNumber,          ///< a decimal or hexadecimal number
    kLibrary,         ///< keyword "library"
    kEnum,            ///< keyword "enum"
    kInterface,       ///< keyword "interface"
    kCategory,        ///< keyword "category"
    kSymbol,          ///< any other single byte below 0x80
    kEnd,             ///< end of input: end of text, a zero byte, or a byte from 0x80 on
};

/// One token as the library's lexer returns it, and where it stands.
struct Token {
    TokenKind kind = TokenKind::kEnd;  ///< what it is
    char symbol = 0;                   ///< for kSymbol: the byte the lexer returns
    std::string_view text;             ///< the bytes the span covers
    Span span;                         ///< the bytes the token took; for kEnd empty, after the last token
    int64_t line = 1;                  ///< the library's line count right after the token was read
    int64_t pos = 0;                   ///< the library's count of bytes on that line right after it
};

/// Cuts a text into tokens one at a time exactly as the library's lexer does, look-ahead byte,
/// lexer modes and line and pos counting included.
class SourceScanner {
public:
    /// A scanner at the start of `text`, which must outlive it.
    explicit SourceScanner(std::string_view text) : text_(text) {}

    /// The next token; once the input has ended, the same kEnd token again.
    Token next();

private:
    /// The pushed-back byte, else the next byte of the text counted into line and pos; 0 at
    /// the end of the text and for a zero byte.
    int readByte();
    /// Skips blanks and comments from `byte` on; the first byte of the token, or 0 at end of input.
    int skipBlanksAndComments(int byte);
    /// The run of `byteClass` bytes that begins with the byte at `start`.
    Token collect(TokenKind kind, size_t start, uint8_t byteClass);
    /// A number whose first digit is `first`, at `start`.
    Token lexNumber(int first, size_t start);
    /// The token of the single byte `byte` at `start`; bytes from 0x80 on end the input.
    Token single(int byte, size_t start);
    /// A token of the bytes from `start` to `end`, at the current line and pos.
    Token make(TokenKind kind, size_t start, size_t end, char symbol = 0);
    /// The end-of-input token, which every later call returns again.
    Token finish();
    /// The span of the bytes from `start` to `end`; `start` never decreases from call to call.
    Span spanOf(size_t start, size_t end);

    std::string_view text_;        ///< the source text
    size_t next_ = 0;              ///< offset of the first byte not read yet
    size_t lastOffset_ = 0;        ///< offset of the byte readByte returned last (end of text at the end)
    int pushback_ = 0;             ///< the byte readByte returns again, or 0
    int mode_ = 0;                 ///< the lexer mode: normal, attribute names or attribute value
    int64_t line_ = 1;             ///< the library's line count
    int64_t pos_ = 0;              ///< the library's count of bytes on the line
    size_t lastTokenEnd_ = 0;      ///< offset just after the last token before the end of input
    size_t cursorOffset_ = 0;      ///< an offset whose line is known: the last span's start
    uint32_t cursorLine_ = 1;      ///< the line at cursorOffset_
    size_t cursorLineStart_ = 0;   ///< the offset where that line starts
    bool ended_ = false;           ///< whether the input has ended
    Token end_;                    ///< the end-of-input token, once ended_
};

}  // namespace lumoidl::diagnostics
