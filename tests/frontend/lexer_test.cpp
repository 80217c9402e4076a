// The modal lexer: the tokens, values, lines and positions of each source, at every reader block size.
#include "frontend/lexer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "driver/parse_context.h"
#include "support/fake_host.h"
#include "tree/token_text.h"

namespace ZEMRA::IDL::PARSER {
namespace {

using namespace std::string_literals;

/// Reader block sizes (0 reads as 1); no token and no position may depend on them.
constexpr size_t kBlockSizes[] = {0, 1, 2, 3, 7, 64 * 1024};

/// The tokens of the file `path`, read in blocks of `blockSize` bytes, up to the first code of 0 or
/// below: "id:" name, "val:" value, "num:" number, a keyword in capitals, a printable byte as itself,
/// "END" for 0, any other code as "#" code; each followed by "@line:pos" as they stand after it; then
/// the lexer's mode unless it is back to normal.
std::string lex(const std::filesystem::path& path, size_t blockSize) {
    ParseContext context(blockSize);
    const CurrentContextScope scope(&context);
    EXPECT_EQ(context.file.open(lumoidl::test::pathText(path).c_str()), 0);
    static const char* const kKeywords[] = {"LIBRARY", "ENUM", "INTERFACE", "CATEGORY"};
    std::string tokens;
    for (int32_t code = 1; code > 0;) {
        const Token token = nextToken();
        code = token.code;
        const TokenValue value = token.value;
        const bool hasText = code == kIdentifier || code == kAttributeValue;
        const TokenText* text = hasText ? value.text : nullptr;
        tokens += (tokens.empty() ? "" : " ") +
                  (hasText                                  ? (code == kIdentifier ? "id:" : "val:") + text->text().str()
                   : code == kNumber                        ? "num:" + std::to_string(value.number)
                   : code >= kLibrary && code <= kCategory  ? kKeywords[code - kLibrary]
                   : code > ' ' && code < 127               ? std::string(1, static_cast<char>(code))
                   : code == 0                              ? "END"
                                                            : "#" + std::to_string(code)) +
                  "@" + std::to_string(context.line) + ":" + std::to_string(context.pos);
    }
    return context.lexerMode == 0 ? tokens : tokens + " mode:" + std::to_string(context.lexerMode);
}

TEST(LexerTest, TokensAndPositionsAtEveryBlockSize) {
    const struct {
        std::string source;
        const char* tokens;
    } cases[] = {
        // Blanks and comments.
        {"/**//**/a/* * / */b/***/c/*/*/d/* a **/e", "id:a@1:10 id:b@1:20 id:c@1:26 id:d@1:32 id:e@1:40 END@1:40"},
        {"/*/\n/x*/y/* ***\n**/ z", "id:y@2:6 id:z@3:5 END@3:5"},
        {"\r\r\r\n\t \r\n  x \r\r y/*a\r\rb*/z", "id:x@3:4 id:y@3:7 id:z@3:13 END@3:13"},
        {"// one\r\n// two\r\nenum\r\n/* a\r\nb */ x", "ENUM@3:4 id:x@5:6 END@5:6"},
        {"// \x80\xFF\n/* \xFF */;", ";@2:8 END@2:8"},
        {"/*/", "END@1:3"},
        {"enum /*\r\n * never\r\n * closed *", "ENUM@1:5 END@3:11"},
        {"x //a\r\rb", "id:x@1:2 END@1:6"},
        {"x /* c */", "id:x@1:2 END@1:9"},
        {"x // c\n", "id:x@1:2 END@2:0"},
        {"enum  \n ", "ENUM@1:5 END@2:1"},
        {"a/b /", "id:a@1:2 /@1:3 id:b@1:4 /@1:5 END@1:5"},
        // Attribute lists: names, values and the modes they switch.
        {"[uuid(4A5E2E81-C093-11D4-9F1B-0010A4D198C2), version( 1.0 )]",
         "[@1:1 id:uuid@1:6 (@1:6 val:4A5E2E81-C093-11D4-9F1B-0010A4D198C2@1:43 )@1:43 ,@1:44 "
         "id:version@1:53 (@1:53 val:1.0@1:58 )@1:59 ]@1:60 END@1:60"},
        {"[[a /* c */ b]", "[@1:1 [@1:2 id:a@1:4 id:b@1:14 ]@1:14 END@1:14"},
        {"[v(//x\n1\n  x\n)]", "[@1:1 id:v@1:3 (@1:3 val:1@3:0 val:x@4:0 )@4:1 ]@4:2 END@4:2"},
        {"[v(/a a/*b*/c)]", "[@1:1 id:v@1:3 (@1:3 val:/a@1:6 val:a/*b*/c@1:14 )@1:14 ]@1:15 END@1:15"},
        {"[v(a 0x1F)]", "[@1:1 id:v@1:3 (@1:3 val:a@1:5 val:0x1F@1:10 )@1:10 ]@1:11 END@1:11"},
        {"[library] library", "[@1:1 id:library@1:9 ]@1:9 LIBRARY@1:17 END@1:17"},
        {"[v(-=![]@#$%^&*_.{}|\\:/;AZaz09)]",
         "[@1:1 id:v@1:3 (@1:3 val:-=![]@#$%^&*_.{}|\\:/;AZaz09@1:31 )@1:31 ]@1:32 END@1:32"},
        {"[A@Z`a{z/0:9.-_]",
         "[@1:1 id:A@1:3 @@1:3 id:Z@1:5 `@1:5 id:a@1:7 {@1:7 id:z@1:9 /@1:10 id:0@1:11 :@1:11 id:9@1:13 "
         ".@1:13 id:-_@1:16 ]@1:16 END@1:16"},
        {"[)enum(x]", "[@1:1 )@1:2 id:enum@1:7 (@1:7 val:x]@1:9 END@1:9 mode:2"},
        {"[v(a,\"b(c)]",
         "[@1:1 id:v@1:3 (@1:3 val:a@1:5 ,@1:5 \"@1:6 val:b@1:8 (@1:8 val:c@1:10 )@1:10 ]@1:11 END@1:11"},
        {"[v(a)(b)enum", "[@1:1 id:v@1:3 (@1:3 val:a@1:5 )@1:5 (@1:6 val:b@1:8 )@1:8 id:enum@1:12 END@1:12 mode:1"},
        // Keywords, identifiers and single bytes.
        {"Library libraryX library enum interface category Enum enum1 enuM librarY categorY interfacE",
         "id:Library@1:8 id:libraryX@1:17 LIBRARY@1:25 ENUM@1:30 INTERFACE@1:40 CATEGORY@1:49 id:Enum@1:54 "
         "id:enum1@1:60 id:enuM@1:65 id:librarY@1:73 id:categorY@1:82 id:interfacE@1:91 END@1:91"},
        {"ns::Type a:b: c :d", "id:ns::Type@1:9 id:a:b:@1:14 id:c@1:16 :@1:17 id:d@1:18 END@1:18"},
        {"A@Z`a{z/0_9:[",
         "id:A@1:2 @@1:2 id:Z@1:4 `@1:4 id:a@1:6 {@1:6 id:z@1:8 /@1:9 num:0@1:10 id:_9:@1:13 [@1:13 END@1:13 mode:1"},
        {"{;}<,>*\x7F\x01", "{@1:1 ;@1:2 }@1:3 <@1:4 ,@1:5 >@1:6 *@1:7 #127@1:8 #1@1:9 END@1:9"},
        // Numbers: hexadecimal after "x" or "X" behind any first digit; digits past the bound lex anew.
        {"0x09AFaf 0Xa0;", "num:634799@1:9 num:160@1:14 ;@1:14 END@1:14"},
        {"7x10 0x", "num:16@1:5 x@1:7 END@1:7"},
        {"0xG; 0x@ 0x` 0xg 5X ", "x@1:3 ;@1:4 x@1:8 x@1:12 x@1:16 X@1:20 END@1:20"},
        {"12 34;09 1a 1F 5",
         "num:12@1:3 num:34@1:6 ;@1:6 num:9@1:9 num:1@1:11 id:a@1:12 num:1@1:14 id:F@1:15 num:5@1:16 END@1:16"},
        {"2147483639 0000000000002147483639", "num:2147483639@1:11 num:2147483639@1:33 END@1:33"},
        {"21474836405;", "num:214748364@1:10 num:5@1:12 ;@1:12 END@1:12"},
        {"0xFFFFFFFF 0x0FFFFFFFF 0x00000000001", "num:-1@1:11 num:-1@1:23 num:1@1:36 END@1:36"},
        {"0x10000000AB 0x1000000001", "num:268435456@1:11 id:B@1:13 num:268435456@1:24 num:1@1:25 END@1:25"},
        // Lines count line feeds; pos counts the other bytes but carriage returns, as first read.
        {"garbage\n\nx", "id:garbage@2:0 id:x@3:1 END@3:1"},
        {"library L\r\n{\r\n}\r\n;", "LIBRARY@1:8 id:L@1:9 {@2:1 }@3:1 ;@4:1 END@4:1"},
        {"a\rb\tenum", "id:a@1:1 id:b@1:3 ENUM@1:7 END@1:7"},
        // A zero byte where a token or a comment byte is read ends the input; right after a token, only the token.
        {"enum \0enum"s, "ENUM@1:5 END@1:6"},
        {"x // a\0b\nenum"s, "id:x@1:2 END@1:7"},
        {"/* *\0/ */enum"s, "END@1:5"},
        {"a\0b"s, "id:a@1:2 id:b@1:3 END@1:3"},
        // Bytes from 0x80 on come back negative, where the parser takes them as the end of input.
        {"\xEF\xBB\xBFlibrary", "#-17@1:1"},
        {"[v(\xE9)]", "[@1:1 id:v@1:3 (@1:3 #-23@1:4 mode:2"},
        {"[\xFF]", "[@1:1 #-1@1:2 mode:1"},
        {"1\x80", "num:1@1:2 #-128@1:2"},
    };
    const lumoidl::test::ScratchDir dir;
    for (const auto& c : cases) {
        const auto path = dir.write("source.idl", c.source);
        for (size_t blockSize : kBlockSizes) {
            SCOPED_TRACE("\"" + c.source + "\", block size " + std::to_string(blockSize));
            EXPECT_EQ(lex(path, blockSize), c.tokens);
        }
    }
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
