// The modal lexer: token streams, values, lines and positions, over every reader block size.
#include "frontend/lexer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "driver/parse_context.h"
#include "support/fake_host.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {
namespace {

using namespace std::string_literals;
using lumoidl::test::pathText;
using lumoidl::test::ScratchDir;

/// The reader's block size unless told otherwise.
constexpr int32_t kDefaultBlock = 64 * 1024;
/// Every case runs once per block size; the reader must not change a single token or position.
constexpr size_t kBlockSizes[] = {1, 2, 3, 5, 7, 13, 32, 1024, kDefaultBlock};

/// Left in the value slot before each call, so that a token without a value can show it
/// left the slot alone.
constexpr int32_t kUntouched = 0x5A5A5A5A;

/// One token as lexed: its code, its text or number, and line and pos right after it.
struct Lexed {
    int32_t code;
    std::string text;
    int32_t number;
    int32_t line;
    int32_t pos;

    bool operator==(const Lexed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Lexed& token) {
    out << "{" << token.code;
    if (token.code == kIdentifier || token.code == kAttributeValue) out << " \"" << token.text << "\"";
    if (token.code == kNumber) out << " " << token.number;
    return out << " @" << token.line << ":" << token.pos << "}";
}

/// A token without a value.
Lexed tok(int32_t code, int32_t line, int32_t pos) { return {code, "", kUntouched, line, pos}; }
/// A single-character token.
Lexed chr(char c, int32_t line, int32_t pos) { return tok(static_cast<unsigned char>(c), line, pos); }
/// An identifier or attribute name.
Lexed ident(std::string text, int32_t line, int32_t pos) {
    return {kIdentifier, std::move(text), 0, line, pos};
}
/// An attribute value.
Lexed value(std::string text, int32_t line, int32_t pos) {
    return {kAttributeValue, std::move(text), 0, line, pos};
}
/// A number.
Lexed num(int32_t number, int32_t line, int32_t pos) { return {kNumber, "", number, line, pos}; }
/// End of input.
Lexed end(int32_t line, int32_t pos) { return tok(kEndOfInput, line, pos); }

/// Source bytes in, every token up to the first end-of-input code (0 or negative) out.
struct LexCase {
    const char* name;
    std::string source;
    std::vector<Lexed> tokens;
};

class LexerTest : public ::testing::Test {
protected:
    /// Writes `source`, opens it with blocks of `blockSize` bytes and lexes until the stream
    /// ends; each token text is checked to be registered, copied out and deleted.
    std::vector<Lexed> lex(const std::string& source, size_t blockSize, int32_t* finalMode = nullptr) {
        const auto path = dir_.write("source.idl", source);
        ParseContext context;
        CurrentContextScope scope(&context);
        context.file.setBlockSize(blockSize);
        EXPECT_EQ(context.file.open(pathText(path).c_str()), 0);
        const size_t registeredBefore = orphanRegistry<TokenText>.size();

        std::vector<Lexed> tokens;
        for (int32_t code = 1; code > 0 && tokens.size() <= source.size() + 1;) {
            TokenValue slot;
            slot.number = kUntouched;
            code = nextToken(slot);
            Lexed token{code, "", 0, context.line, context.pos};
            if (code == kIdentifier || code == kAttributeValue) {
                EXPECT_TRUE(slot.text->registered());
                EXPECT_EQ(orphanRegistry<TokenText>.size(), registeredBefore + 1);
                token.text = slot.text->text;
                delete slot.text;
            } else {
                token.number = slot.number;
            }
            tokens.push_back(token);
        }
        EXPECT_EQ(orphanRegistry<TokenText>.size(), registeredBefore);
        if (finalMode) *finalMode = context.lexerMode;
        context.file.close();
        return tokens;
    }

    /// Runs every case with every block size.
    void expectTokens(const std::vector<LexCase>& cases) {
        for (const LexCase& c : cases) {
            for (size_t blockSize : kBlockSizes) {
                SCOPED_TRACE(std::string(c.name) + ", block size " + std::to_string(blockSize));
                EXPECT_EQ(lex(c.source, blockSize), c.tokens);
            }
        }
    }

    void TearDown() override {
        EXPECT_EQ(orphanRegistry<TokenText>.size(), 0u);
        EXPECT_EQ(liveParseObjects(), liveBefore_);
    }

