// Tests of the parser: the tree each accepted shape builds, where each syntax error is, the stack limit.
#include "frontend/parser.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "driver/parse_context.h"
#include "support/fake_host.h"
#include "tree/nodes.h"
#include "tree/orphan_registry.h"
#include "tree/parser_library.h"

namespace {

using ZEMRA::IDL::PARSER::CurrentContextScope;
using ZEMRA::IDL::PARSER::liveParseObjects;
using ZEMRA::IDL::PARSER::ParseContext;
using ZEMRA::IDL::PARSER::ParserAttribList;
using ZEMRA::IDL::PARSER::ParserLibrary;
using ZEMRA::IDL::PARSER::ParserType;
using ZEMRA::IDL::PARSER::registeredOrphans;
using lumoidl::test::pathText;
using lumoidl::test::ScratchDir;

/// Block sizes of the file reader; an error's position must not depend on how the file is buffered.
constexpr size_t kBlockSizes[] = {1, 2, 7, 64 * 1024};

/// The attribute list as written: " [a, b(v)]", or nothing without attributes.
std::string attributeText(const ParserAttribList& node) {
    if (node.attributes.empty()) return "";
    std::string text = " [";
    for (size_t i = 0; i < node.attributes.size(); ++i) {
        if (i > 0) text += ", ";
        text += node.attributes[i]->name;
        if (node.attributes[i]->hasValue) text += "(" + node.attributes[i]->value + ")";
    }
    return text + "]";
}

/// A type reference with its template arguments, as "A<B<C>, D>".
std::string typeText(const ParserType& type) {
    std::string text = type.name;
    if (type.templateArguments.empty()) return text;
    text += "<";
    for (size_t i = 0; i < type.templateArguments.size(); ++i) {
        if (i > 0) text += ", ";
        text += typeText(*type.templateArguments[i]);
    }
    return text + ">";
}

/// One line per declaration: the library, its interfaces with their methods, its enumerations
/// with their items, its category IDs, each list in the order the library holds it.
std::string outline(const ParserLibrary& library) {
    std::string text = "library " + library.name + attributeText(library) + "\n";
    for (const auto* iface : library.interfaces) {
        text += "interface " + iface->name;
        if (!iface->templateParameters.empty()) {
            text += "<";
            for (size_t i = 0; i < iface->templateParameters.size(); ++i)
                text += (i > 0 ? ", " : "") + iface->templateParameters[i];
            text += ">";
        }
        text += attributeText(*iface) + "\n";
        for (const auto* method : iface->methods) {
            text += "  " + typeText(*method->returnType) + " " + method->name + "(";
            for (size_t i = 0; i < method->arguments.size(); ++i) {
                const auto* argument = method->arguments[i];
                text += (i > 0 ? ", " : "") + typeText(*argument->type) + " " + argument->name +
                        attributeText(*argument);
            }
            text += ")" + attributeText(*method) + "\n";
        }
    }
    for (const auto* enumeration : library.enumerations) {
        text += "enum " + enumeration->name + attributeText(*enumeration) + "\n";
        for (const auto* item : enumeration->items)
            text += "  " + item->name + " = " + std::to_string(item->value) + "\n";
    }
    for (const auto* categoryID : library.categoryIDs)
        text += "category " + categoryID->name + attributeText(*categoryID) + "\n";
    return text;
}

/// A library whose one method returns `depth` nested "A<...>" around "B", alone on line 3.
std::string nestedReturnType(int depth) {
    std::string type;
    for (int i = 0; i < depth; ++i) type += "A<";
    type += "B";
    type += std::string(static_cast<size_t>(depth), '>');
    return "library L {\ninterface I {\n" + type + " m();\n};\n};\n";
}

/// Parses source text as the driver does: a fresh current context, open, parse, close, purge.
class ParserTest : public ::testing::Test {
protected:
    /// What one parse left behind.
    struct Run {
        std::unique_ptr<ParseContext> context;
        int status = -1;
        size_t orphansBeforePurge = 0;
        size_t orphansAfterPurge = 0;
    };

