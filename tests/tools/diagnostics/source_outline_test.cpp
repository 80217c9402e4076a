// Source outlines: tokens with the library's line and pos, syntax error places, declarations and where they stand.
#include "tools/diagnostics/source_outline.h"

#include <gtest/gtest.h>

#include <string>

#include "tools/diagnostics/source_scanner.h"

namespace lumoidl::diagnostics {
namespace {

using namespace std::string_literals;

/// The tokens of `text` through the end of input, each as "kind:bytes[offset]@line:pos": "id", "val",
/// "num" or "kw" for the kind; a symbol as its byte, with its bytes in parentheses when they differ;
/// "END" for the end of input.
std::string scan(std::string_view text) {
    static const char* const kKinds[] = {"id:", "val:", "num:", "kw:", "kw:", "kw:", "kw:", "", "END"};
    SourceScanner scanner(text);
    for (std::string tokens;; tokens += " ") {
        const Token token = scanner.next();
        std::string label = kKinds[static_cast<int>(token.kind)] + std::string(token.text);
        if (token.kind == TokenKind::kSymbol && token.text != std::string(1, token.symbol))
            label = token.symbol + ("(" + label + ")");
        tokens += label + "[" + std::to_string(token.span.offset) + "]@" + std::to_string(token.line) + ":" +
                  std::to_string(token.pos);
        if (token.kind == TokenKind::kEnd) return tokens;
    }
}

TEST(SourceScannerTest, TokensSpansAndLinePos) {
    const struct {
        const char* name;
        std::string text;
        const char* tokens;
    } cases[] = {
        {"CRLF lines: a carriage return is not counted", "library L\r\n{\r\n}\r\n;",
         "kw:library[0]@1:8 id:L[8]@1:9 {[11]@2:1 }[14]@3:1 ;[17]@4:1 END[18]@4:1"},
        {"a name at the end of a line is ended by the line feed", "garbage\n\nx",
         "id:garbage[0]@2:0 id:x[9]@3:1 END[10]@3:1"},
        {"a symbol read back as look-ahead adds nothing", "area);", "id:area[0]@1:5 )[4]@1:5 ;[5]@1:6 END[6]@1:6"},
        {"only a star inside a comment closes it", "/*/ */a/**/b// c\r\n/*/\n*/;",
         "id:a[6]@1:8 id:b[11]@1:13 ;[24]@3:3 END[25]@3:3"},
        {"an unclosed comment ends the input", "x /* *", "id:x[0]@1:2 END[1]@1:6"},
        {"a decimal number drops the digit past its bound", "21474836405;",
         "num:2147483640[0]@1:10 num:5[10]@1:12 ;[11]@1:12 END[12]@1:12"},
        {"a hexadecimal number drops the digit past its bound", "0x10000000AB 7x10",
         "num:0x10000000A[0]@1:11 id:B[11]@1:13 num:7x10[13]@1:17 END[17]@1:17"},
        {"a marker without a hexadecimal digit takes the next byte", "0xG; 0x",
         "x(0xG)[0]@1:3 ;[3]@1:4 x(0x)[5]@1:7 END[7]@1:7"},
        {"attribute names and values have byte classes of their own", "[library, v( 1.0 a;]), x-y]enum",
         "[[0]@1:1 id:library[1]@1:9 ,[8]@1:9 id:v[10]@1:12 ([11]@1:12 val:1.0[13]@1:17 val:a;][17]@1:21 "
         ")[20]@1:21 ,[21]@1:22 id:x-y[23]@1:27 ][26]@1:27 kw:enum[27]@1:31 END[31]@1:31"},
        {"bytes from 0x80 on end the input outside comments", "// \x80\n/* \xFF */;\xFF;",
         ";[12]@2:8 END[13]@2:9"},
        {"a byte order mark ends the input at once", "\xEF\xBB\xBFlibrary", "END[0]@1:1"},
        {"a zero byte ends the input where a token starts", "enum \0enum"s, "kw:enum[0]@1:5 END[4]@1:6"},
        {"a zero byte right after a token only ends the token", "a\0b"s, "id:a[0]@1:2 id:b[2]@1:3 END[3]@1:3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(scan(c.text), c.tokens);
    }
}

TEST(SyntaxErrorSpanTest, MapsTheLibrarysLinePosToTheRejectedToken) {
    const struct {
        const char* name;
        std::string text;
        int32_t line, pos;
        const char* bytes;  // nullptr for the default Span
        uint32_t spanLine, column;
    } cases[] = {
        {"a missing ';' is found at the next token",
         "library X {\n  interface I {\n    LUMORESULT area([out, retval] LumoReal area)\n};", 4, 1, "}", 4, 1},
        {"a name ended by a line feed maps back to its line", "library X {\n  category C D\n};", 3, 0, "D", 2, 14},
        {"a name ended by a carriage return stays on its line", "library X {\r\n  category C D\r\n};", 2, 14, "D",
         2, 14},
        {"of a token and its look-ahead symbol the rejected one", "library X {\n  enum { A = 1; } E;\n};", 2, 15,
         ";", 2, 15},
        {"the end of the text after a name is the end of input", "library X", 1, 9, "", 1, 10},
        {"a byte order mark is the end of input at the start", "\xEF\xBB\xBFlibrary X {};", 1, 1, "", 1, 1},
        {"another message's place maps to the first token there", "library X {\n  category C;\n};", 2, 13, "C", 2,
         12},
        {"no token stands at the place", "library X {};", 1, 3, nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Span span = syntaxErrorSpan(c.text, c.line, c.pos);
        if (c.bytes) {
            EXPECT_EQ(c.text.substr(span.offset, span.length), c.bytes);
        }
        EXPECT_EQ(span.line, c.spanLine);
        EXPECT_EQ(span.column, c.column);
    }
}

TEST(SourceOutlineTest, NamesValuesAndExtents) {
    const std::string text =
        "// Sample.\r\n"
        "[uuid(1-2), version(1.0)]\r\n"
        "library Sample {\r\n"
        "  /* a list */ [uuid(3)]\r\n"
        "  interface IList<T, U> {\r\n"
        "    [get] R<T, M<U>> item([in] I index, [out, retval] T value);\r\n"
        "  };\r\n"
        "  enum { A = 0x1F, B = 2 } Kind;\r\n"
        "  category Cat;\r\n"
        "};\r\n";
    const SourceOutline outline = outlineSource(text);
    ASSERT_TRUE(outline.complete);
    // at() and value() throw, and so fail the test, where a declaration is missing.
    const Interface& list = outline.interfaces.at(0);
    const Method& item = list.methods.at(0);
    const Enumeration& kind = outline.enumerations.at(0);
    const struct {
        const char* name;
        Span span;
        const char* bytes;
        uint32_t line, column;
        std::string_view word = {};  // the text a Word keeps
    } cases[] = {
        {"library attribute", outline.libraryAttributes.at(1).name.span, "version", 2, 13, "version"},
        {"library attribute value", outline.libraryAttributes.at(0).value.value().span, "1-2", 2, 7, "1-2"},
        {"library name", outline.libraryName.span, "Sample", 3, 9, "Sample"},
        {"interface", list.extent, "[uuid(3)]\r\n  interface IList<T, U> {\r\n"
                                   "    [get] R<T, M<U>> item([in] I index, [out, retval] T value);\r\n  };", 4, 16},
        {"interface attribute value", list.attributes.at(0).value.value().span, "3", 4, 22, "3"},
        {"template parameter", list.templateParameters.at(1).span, "U", 5, 22, "U"},
        {"method", item.extent, "[get] R<T, M<U>> item([in] I index, [out, retval] T value);", 6, 5},
        {"return type", item.returnType.span, "R<T, M<U>>", 6, 11},
        {"template argument", item.returnType.arguments.at(1).span, "M<U>", 6, 16},
        {"nested template argument", item.returnType.arguments.at(1).arguments.at(0).name.span, "U", 6, 18, "U"},
        {"method name", item.name.span, "item", 6, 22, "item"},
        {"argument attribute", item.arguments.at(1).attributes.at(1).name.span, "retval", 6, 47, "retval"},
        {"argument type", item.arguments.at(1).type.span, "T", 6, 55},
        {"argument name", item.arguments.at(1).name.span, "value", 6, 57, "value"},
        {"enumeration", kind.extent, "enum { A = 0x1F, B = 2 } Kind;", 8, 3},
        {"enumeration item value", kind.items.at(0).value.span, "0x1F", 8, 14, "0x1F"},
        {"enumeration name", kind.name.span, "Kind", 8, 28, "Kind"},
        {"category ID", outline.categoryIds.at(0).extent, "category Cat;", 9, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(text.substr(c.span.offset, c.span.length), c.bytes);
        EXPECT_EQ(c.span.line, c.line);
        EXPECT_EQ(c.span.column, c.column);
        if (!c.word.empty()) {
            EXPECT_EQ(c.word, c.bytes);
        }
    }
}

/// A method whose return type nests `depth` template argument lists.
std::string nestedMethod(size_t depth) {
    std::string type;
    for (size_t i = 0; i < depth; ++i) type += "IList<";
    return type + "T" + std::string(depth, '>') + " f();";
}

TEST(SourceOutlineTest, KeepsWhatIsCompleteBeforeTheFirstRejectedToken) {
    const struct {
        const char* name;
        std::string text;
        bool complete;
        size_t interfaces, enumerations, categoryIds;
        const char* libraryName;
    } cases[] = {
        {"an empty interface and argument list", "library L { interface I { R f(); }; interface J {}; };", true, 2,
         0, 0, "L"},
        {"a byte from 0x80 on after the last ';' ends the input", "library L { category A; };\xFF x", true, 0, 0,
         1, "L"},
        {"a type nested 5000 deep", "library L { interface I { " + nestedMethod(5000) + " }; };", true, 1, 0, 0,
         "L"},
        {"an error in the second item keeps the first", "library L { category A; category B }", false, 0, 0, 1,
         "L"},
        {"a declaration cut short is left out", "library L { enum { A = 1 } E; interface I { R f(; };", false, 0,
         1, 0, "L"},
        {"text after the last ';'", "library L { category A; }; x", false, 0, 0, 1, "L"},
        {"two attribute lists in a row", "library L { [a][b] category A; };", false, 0, 0, 0, "L"},
        {"a library without items", "library L { };", false, 0, 0, 0, "L"},
        {"a trailing comma", "library L { enum { A = 1, } E; };", false, 0, 0, 0, "L"},
        {"no library", "[a] interface I {};", false, 0, 0, 0, ""},
        {"a type nested past the depth limit",
         "library L { category A; interface I { " + nestedMethod(20000) + " }; };", false, 0, 0, 1, "L"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SourceOutline outline = outlineSource(c.text);
        EXPECT_EQ(outline.complete, c.complete);
        EXPECT_EQ(outline.interfaces.size(), c.interfaces);
        EXPECT_EQ(outline.enumerations.size(), c.enumerations);
        EXPECT_EQ(outline.categoryIds.size(), c.categoryIds);
        EXPECT_EQ(outline.libraryName.text, c.libraryName);
    }
}

}  // namespace
}  // namespace lumoidl::diagnostics