    ScratchDir dir_;
    long liveBefore_ = liveParseObjects();
};

TEST_F(LexerTest, SkipsBlanksAndComments) {
    expectTokens({
        {"comments then keyword", "/* a */ // b\nlibrary"s, {tok(kLibrary, 2, 7), end(2, 7)}},
        {"slash of the opening pair does not close", "/*/ x */"s, {end(1, 8)}},
        {"token after a slash-star-slash comment", "/*/ x */ enum"s, {tok(kEnum, 1, 13), end(1, 13)}},
        {"empty block comment", "/**/x"s, {ident("x", 1, 5), end(1, 5)}},
        {"star run before the close", "/* a **/ x"s, {ident("x", 1, 10), end(1, 10)}},
        {"star and slash apart do not close", "/* * / */;"s, {chr(';', 1, 10), end(1, 10)}},
        {"block comment across lines", "/* a\nb */enum"s, {tok(kEnum, 2, 8), end(2, 8)}},
        {"line comment eats its line feed", "// c\nenum"s, {tok(kEnum, 2, 4), end(2, 4)}},
        {"comments in a row", "/*a*//*b*/ //c\n\t// d\n;"s, {chr(';', 3, 1), end(3, 1)}},
        {"tab, carriage return and line feed are blanks", " \t\r\n\t;"s, {chr(';', 2, 2), end(2, 2)}},
        {"end inside a block comment", "enum /* open"s, {tok(kEnum, 1, 5), end(1, 12)}},
        {"end right after the star of a block comment", "enum /* a *"s, {tok(kEnum, 1, 5), end(1, 11)}},
        {"end right after the opening pair", "/*"s, {end(1, 2)}},
        {"end inside a line comment", "enum // tail"s, {tok(kEnum, 1, 5), end(1, 12)}},
        {"end after blanks", "enum  \n "s, {tok(kEnum, 1, 5), end(2, 1)}},
        {"lone slash at the end is a token", "/"s, {chr('/', 1, 1), end(1, 1)}},
        {"slash before another byte is a token", "a/b"s,
         {ident("a", 1, 2), chr('/', 1, 3), ident("b", 1, 3), end(1, 3)}},
        {"comment inside an attribute list", "[a /* c */ b]"s,
         {chr('[', 1, 1), ident("a", 1, 3), ident("b", 1, 13), chr(']', 1, 13), end(1, 13)}},
        {"line comment before an attribute value", "[v(//x\n1)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("1", 2, 2), chr(')', 2, 2),
          chr(']', 2, 3), end(2, 3)}},
        {"value starting with a slash is no comment", "[v(/a)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("/a", 1, 6), chr(')', 1, 6),
          chr(']', 1, 7), end(1, 7)}},
        {"comment pairs inside a value belong to it", "[v(a/*b*/c)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("a/*b*/c", 1, 11), chr(')', 1, 11),
          chr(']', 1, 12), end(1, 12)}},
    });
}