    /// Parses `source`, read in blocks of `blockSize` bytes, and purges the registries.
    Run parseText(std::string_view source, size_t blockSize = 64 * 1024) {
        Run run;
        run.context = std::make_unique<ParseContext>();
        run.context->file.setBlockSize(blockSize);
        CurrentContextScope current(run.context.get());
        const ZEMRA::LumoText name = pathText(dir_.write("source.idl", source));
        EXPECT_EQ(run.context->file.open(name.c_str()), 0);
        run.status = ZEMRA::IDL::PARSER::parse();
        run.orphansBeforePurge = registeredOrphans();
        run.context->file.close();
        ZEMRA::IDL::PARSER::purgeAll();
        run.orphansAfterPurge = registeredOrphans();
        return run;
    }

private:
    ScratchDir dir_;
};

TEST_F(ParserTest, AcceptedShapesBuildTheirDeclarations) {
    struct Case {
        const char* label;
        const char* source;
        const char* outline;
    };
    const Case cases[] = {
        {"one category ID", "library L { category C; };", "library L\ncategory C\n"},
        {"library attributes in order, with and without values, repeats kept",
         "[uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41), version(1.0), local, help-text(a=b;c/d), version(2)]\n"
         "library Lib { category C; };",
         "library Lib [uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41), version(1.0), local, help-text(a=b;c/d), "
         "version(2)]\n"
         "category C\n"},
        {"keywords are plain names inside brackets", "[library, enum] library L { [interface] category C; };",
         "library L [library, enum]\ncategory C [interface]\n"},
        {"interleaved body keeps source order within each list",
         "library L {\n"
         "  interface I1 { };\n"
         "  enum { A = 1 } E1;\n"
         "  category C1;\n"
         "  interface I2 { };\n"
         "  category C2;\n"
         "  enum { B = 2 } E2;\n"
         "  interface I3 { };\n"
         "};\n",
         "library L\ninterface I1\ninterface I2\ninterface I3\nenum E1\n  A = 1\nenum E2\n  B = 2\n"
         "category C1\ncategory C2\n"},
        {"interface with an empty body", "library L { [uuid(1)] interface I { }; };",
         "library L\ninterface I [uuid(1)]\n"},
        {"template interface with an empty body", "library L { interface I<T, U> { }; };",
         "library L\ninterface I<T, U>\n"},
        {"template interface with methods",
         "library L { interface Map<K, V> { V get(K key); void put(K key, V value); }; };",
         "library L\ninterface Map<K, V>\n  V get(K key)\n  void put(K key, V value)\n"},
        {"methods with and without arguments and attributes",
         "library L {\n"
         "  interface I {\n"
         "    [property_get] LumoInteger count();\n"
         "    LUMORESULT set([in] LumoInteger index, [in, out] ns::Item<T> item, Plain last);\n"
         "  };\n"
         "};\n",
         "library L\ninterface I\n  LumoInteger count() [property_get]\n"
         "  LUMORESULT set(LumoInteger index [in], ns::Item<T> item [in, out], Plain last)\n"},
        {"nested template arguments in return and argument types",
         "library L { interface I { A<B<C>, D> make(X<Y, Z<W>> from); }; };",
         "library L\ninterface I\n  A<B<C>, D> make(X<Y, Z<W>> from)\n"},
        {"enumeration items with decimal and hexadecimal values",
         "library L { [uuid(2)] enum { Zero = 0, Hex = 0x1F, Upper = 0XfF, AfterDigit = 7x10,"
         " Largest = 2147483639, AllBits = 0xFFFFFFFF } Flags; };",
         "library L\nenum Flags [uuid(2)]\n  Zero = 0\n  Hex = 31\n  Upper = 255\n  AfterDigit = 16\n"
         "  Largest = 2147483639\n  AllBits = -1\n"},
        {"comments, blanks and CRLF line ends between any tokens",
         "/* head */ library // note\r\n L\t{ category /*x*/ C ; } ; // tail\r\n",
         "library L\ncategory C\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const long liveBefore = liveParseObjects();
        Run run = parseText(c.source);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.context->errorText, "");
        EXPECT_EQ(run.orphansBeforePurge, 0u);
        ASSERT_NE(run.context->library, nullptr);
        EXPECT_EQ(outline(*run.context->library), c.outline);
        run.context->library.reset();
        EXPECT_EQ(liveParseObjects(), liveBefore);
    }
}

TEST_F(ParserTest, NestedReturnTypeIsATreeOfTypeReferences) {
    Run run = parseText("library L { interface I { A<B<C>, D> make(); }; };");
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.context->library->interfaces.size(), 1u);
    ASSERT_EQ(run.context->library->interfaces[0]->methods.size(), 1u);
    const auto* method = run.context->library->interfaces[0]->methods[0];
    EXPECT_TRUE(method->arguments.empty());
    const ParserType& a = *method->returnType;
    EXPECT_EQ(a.name, "A");
    ASSERT_EQ(a.templateArguments.size(), 2u);
    const ParserType& b = *a.templateArguments[0];
    const ParserType& d = *a.templateArguments[1];
    EXPECT_EQ(b.name, "B");
    ASSERT_EQ(b.templateArguments.size(), 1u);
    const ParserType& c = *b.templateArguments[0];
    EXPECT_EQ(c.name, "C");
    EXPECT_TRUE(c.templateArguments.empty());
    EXPECT_EQ(d.name, "D");
    EXPECT_TRUE(d.templateArguments.empty());
    for (const ParserType* type : {&a, &b, &c, &d}) EXPECT_EQ(type->templateParameterIndex, -1);
}

