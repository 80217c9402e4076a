// The parser: the declarations each accepted text builds, and the message and position of each syntax error.
#include "frontend/parser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "driver/parse_context.h"
#include "support/fake_host.h"
#include "tree/orphan_registry.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// The texts of `items` joined by ", " between `open` and `close`; nothing for no items.
template <class List, class Text>
std::string joined(const List& items, const char* open, const char* close, Text text) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? open : ", ") + text(item);
    return out.empty() ? out : out + close;
}

/// The attribute list as written, " [a, b(v)]".
std::string attributeText(const ParserAttribList& node) {
    return joined(node.attributes, " [", "]", [](const ParserAttribute* attribute) {
        return std::string(attribute->name()) + (attribute->hasValue ? "(" + std::string(attribute->value()) + ")" : "");
    });
}

/// A type with its template arguments, as "A<B<C>, D>".
std::string typeText(const ParserType* type) {
    return type->name + joined(type->templateArguments, "<", ">", typeText);
}

/// One line per declaration: the library, its interfaces with their methods, its enumerations with
/// their items, its category IDs, each list in the order the library holds it.
std::string outline(const ParserLibrary& library) {
    std::string text = "library " + library.name + attributeText(library) + "\n";
    for (const ParserInterface* iface : library.interfaces) {
        text += "interface " + iface->name + joined(iface->templateParameters, "<", ">", std::identity()) +
                attributeText(*iface) + "\n";
        for (const ParserMethod* method : iface->methods)
            text += "  " + typeText(method->returnType) + " " + method->name + "(" +
                    joined(method->arguments, "", "", [](const ParserArg* argument) {
                        return typeText(argument->type) + " " + argument->name + attributeText(*argument);
                    }) + ")" + attributeText(*method) + "\n";
    }
    for (const ParserEnumeration* enumeration : library.enumerations)
        text += "enum " + enumeration->name + attributeText(*enumeration) +
                joined(enumeration->items, " {", "}", [](const ParserEnumItem* item) {
                    return item->name + " = " + std::to_string(item->value);
                }) + "\n";
    for (const ParserCatID* categoryID : library.categoryIDs)
        text += "category " + categoryID->name + attributeText(*categoryID) + "\n";
    return text;
}

/// Parses `source`, read in blocks of `blockSize` bytes, as the driver does: open, parse, purge.
/// Returns the outline of the library built, or the error text.
std::string parseText(const std::string& source, size_t blockSize = 64 * 1024) {
    const lumoidl::test::ScratchDir dir;
    ParseContext context(blockSize);
    const CurrentContextScope scope(&context);
    EXPECT_EQ(context.file.open(lumoidl::test::pathText(dir.write("source.idl", source)).c_str()), 0);
    const int status = parse();
    purgeAll();
    EXPECT_EQ(status, context.errorText.empty() ? 0 : 1);
    return status == 0 && context.library ? outline(*context.library) : context.errorText;
}

TEST(ParserTest, AcceptedTextBuildsItsDeclarations) {
    EXPECT_EQ(parseText("[uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41), version(1.0), local, version(2)]\n"
                        "library L {\n"
                        "  interface I1 { };\n"
                        "  [uuid(2)] enum { A = 1 } E1;\n"
                        "  [library, enum, help-text(a=b;c/d)] category C1;\n"
                        "  [uuid(1)] interface I2<T, U> { };\n"
                        "  category C2;\n"
                        "  enum { Zero = 0, Hex = 0x1F, Largest = 2147483639, AllBits = 0xFFFFFFFF } E2;\n"
                        "  interface Map<K, V> { V get(K key); void put([in] K k, [in, out] ns::Item<V> v, P p); };\n"
                        "  interface I3 {\n"
                        "    [property_get] LumoInteger count();\n"
                        "    A<B<C>, D> make(X<Y, Z<W>> from);\n"
                        "  };\n"
                        "};\n"),
              "library L [uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41), version(1.0), local, version(2)]\n"
              "interface I1\ninterface I2<T, U> [uuid(1)]\ninterface Map<K, V>\n  V get(K key)\n"
              "  void put(K k [in], ns::Item<V> v [in, out], P p)\ninterface I3\n"
              "  LumoInteger count() [property_get]\n  A<B<C>, D> make(X<Y, Z<W>> from)\n"
              "enum E1 [uuid(2)] {A = 1}\nenum E2 {Zero = 0, Hex = 31, Largest = 2147483639, AllBits = -1}\n"
              "category C1 [library, enum, help-text(a=b;c/d)]\ncategory C2\n");
}

/// A library whose one method returns `depth` nested "A<...>" around "B", alone on line 3.
std::string nestedReturnType(int depth) {
    std::string type;
    for (int i = 0; i < depth; ++i) type += "A<";
    type += "B" + std::string(static_cast<size_t>(depth), '>');
    return "library L {\ninterface I {\n" + type + " m();\n};\n};\n";
}

TEST(ParserTest, SyntaxErrorsAreReportedWhereTheLexerStands) {
    const struct {
        std::string source;
        const char* message;
    } cases[] = {
        {"", "line 1, pos 0: syntax error"},
        {"library L { };", "line 1, pos 13: syntax error"},
        {"library interface { category C; };", "line 1, pos 18: syntax error"},
        {"library L {\nenum { A 1 } E;\n};\n", "line 2, pos 11: syntax error"},
        {"library L {\nenum { A = 1, } E;\n};\n", "line 2, pos 15: syntax error"},
        {"library L {\ninterface I {\nvoid m(, int a);\n};\n};\n", "line 3, pos 8: syntax error"},
        {"library L {\ninterface I {\nA<> m();\n};\n};\n", "line 3, pos 3: syntax error"},
        {"library L {\ninterface I { }\n};\n", "line 3, pos 1: syntax error"},
        {"library L {\n[uuid(1)] [local] interface I { };\n};\n", "line 2, pos 11: syntax error"},
        {"[version(1 0)] library L { category C; };", "line 1, pos 13: syntax error"},
        {"[uuid(1) library L { category C; };", "line 1, pos 17: syntax error"},
        {"[uuid()] library L { category C; };", "line 1, pos 7: syntax error"},
        {"\xEF\xBB\xBFlibrary L { category C; };", "line 1, pos 1: syntax error"},
        {"library L {\n[uuid(1)] interface I {\n[in] X<Y> a([in] P<Q, R> p, [out] S s;\n};\n};\n",
         "line 3, pos 38: syntax error"},
        {"library L {\ncategory C; enum { A = 1 } E; interface I { X m(); };\n}\n", "line 4, pos 0: syntax error"},
        {"library L { category C; };\nx", "line 2, pos 1: syntax error"},
        {"[uuid(1)] library A { category C; };\n[uuid(2)] library B { };\n", "line 2, pos 1: syntax error"},
        // The stacks hold 10000 entries; shifting "B" 4995 levels deep overflows them, with the ">" after it read.
        {nestedReturnType(4995), "line 3, pos 9992: yacc stack overflow"},
    };
    for (const auto& c : cases) {
        for (size_t blockSize : {1, 64 * 1024}) {
            SCOPED_TRACE(c.source.substr(0, 80) + ", block size " + std::to_string(blockSize));
            EXPECT_EQ(parseText(c.source, blockSize), c.message);
        }
    }
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