TEST_F(LexerTest, CutsAttributeListsByTheirOwnClasses) {
    expectTokens({
        {"uuid and version", "[uuid(4A5E2E81-C093-11D4-9F1B-0010A4D198C2), version( 1.0 )]"s,
         {chr('[', 1, 1), ident("uuid", 1, 6), chr('(', 1, 6),
          value("4A5E2E81-C093-11D4-9F1B-0010A4D198C2", 1, 43), chr(')', 1, 43), chr(',', 1, 44),
          ident("version", 1, 53), chr('(', 1, 53), value("1.0", 1, 58), chr(')', 1, 59), chr(']', 1, 60),
          end(1, 60)}},
        {"blank inside a value gives two values", "[v(a b)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("a", 1, 5), value("b", 1, 7),
          chr(')', 1, 7), chr(']', 1, 8), end(1, 8)}},
        {"keyword text is a name inside brackets", "[library]"s,
         {chr('[', 1, 1), ident("library", 1, 9), chr(']', 1, 9), end(1, 9)}},
        {"closing bracket returns to keywords", "[library] library"s,
         {chr('[', 1, 1), ident("library", 1, 9), chr(']', 1, 9), tok(kLibrary, 1, 17), end(1, 17)}},
        {"every value punctuation byte", "[v(-=![]@#$%^&*_.{}|\\:/;)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("-=![]@#$%^&*_.{}|\\:/;", 1, 25),
          chr(')', 1, 25), chr(']', 1, 26), end(1, 26)}},
        {"name bytes include dash and digits", "[a-b_c9(x)]"s,
         {chr('[', 1, 1), ident("a-b_c9", 1, 8), chr('(', 1, 8), value("x", 1, 10), chr(')', 1, 10),
          chr(']', 1, 11), end(1, 11)}},
        {"dot and colon split names", "[a.b ns::x]"s,
         {chr('[', 1, 1), ident("a", 1, 3), chr('.', 1, 3), ident("b", 1, 5), ident("ns", 1, 8),
          chr(':', 1, 8), chr(':', 1, 9), ident("x", 1, 11), chr(']', 1, 11), end(1, 11)}},
        {"opening bracket among names changes nothing", "[[a]"s,
         {chr('[', 1, 1), chr('[', 1, 2), ident("a", 1, 4), chr(']', 1, 4), end(1, 4)}},
        {"comma, quote and parenthesis inside a value", "[v(a,\"b(c)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("a", 1, 5), chr(',', 1, 5),
          chr('"', 1, 6), value("b", 1, 8), chr('(', 1, 8), value("c", 1, 10), chr(')', 1, 10),
          chr(']', 1, 11), end(1, 11)}},
        {"a second value list after the first", "[v(a)(b)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("a", 1, 5), chr(')', 1, 5),
          chr('(', 1, 6), value("b", 1, 8), chr(')', 1, 8), chr(']', 1, 9), end(1, 9)}},
        {"parentheses outside brackets change nothing", "(a b)"s,
         {chr('(', 1, 1), ident("a", 1, 3), ident("b", 1, 5), chr(')', 1, 5), end(1, 5)}},
        {"value across a line break", "[v(\n  x\n)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("x", 3, 0), chr(')', 3, 1),
          chr(']', 3, 2), end(3, 2)}},
    });
}

TEST_F(LexerTest, LeavesTheModeInTheContext) {
    const struct {
        const char* source;
        int32_t mode;
    } cases[] = {
        {"", 0}, {"[", 1}, {"[a(", 2}, {"[a(b)", 1}, {"[a(b)]", 0},
        {"[a(b]", 2},  // "]" is a value byte, so the list is still open
        {"[(]", 2}, {"[)", 1}, {"(", 0}, {")", 0}, {"[a(b)] x", 0},
    };
    for (const auto& c : cases) {
        for (size_t blockSize : kBlockSizes) {
            SCOPED_TRACE(std::string(c.source) + ", block size " + std::to_string(blockSize));
            int32_t mode = -1;
            lex(c.source, blockSize, &mode);
            EXPECT_EQ(mode, c.mode);
        }
    }
}

TEST_F(LexerTest, RecognisesKeywordsExactly) {
    expectTokens({
        {"keywords and near misses", "Library libraryX library enum interface category Enum"s,
         {ident("Library", 1, 8), ident("libraryX", 1, 17), tok(kLibrary, 1, 25), tok(kEnum, 1, 30),
          tok(kInterface, 1, 40), tok(kCategory, 1, 49), ident("Enum", 1, 53), end(1, 53)}},
        {"prefixes and extensions", "librar enums interfaces categor"s,
         {ident("librar", 1, 7), ident("enums", 1, 13), ident("interfaces", 1, 24), ident("categor", 1, 31),
          end(1, 31)}},
        {"keyword with a digit or colon after it", "enum1 enum:"s,
         {ident("enum1", 1, 6), ident("enum:", 1, 11), end(1, 11)}},
        {"keyword right before a bracket", "interface[a]"s,
         {tok(kInterface, 1, 10), chr('[', 1, 10), ident("a", 1, 12), chr(']', 1, 12), end(1, 12)}},
    });
}