TEST_F(ParserTest, TemplateInterfaceWithEmptyBodyKeepsItsParameterNames) {
    Run run = parseText("library L { interface I<T, U> { }; };");
    ASSERT_EQ(run.status, 0);
    ASSERT_EQ(run.context->library->interfaces.size(), 1u);
    const auto* iface = run.context->library->interfaces[0];
    EXPECT_EQ(iface->name, "I");
    EXPECT_EQ(iface->templateParameters, (std::vector<std::string>{"T", "U"}));
    EXPECT_TRUE(iface->methods.empty());
    EXPECT_TRUE(iface->attributes.empty());
}

TEST_F(ParserTest, RejectedShapesReportTheFirstOffendingToken) {
    struct Case {
        const char* label;
        std::string source;
        const char* message;
        // Name of the library left in the context: only a failure after the final ";" leaves one.
        const char* leftLibrary;
    };
    const Case cases[] = {
        {"empty file", "", "line 1, pos 0: syntax error", nullptr},
        {"only blanks and comments",
         "  // note\n/* block */\n\n",
         "line 4, pos 0: syntax error", nullptr},
        {"comment left open to the end",
         "/* never closed\nlibrary L { category C; };\n",
         "line 3, pos 0: syntax error", nullptr},
        {"library without items",
         "library L { };",
         "line 1, pos 13: syntax error", nullptr},
        {"keyword as library name",
         "library interface { category C; };",
         "line 1, pos 18: syntax error", nullptr},
        {"enumeration item without \"=\"",
         "library L {\nenum { A 1 } E;\n};\n",
         "line 2, pos 11: syntax error", nullptr},
        {"enumeration without items",
         "library L {\nenum { } E;\n};\n",
         "line 2, pos 8: syntax error", nullptr},
        {"trailing comma after the last item",
         "library L {\nenum { A = 1, } E;\n};\n",
         "line 2, pos 15: syntax error", nullptr},
        {"enumeration named before its items",
         "library L {\nenum E { A = 1 };\n};\n",
         "line 2, pos 7: syntax error", nullptr},
        // The lexer drops the byte after "0x" when it is no hexadecimal digit and returns "x".
        {"no digit after 0x",
         "library L {\nenum { A = 0xG } E;\n};\n",
         "line 2, pos 14: syntax error", nullptr},
        {"argument list starting with a comma",
         "library L {\ninterface I {\nvoid m(, int a);\n};\n};\n",
         "line 3, pos 8: syntax error", nullptr},
        {"argument list ending with a comma",
         "library L {\ninterface I {\nvoid m(int a, );\n};\n};\n",
         "line 3, pos 15: syntax error", nullptr},
        {"method without return type",
         "library L {\ninterface I {\nm();\n};\n};\n",
         "line 3, pos 2: syntax error", nullptr},
        {"type with empty angle brackets",
         "library L {\ninterface I {\nA<> m();\n};\n};\n",
         "line 3, pos 3: syntax error", nullptr},
        {"empty template parameter list",
         "library L {\ninterface I<> { };\n};\n",
         "line 2, pos 13: syntax error", nullptr},
        {"interface without its \";\"",
         "library L {\ninterface I { }\n};\n",
         "line 3, pos 1: syntax error", nullptr},
        {"two attribute lists before a declaration",
         "library L {\n[uuid(1)] [local] interface I { };\n};\n",
         "line 2, pos 11: syntax error", nullptr},
        {"two attribute lists before the library",
         "[uuid(1)][version(1)] library L { category C; };",
         "line 1, pos 10: syntax error", nullptr},
        {"missing comma in an attribute list",
         "[uuid(1), version(1.0) helpstring]\nlibrary L { category C; };\n",
         "line 1, pos 34: syntax error", nullptr},
        {"blank inside an attribute value",
         "[version(1 0)] library L { category C; };",
         "line 1, pos 13: syntax error", nullptr},
        {"attribute list never closed",
         "[uuid(1) library L { category C; };",
         "line 1, pos 17: syntax error", nullptr},
        {"value without attribute name",
         "[uuid(1), (x)]\nlibrary L { category C; };\n",
         "line 1, pos 11: syntax error", nullptr},
        // A byte from 0x80 on, read where a token belongs, ends the input.
        {"non-ASCII byte before the final \";\"",
         "library L { category C; }\xC3\xA9;",
         "line 1, pos 26: syntax error", nullptr},
        {"syntax error in the middle of a method",
         "library L {\n[uuid(1)] interface I {\n[in] X<Y> a([in] P<Q, R> p, [out] S s;\n};\n};\n",
         "line 3, pos 38: syntax error", nullptr},
        {"syntax error after several library items",
         "library L {\ncategory C; enum { A = 1 } E; interface I { X m(); };\n}\n",
         "line 4, pos 0: syntax error", nullptr},
        {"text after the final \";\"",
         "library L { category C; };\nx",
         "line 2, pos 1: syntax error", "L"},
        {"a second \";\" after the library",
         "library L { category C; };;",
         "line 1, pos 27: syntax error", "L"},
        {"two libraries in one file",
         "library A { category C; };\nlibrary B { category D; };\n",
         "line 2, pos 8: syntax error", "A"},
        {"second library opening with attributes",
         "[uuid(1)] library A { category C; };\n[uuid(2)] library B { };\n",
         "line 2, pos 1: syntax error", "A"},
    };
    for (const Case& c : cases) {
        for (size_t blockSize : kBlockSizes) {
            SCOPED_TRACE(std::string(c.label) + ", block size " + std::to_string(blockSize));
            const long liveBefore = liveParseObjects();
            Run run = parseText(c.source, blockSize);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.context->errorText, c.message);
            EXPECT_EQ(run.orphansAfterPurge, 0u);
            if (c.leftLibrary) {
                ASSERT_NE(run.context->library, nullptr);
                EXPECT_EQ(run.context->library->name, c.leftLibrary);
            } else {
                EXPECT_EQ(run.context->library, nullptr);
            }
            run.context->library.reset();
            EXPECT_EQ(liveParseObjects(), liveBefore);
        }
    }
}