TEST_F(LexerTest, ReadsIdentifiersAndSingleBytes) {
    expectTokens({
        {"qualified name is one identifier", "ns::Type"s, {ident("ns::Type", 1, 8), end(1, 8)}},
        {"colons inside and at the end", "a:b: c"s, {ident("a:b:", 1, 5), ident("c", 1, 6), end(1, 6)}},
        {"leading colon is a token", ":a"s, {chr(':', 1, 1), ident("a", 1, 2), end(1, 2)}},
        {"underscore start and digits", "_x9 A_1"s, {ident("_x9", 1, 4), ident("A_1", 1, 7), end(1, 7)}},
        {"dash is no identifier byte", "a-b"s,
         {ident("a", 1, 2), chr('-', 1, 2), ident("b", 1, 3), end(1, 3)}},
        {"hash is an ordinary token", "#include <x>"s,
         {chr('#', 1, 1), ident("include", 1, 9), chr('<', 1, 10), ident("x", 1, 12), chr('>', 1, 12),
          end(1, 12)}},
        {"punctuation", "{;}<,>*"s,
         {chr('{', 1, 1), chr(';', 1, 2), chr('}', 1, 3), chr('<', 1, 4), chr(',', 1, 5), chr('>', 1, 6),
          chr('*', 1, 7), end(1, 7)}},
        {"delete byte", "\x7F"s, {tok(127, 1, 1), end(1, 1)}},
        {"control byte", "\x01"s, {tok(1, 1, 1), end(1, 1)}},
    });
}

TEST_F(LexerTest, ReadsNumbers) {
    expectTokens({
        {"hexadecimal", "0x1F"s, {num(31, 1, 4), end(1, 4)}},
        {"upper-case marker, lower-case digits", "0Xa0;"s, {num(160, 1, 5), chr(';', 1, 5), end(1, 5)}},
        {"marker after any digit", "7x10"s, {num(16, 1, 4), end(1, 4)}},
        {"no hexadecimal digit after the marker", "0xG;"s, {chr('x', 1, 3), chr(';', 1, 4), end(1, 4)}},
        {"upper-case marker without a digit", "5X "s, {chr('X', 1, 3), end(1, 3)}},
        {"marker at the end", "0x"s, {chr('x', 1, 2), end(1, 2)}},
        {"decimal", "12 34;"s, {num(12, 1, 3), num(34, 1, 6), chr(';', 1, 6), end(1, 6)}},
        {"single digit at the end", "5"s, {num(5, 1, 1), end(1, 1)}},
        {"leading zero is still decimal", "09"s, {num(9, 1, 2), end(1, 2)}},
        {"letter after a number", "1a"s, {num(1, 1, 2), ident("a", 1, 2), end(1, 2)}},
        {"hexadecimal letter after a decimal", "1F"s, {num(1, 1, 2), ident("F", 1, 2), end(1, 2)}},
        {"largest decimal taken whole", "2147483639"s, {num(2147483639, 1, 10), end(1, 10)}},
        {"ten digits under the bound", "2147483630"s, {num(2147483630, 1, 10), end(1, 10)}},
        {"decimal past the bound drops the digit", "2147483640"s, {num(214748364, 1, 10), end(1, 10)}},
        {"digits after the dropped one start anew", "21474836405;"s,
         {num(214748364, 1, 10), num(5, 1, 12), chr(';', 1, 12), end(1, 12)}},
        {"eleven digits", "99999999999"s, {num(999999999, 1, 10), num(9, 1, 11), end(1, 11)}},
        {"eight hexadecimal digits", "0xFFFFFFFF"s, {num(-1, 1, 10), end(1, 10)}},
        {"leading zero digit under the hexadecimal bound", "0x0FFFFFFFF"s, {num(-1, 1, 11), end(1, 11)}},
        {"leading zeros never reach the bound", "0x00000000001"s, {num(1, 1, 13), end(1, 13)}},
        {"hexadecimal past the bound drops the digit", "0x123456789"s, {num(0x12345678, 1, 11), end(1, 11)}},
        {"hexadecimal digits after the dropped one start anew", "0x10000000AB 0x1000000001"s,
         {num(0x10000000, 1, 11), ident("B", 1, 13), num(0x10000000, 1, 24), num(1, 1, 25), end(1, 25)}},
        {"number inside an attribute value is text", "[v(0x1F)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), value("0x1F", 1, 8), chr(')', 1, 8),
          chr(']', 1, 9), end(1, 9)}},
    });
}

TEST_F(LexerTest, CountsLinesAndPositionsOnBytesAsFirstRead) {
    expectTokens({
        {"line feed read as look-ahead", "garbage\n"s, {ident("garbage", 2, 0), end(2, 0)}},
        {"blank lines", "enum\n\nx"s, {tok(kEnum, 2, 0), ident("x", 3, 1), end(3, 1)}},
        {"carriage returns do not count",
         "library L\r\n{\r\n}\r\n;"s,
         {tok(kLibrary, 1, 8), ident("L", 1, 9), chr('{', 2, 1), chr('}', 3, 1), chr(';', 4, 1), end(4, 1)}},
        {"lone carriage return is a blank", "a\rb"s, {ident("a", 1, 1), ident("b", 1, 2), end(1, 2)}},
        {"tab counts one", "\tenum"s, {tok(kEnum, 1, 5), end(1, 5)}},
    });
}

TEST_F(LexerTest, CountsRunsTakenFromTheBufferAsSingleBytes) {
    // Names, values, blanks and comments come from the reader's buffer in runs; lines and
    // positions must be those of reading byte by byte, also across the default block's end.
    const auto bytes = [](int32_t count, char byte) { return std::string(static_cast<size_t>(count), byte); };
    const std::string longName = "Long_" + bytes(290, 'n') + "::x99";
    const std::string longAttribute = "help-text_" + bytes(190, 'z');
    std::string longValue;
    for (int i = 0; i < 10; ++i) longValue += "-=![]@#$%^&*_.{}|\\:/;";
    longValue += "0x1F";
    const auto name = static_cast<int32_t>(longAttribute.size());
    const auto text = static_cast<int32_t>(longValue.size());
    const int32_t lines = kDefaultBlock - 3;

    expectTokens({
        {"long identifier", "enum " + longName + " x",
         {tok(kEnum, 1, 5), ident(longName, 1, 306), ident("x", 1, 307), end(1, 307)}},
        {"identifier across the default block's end", bytes(kDefaultBlock - 6, ' ') + "abcdefghijklmnopqrst\r\n;",
         {ident("abcdefghijklmnopqrst", 1, kDefaultBlock + 14), chr(';', 2, 1), end(2, 1)}},
        {"long attribute name and value", "[" + longAttribute + "(" + longValue + ")]",
         {chr('[', 1, 1), ident(longAttribute, 1, name + 2), chr('(', 1, name + 2),
          value(longValue, 1, name + text + 3), chr(')', 1, name + text + 3), chr(']', 1, name + text + 4),
          end(1, name + text + 4)}},
        {"value across the default block's end", bytes(kDefaultBlock - 4, '\n') + "[v(0123456789abcdefABCD)]",
         {chr('[', lines, 1), ident("v", lines, 3), chr('(', lines, 3), value("0123456789abcdefABCD", lines, 24),
          chr(')', lines, 24), chr(']', lines, 25), end(lines, 25)}},
        {"blank runs with carriage returns", "\r\r\r\n\t \r\n  x"s, {ident("x", 3, 3), end(3, 3)}},
        {"lone carriage returns in a blank run", "x \r\r y"s, {ident("x", 1, 2), ident("y", 1, 4), end(1, 4)}},
        {"lone carriage returns in a block comment", "/*a\r\rb*/x"s, {ident("x", 1, 7), end(1, 7)}},
        {"lone carriage returns in a line comment at the end", "x //a\r\rb"s, {ident("x", 1, 2), end(1, 6)}},
        {"blanks across the default block's end", bytes(kDefaultBlock + 10, ' ') + "x",
         {ident("x", 1, kDefaultBlock + 11), end(1, kDefaultBlock + 11)}},
        {"CRLF line ends across the default block's end", [] {
             std::string source;
             for (int32_t i = 0; i < kDefaultBlock / 2 + 3; ++i) source += "\r\n";
             return source + "enum";
         }(),
         {tok(kEnum, kDefaultBlock / 2 + 4, 4), end(kDefaultBlock / 2 + 4, 4)}},
        {"CRLF line ends in comments", "// one\r\n// two\r\nenum\r\n/* a\r\nb */ x"s,
         {tok(kEnum, 3, 4), ident("x", 5, 6), end(5, 6)}},
        {"line comment to the end of file", "enum // " + bytes(100, 'c'), {tok(kEnum, 1, 5), end(1, 108)}},
        {"nothing after the two slashes", "x //"s, {ident("x", 1, 2), end(1, 4)}},
        {"carriage return ending a line comment at the end", "x //\r"s, {ident("x", 1, 2), end(1, 4)}},
        {"line comment across the default block's end", "//" + bytes(kDefaultBlock, 'c') + "\nenum",
         {tok(kEnum, 2, 4), end(2, 4)}},
        {"block comment across lines after an identifier", "a/*" + [] {
             std::string body;
             for (int i = 0; i < 40; ++i) body += "line\n";
             return body;
         }() + "*/b",
         {ident("a", 1, 2), ident("b", 41, 3), end(41, 3)}},
        {"closing pair across the default block's end", "/*" + bytes(kDefaultBlock - 3, '-') + "*/x",
         {ident("x", 1, kDefaultBlock + 2), end(1, kDefaultBlock + 2)}},
        {"star run closing across the default block's end", "/*" + bytes(kDefaultBlock - 4, '-') + "**/x",
         {ident("x", 1, kDefaultBlock + 2), end(1, kDefaultBlock + 2)}},
        {"only stars across the default block's end", "/*" + bytes(kDefaultBlock, '*') + "/x",
         {ident("x", 1, kDefaultBlock + 4), end(1, kDefaultBlock + 4)}},
        {"slash of the opening pair, then a real close", "/*/*/x"s, {ident("x", 1, 6), end(1, 6)}},
        {"slash of the opening pair, then a line feed", "/*/\n/x*/y"s, {ident("y", 2, 5), end(2, 5)}},
        {"slash of the opening pair at the end", "/*/"s, {end(1, 3)}},
        {"stars only", "/***/x"s, {ident("x", 1, 6), end(1, 6)}},
        {"star runs on two lines", "/* ***\n**/ y"s, {ident("y", 2, 5), end(2, 5)}},
        {"block comment left open over CRLF lines", "enum /*\r\n * never\r\n * closed *"s,
         {tok(kEnum, 1, 5), end(3, 11)}},
        {"block comment left open across the default block's end", "/*" + bytes(kDefaultBlock + 100, 'c'),
         {end(1, kDefaultBlock + 102)}},
        {"zero byte in a line comment", "x // a\0b\nenum"s, {ident("x", 1, 2), end(1, 7)}},
        {"zero byte after a star", "/* *\0/ */enum"s, {end(1, 5)}},
        {"zero byte after a line feed in a block comment", "/*\n\0*/x"s, {end(2, 1)}},
        {"zero byte right after the opening pair", "/*\0*/x"s, {end(1, 3)}},
    });
}