// The return type's innermost name sits 11 + 2 * depth entries deep: state 0; the library's
// attributes, "library", its name and "{"; the same four for the interface; the method's
// attributes; "A" and "<" per level; then "B". The stacks hold at most 10000 entries.
constexpr int kDeepestNesting = 4994;

TEST_F(ParserTest, StackHoldsTenThousandEntriesAndNoMore) {
    {
        SCOPED_TRACE("one level too deep");
        const long liveBefore = liveParseObjects();
        Run run = parseText(nestedReturnType(kDeepestNesting + 1));
        EXPECT_EQ(run.status, 1);
        // Shifting "B" overflows; the lexer has read it and the ">" after it on line 3.
        EXPECT_EQ(run.context->errorText, "line 3, pos 9992: yacc stack overflow");
        EXPECT_EQ(run.orphansAfterPurge, 0u);
        EXPECT_EQ(run.context->library, nullptr);
        EXPECT_EQ(liveParseObjects(), liveBefore);
    }
    {
        // Also shows that the parse after an overflow grows its stacks afresh.
        SCOPED_TRACE("deepest nesting that fits");
        const long liveBefore = liveParseObjects();
        Run run = parseText(nestedReturnType(kDeepestNesting));
        ASSERT_EQ(run.status, 0) << run.context->errorText;
        EXPECT_EQ(run.orphansBeforePurge, 0u);
        const ParserType* type = run.context->library->interfaces.at(0)->methods.at(0)->returnType;
        int depth = 0;
        for (; type->name == "A" && type->templateArguments.size() == 1; type = type->templateArguments[0])
            ++depth;
        EXPECT_EQ(depth, kDeepestNesting);
        EXPECT_EQ(type->name, "B");
        EXPECT_TRUE(type->templateArguments.empty());
        run.context->library.reset();
        EXPECT_EQ(liveParseObjects(), liveBefore);
    }
}

TEST_F(ParserTest, FailedParseLeavesNothingForTheNextOne) {
    const long liveBefore = liveParseObjects();
    Run failed = parseText("[uuid(1), note(x)] library L { [uuid(2)] interface I { X<Y> m([in] Z z,");
    EXPECT_EQ(failed.status, 1);
    EXPECT_GT(failed.orphansBeforePurge, 0u);
    Run next = parseText("library Next { category C; };");
    ASSERT_EQ(next.status, 0) << next.context->errorText;
    EXPECT_EQ(next.orphansBeforePurge, 0u);
    EXPECT_EQ(outline(*next.context->library), "library Next\ncategory C\n");
    next.context->library.reset();
    EXPECT_EQ(liveParseObjects(), liveBefore);
}

}  // namespace