TEST_F(LexerTest, EndsTheStreamAtZeroAndHighBytes) {
    expectTokens({
        {"zero byte first", "\0library"s, {end(1, 1)}},
        {"zero byte after a blank", "enum \0enum"s, {tok(kEnum, 1, 5), end(1, 6)}},
        {"zero byte in a comment", "/* \0 */enum"s, {end(1, 4)}},
        // Unreading the zero that ended the identifier leaves nothing pending, so lexing
        // goes on behind it.
        {"zero byte read as look-ahead", "a\0b"s, {ident("a", 1, 2), ident("b", 1, 3), end(1, 3)}},
        {"byte order mark", "\xEF\xBB\xBFlibrary"s, {tok(-17, 1, 1)}},
        {"high byte in an attribute value", "[v(\xE9)]"s,
         {chr('[', 1, 1), ident("v", 1, 3), chr('(', 1, 3), tok(-23, 1, 4)}},
        {"high byte among attribute names", "[\xFF]"s, {chr('[', 1, 1), tok(-1, 1, 2)}},
        {"high byte unread after an identifier", "ab\xC3\xA9"s, {ident("ab", 1, 3), tok(-61, 1, 3)}},
        {"high byte unread after a number", "1\x80"s, {num(1, 1, 2), tok(-128, 1, 2)}},
    });
}

TEST_F(LexerTest, TokenTextsStayRegisteredUntilPurged) {
    const auto path = dir_.write("source.idl", "[a(b)] c enum");
    ParseContext context;
    CurrentContextScope scope(&context);
    ASSERT_EQ(context.file.open(pathText(path).c_str()), 0);

    std::vector<int32_t> codes;
    for (int32_t code = 1; code > 0;) {
        TokenValue slot;
        code = nextToken(slot);
        codes.push_back(code);
    }
    EXPECT_EQ(codes, (std::vector<int32_t>{'[', kIdentifier, '(', kAttributeValue, ')', ']', kIdentifier,
                                           kEnum, kEndOfInput}));
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 3u);
    EXPECT_EQ(liveParseObjects(), liveBefore_ + 3);
    purgeAll();
    EXPECT_EQ(orphanRegistry<TokenText>.size(), 0u);
    EXPECT_EQ(liveParseObjects(), liveBefore_);
    context.file.close();
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
