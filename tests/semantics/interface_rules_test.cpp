// Tests of the interface phase: interface, method and argument rules, their order, and what a failure leaves.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "result/parser_result.h"
#include "semantics/semantics.h"
#include "semantics/type_signature.h"
#include "support/fake_host.h"
#include "support/parse_sources.h"
#include "tree/nodes.h"
#include "tree/orphan_registry.h"
#include "tree/parser_library.h"

namespace {

using lumoidl::test::ParsedSources;
using ZEMRA::IDL::PARSER::adoptOrphan;
using ZEMRA::IDL::PARSER::ParserArg;
using ZEMRA::IDL::PARSER::ParserAttribute;
using ZEMRA::IDL::PARSER::ParserInterface;
using ZEMRA::IDL::PARSER::ParserLibrary;
using ZEMRA::IDL::PARSER::ParserMethod;
using ZEMRA::IDL::PARSER::ParserResult;
using ZEMRA::IDL::PARSER::ParserType;

constexpr const char* kLibraryUuid = "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41";
constexpr const char* kUuidA = "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E01";
constexpr const char* kUuidB = "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E02";
constexpr const char* kUuidC = "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E03";

/// A file holding the library Shapes with `body`.
std::string shapes(const std::string& body) {
    return std::string("[uuid(") + kLibraryUuid + ")] library Shapes {\n" + body + "};\n";
}

/// An interface declaration with the uuid attribute `uuid` and the methods `methods`.
std::string iface(const std::string& name, const std::string& methods, const char* uuid = kUuidA) {
    return std::string("[uuid(") + uuid + ")] interface " + name + " {\n" + methods + "};\n";
}

/// The library Shapes holding IShape with the one method "LUMORESULT Move(arguments)".
std::string moveWith(const std::string& arguments) {
    return shapes(iface("IShape", "LUMORESULT Move(" + arguments + ");\n"));
}

/// `text` with every "{file}" replaced by `file`.
std::string withFile(std::string text, const std::string& file) {
    const std::string mark = "{file}";
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + file.size()))
        text.replace(at, mark.size(), file);
    return text;
}

/// The library of the result's k-th entry.
ParserLibrary& libraryAt(const ParsedSources& parsed, size_t k) {
    return *static_cast<ParserLibrary*>(parsed.result().libraries.at(k));
}

/// One source and the message it must give, "{file}" standing for its path.
struct FailureCase {
    const char* label;
    std::string source;
    const char* message;
};

/// Parses each case alone and compares the whole message.
void expectMessages(const std::vector<FailureCase>& cases) {
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed({c.source});
        EXPECT_EQ(parsed.error(), withFile(c.message, parsed.file(0)));
    }
}

TEST(InterfaceRulesTest, EachInterfaceRuleReportsItsMessage) {
    expectMessages({
        {"name with \"::\"", shapes(iface("Shapes::IShape", "")),
         R"(Invalid interface name "Shapes::IShape" in "{file}")"},
        {"name with a single \":\"", shapes(iface("I:Shape", "")), R"(Invalid interface name "I:Shape" in "{file}")"},
        {"attribute an interface does not take",
         shapes("[uuid(" + std::string(kUuidA) + "), local] interface IShape { };\n"),
         R"(Interface "IShape" has invalid specification of attribute "local" in "{file}")"},
        {"uuid attribute repeated",
         shapes("[uuid(" + std::string(kUuidA) + "), uuid(" + kUuidB + ")] interface IShape { };\n"),
         R"(Interface "IShape" has invalid specification of attribute "uuid" in "{file}")"},
        {"uuid attribute without value fails as an attribute, not as a missing uuid",
         shapes("[uuid] interface IShape { };\n"),
         R"(Interface "IShape" has invalid specification of attribute "uuid" in "{file}")"},
        {"built-in type name", shapes(iface("LumoString", "")),
         R"(Type "LumoString" cannot be redefined as interface in "{file}")"},
        {"built-in array type name", shapes(iface("LumoArrayEnumeration", "")),
         R"(Type "LumoArrayEnumeration" cannot be redefined as interface in "{file}")"},
        {"same name twice shows the qualified name", shapes(iface("IShape", "") + iface("IShape", "", kUuidB)),
         R"(Interface "Shapes::IShape" is declared multiple times in "{file}")"},
        {"no uuid attribute", shapes("interface IShape { };\n"), R"(Interface "IShape" must have a uuid attribute)"},
        {"attribute only libraries take", shapes("[version(2)] interface IShape { };\n"),
         R"(Interface "IShape" has invalid specification of attribute "version" in "{file}")"},
        {"uuid too short", shapes(iface("IShape", "", "5F0C2E61-7A3B-4C8D-9E1F")),
         R"(Interface "IShape" has invalid uuid attribute)"},
        {"uuid with a non-hexadecimal digit", shapes(iface("IShape", "", "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6EG1")),
         R"(Interface "IShape" has invalid uuid attribute)"},
        {"null uuid", shapes(iface("IShape", "", "00000000-0000-0000-0000-000000000000")),
         R"(Interface "IShape" cannot have null uuid)"},
        {"uuid repeated, shown as the second one writes it",
         shapes(iface("IShape", "") + iface("ICircle", "", "{5f0c2e61-7a3b-4c8d-9e1f-2a3b4c5d6e01}")),
         R"(Interface "ICircle" redefines uuid "{5f0c2e61-7a3b-4c8d-9e1f-2a3b4c5d6e01}" in "{file}")"},
        {"template parameter named like a built-in type", shapes(iface("IList<T, LumoString>", "")),
         R"(Type "LumoString" cannot be used as template argument in interface "IList" in "{file}")"},
        {"name with \":\" is checked before the attributes", shapes("[uuid, local] interface I:Shape { };\n"),
         R"(Invalid interface name "I:Shape" in "{file}")"},
        {"attributes are checked before the built-in name", shapes("[local] interface LumoString { };\n"),
         R"(Interface "LumoString" has invalid specification of attribute "local" in "{file}")"},
        {"built-in name is checked before the uuid", shapes("interface LumoReal { };\n"),
         R"(Type "LumoReal" cannot be redefined as interface in "{file}")"},
        {"repeated name is checked before the uuid", shapes(iface("IShape", "") + "interface IShape { };\n"),
         R"(Interface "Shapes::IShape" is declared multiple times in "{file}")"},
        {"uuid is checked before the template parameters", shapes("interface IList<LumoString> { };\n"),
         R"(Interface "IList" must have a uuid attribute)"},
        {"template parameters are checked before the methods",
         shapes(iface("IList<LumoInteger>", "LUMORESULT Run(LumoInteger x);\n")),
         R"(Type "LumoInteger" cannot be used as template argument in interface "IList" in "{file}")"},
        {"the first failing interface decides", shapes(iface("LumoValue", "") + "interface IShape { };\n"),
         R"(Type "LumoValue" cannot be redefined as interface in "{file}")"},
    });
}

TEST(InterfaceRulesTest, EachMethodRuleReportsItsMessage) {
    const auto method = [](const std::string& declarations) { return shapes(iface("IShape", declarations)); };
    expectMessages({
        {"attribute a method does not take", method("[local] LUMORESULT Size();\n"),
         R"(Method "Size" in interface "IShape" has invalid specification of attribute "local" in "{file}")"},
        {"long_name without value", method("[long_name] LUMORESULT Size();\n"),
         R"(Method "Size" in interface "IShape" has invalid specification of attribute "long_name" in "{file}")"},
        {"property_set with a value", method("[property_set(x)] LUMORESULT Size([in] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" has invalid specification of attribute "property_set" in "{file}")"},
        {"attributes are checked before the two property attributes",
         method("[property_set, property_get, local] LUMORESULT Size([in] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" has invalid specification of attribute "local" in "{file}")"},
        {"both property attributes", method("[property_set, property_get] LUMORESULT Size([in] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" cannot have both "property_set" and "property_get" attributes in )"
         R"("{file}")"},
        {"both property attributes, other order", method("[property_get, property_set] LUMORESULT Size();\n"),
         R"(Method "Size" in interface "IShape" cannot have both "property_set" and "property_get" attributes in )"
         R"("{file}")"},
        {"property_set without argument", method("[property_set] LUMORESULT Size();\n"),
         R"(Method "Size" in interface "IShape" has "property_set" attribute, and must have exactly one argument)"},
        {"property_set with two arguments",
         method("[property_set] LUMORESULT Size([in] LumoInteger a, [in] LumoInteger b);\n"),
         R"(Method "Size" in interface "IShape" has "property_set" attribute, and must have exactly one argument)"},
        {"property_set argument without in", method("[property_set] LUMORESULT Size([out, retval] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" has "property_set" attribute; its argument must have attribute "in")"},
        {"property_get without argument", method("[property_get] LUMORESULT Size();\n"),
         R"(Method "Size" in interface "IShape" has "property_get" attribute, and must have exactly one argument)"},
        {"property_get with two arguments",
         method("[property_get] LUMORESULT Size([out] LumoInteger a, [out, retval] LumoInteger b);\n"),
         R"(Method "Size" in interface "IShape" has "property_get" attribute, and must have exactly one argument)"},
        {"property_get argument out without retval", method("[property_get] LUMORESULT Size([out] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" has "property_get" attribute; its argument must have attributes )"
         R"("out" and "retval")"},
        {"property_get argument in", method("[property_get] LUMORESULT Size([in] LumoInteger v);\n"),
         R"(Method "Size" in interface "IShape" has "property_get" attribute; its argument must have attributes )"
         R"("out" and "retval")"},
        {"argument rules come before the property rules", method("[property_set] LUMORESULT Size(LumoInteger v);\n"),
         R"(Argument "v" of method "Size" in interface "IShape" has neither "in" nor "out" attribute in "{file}")"},
        {"property accessors take part in the signature check",
         method("[property_get] LUMORESULT Size([out, retval] LumoInteger v);\n"
                "[property_set] LUMORESULT size([in] LumoInteger v);\n"),
         R"(Multiple methods "size" exist in interface "IShape" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
        {"the first failing method decides", method("LUMORESULT Grow(LumoInteger a);\n[local] LUMORESULT Shrink();\n"),
         R"(Argument "a" of method "Grow" in interface "IShape" has neither "in" nor "out" attribute in "{file}")"},
        {"method names are not checked for \":\" or built-in names, argument names for built-in names",
         method("LUMORESULT Shapes::LumoString([in] LumoInteger LumoString, LumoInteger x);\n"),
         R"(Argument "x" of method "Shapes::LumoString" in interface "IShape" has neither "in" nor "out" attribute )"
         R"(in "{file}")"},
    });
}

TEST(InterfaceRulesTest, ArgumentRulesApplyInTheirListedOrder) {
    expectMessages({
        {"attribute an argument does not take", moveWith("[in, optional] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has invalid attribute "optional" in "{file}")"},
        {"in with a value", moveWith("[in(1)] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has invalid attribute "in" in "{file}")"},
        {"in repeated", moveWith("[in, in] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has invalid attribute "in" in "{file}")"},
        {"attributes are checked before the name", moveWith("[in] LumoInteger a, [in, optional] LumoInteger A"),
         R"(Argument "A" of method "Move" in interface "IShape" has invalid attribute "optional" in "{file}")"},
        {"names equal after folding show the folded name", moveWith("[in] LumoInteger Value, [in] LumoInteger value"),
         R"(Method "Move" in interface "IShape" has multiple arguments named "value" in "{file}" (all argument must )"
         R"(differ by name in case-insensitive languages))"},
        {"folded name, not either name as written", moveWith("[in] LumoInteger VALUE, [in] LumoString vaLue"),
         R"(Method "Move" in interface "IShape" has multiple arguments named "value" in "{file}" (all argument must )"
         R"(differ by name in case-insensitive languages))"},
        {"the name is checked before the direction", moveWith("[in] LumoInteger a, LumoInteger a"),
         R"(Method "Move" in interface "IShape" has multiple arguments named "a" in "{file}" (all argument must )"
         R"(differ by name in case-insensitive languages))"},
        {"in with out", moveWith("[in, out] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has both "in" and "out" attributes in "{file}")"},
        {"in, out and retval report in with out", moveWith("[in, out, retval] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has both "in" and "out" attributes in "{file}")"},
        {"in with out after an out argument reports in with out",
         moveWith("[out] LumoInteger a, [out, in] LumoInteger b"),
         R"(Argument "b" of method "Move" in interface "IShape" has both "in" and "out" attributes in "{file}")"},
        {"in with retval on the last argument", moveWith("[in, retval] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has "retval" attribute but not "out" attribute in )"
         R"("{file}")"},
        {"in with retval after an out argument reports retval without out",
         moveWith("[out] LumoInteger a, [in, retval] LumoInteger b"),
         R"(Argument "b" of method "Move" in interface "IShape" has "retval" attribute but not "out" attribute in )"
         R"("{file}")"},
        {"in after out", moveWith("[out] LumoInteger a, [in] LumoInteger b"),
         R"(Argument "b" of method "Move" in interface "IShape" has "in" attribute but appears after argument with )"
         R"("out" attribute in "{file}")"},
        {"in after out with an in between", moveWith("[in] LumoInteger a, [out] LumoInteger b, [in] LumoInteger c"),
         R"(Argument "c" of method "Move" in interface "IShape" has "in" attribute but appears after argument with )"
         R"("out" attribute in "{file}")"},
        {"no direction", moveWith("LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has neither "in" nor "out" attribute in "{file}")"},
        {"retval alone has no direction", moveWith("[retval] LumoInteger a"),
         R"(Argument "a" of method "Move" in interface "IShape" has neither "in" nor "out" attribute in "{file}")"},
        {"no direction after an in argument", moveWith("[in] LumoInteger a, LumoInteger b"),
         R"(Argument "b" of method "Move" in interface "IShape" has neither "in" nor "out" attribute in "{file}")"},
        {"out retval before an out argument", moveWith("[out, retval] LumoInteger a, [out] LumoInteger b"),
         R"(Method "Move" in interface "IShape" has invalid "retval" argument (must be last argument) in "{file}")"},
        {"out retval first of three", moveWith("[out, retval] LumoInteger a, [out] LumoInteger b, [out] LumoInteger c"),
         R"(Method "Move" in interface "IShape" has invalid "retval" argument (must be last argument) in "{file}")"},
        {"out retval not last fails before the next argument is checked",
         moveWith("[out, retval] LumoInteger a, LumoInteger b"),
         R"(Method "Move" in interface "IShape" has invalid "retval" argument (must be last argument) in "{file}")"},
    });
}

TEST(InterfaceRulesTest, MethodsThatCaseInsensitiveLanguagesCannotTellApartFail) {
    const auto methods = [](const std::string& declarations) {
        return shapes(iface("IShape", "") + iface("IList<T>", "", kUuidB) + iface("IBoard", declarations, kUuidC));
    };
    expectMessages({
        {"names differing in case, same argument type, different argument names",
         methods("LUMORESULT Get([in] LumoInteger index);\nLUMORESULT get([in] LumoInteger position);\n"),
         R"(Multiple methods "get" exist in interface "IBoard" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
        {"arguments differing only in direction",
         methods("LUMORESULT Get([in] LumoInteger value);\nLUMORESULT Get([out, retval] LumoInteger value);\n"),
         R"(Multiple methods "Get" exist in interface "IBoard" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
        {"without arguments, differing only in return type and case",
         methods("LumoInteger Count();\nLumoString COUNT();\n"),
         R"(Multiple methods "COUNT" exist in interface "IBoard" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
        {"same template arguments",
         methods("LUMORESULT Add([in] IList<IShape> a);\nLUMORESULT add([in] IList<IShape> b);\n"),
         R"(Multiple methods "add" exist in interface "IBoard" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
        {"the third of three",
         methods("LUMORESULT Put([in] LumoInteger a);\nLUMORESULT Put([in] LumoString a);\n"
                 "LUMORESULT PUT([in] LumoString b);\n"),
         R"(Multiple methods "PUT" exist in interface "IBoard" that cannot be distinguished by argument type in )"
         R"("{file}" (all methods must differ by name or argument list in case-insensitive languages))"},
    });
}

TEST(InterfaceRulesTest, DeclarationsWithinTheRulesPassEveryPass) {
    struct Case {
        const char* label;
        std::string methods;
    };
    const Case cases[] = {
        {"overloads by argument type", "LUMORESULT Get([in] LumoInteger v);\nLUMORESULT Get([in] LumoString v);\n"},
        {"overloads by argument count", "LUMORESULT Get();\nLUMORESULT get([in] LumoInteger v);\n"},
        {"overloads by argument order",
         "LUMORESULT Put([in] LumoInteger a, [in] LumoString b);\nLUMORESULT put([in] LumoString a, [in] LumoInteger "
         "b);\n"},
        {"plain and qualified reference to the same interface are different signatures",
         "LUMORESULT Attach([in] IShape s);\nLUMORESULT Attach([in] Shapes::IShape s);\n"},
        {"different template arguments",
         "LUMORESULT Add([in] IList<LumoInteger> a);\nLUMORESULT Add([in] IList<LumoString> a);\n"},
        {"template argument against plain type",
         "LUMORESULT Add([in] IList<IShape> a);\nLUMORESULT Add([in] IShape a);\n"},
        {"names equal after folding in different methods",
         "LUMORESULT Grow([in] LumoInteger Value);\nLUMORESULT Shrink([in] LumoInteger value);\n"},
        {"method and argument names with \":\" and built-in type names",
         "LUMORESULT Shapes::LumoString([in] LumoInteger LumoString, [in] LumoReal a::b);\n"},
        {"in, then out, then out retval last",
         "LUMORESULT Move([in] LumoInteger a, [out] LumoInteger b, [out, retval] LumoInteger c);\n"},
        {"in then out without retval", "LUMORESULT Move([in] LumoInteger a, [out] LumoInteger b);\n"},
        {"well-formed property accessors with long_name",
         "[property_get, long_name(SizeOfBoard)] LUMORESULT Size([out, retval] LumoInteger v);\n"
         "[property_set] LUMORESULT Size([in] LumoString v);\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed(
            {shapes(iface("IShape", "") + iface("IList<T>", "", kUuidB) + iface("IBoard", c.methods, kUuidC))});
        EXPECT_EQ(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        EXPECT_EQ(libraryAt(parsed, 0).interfacesByName.size(), 3u);
    }
}

TEST(InterfaceRulesTest, InterfaceNamesDifferentFromBuiltInNamesAreAccepted) {
    for (const char* name : {"lumostring", "LumoStrings", "ILumoError", "LUMOresult"}) {
        SCOPED_TRACE(name);
        ParsedSources parsed({shapes(iface(name, "LUMORESULT Run();\n"))});
        EXPECT_EQ(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        EXPECT_EQ(libraryAt(parsed, 0).interfacesByName.count(std::string("Shapes::") + name), 1u);
    }
}

/// A type reference named `name`, owned by its caller.
ParserType* typeNamed(const char* name) {
    std::string text = name;
    return adoptOrphan(new ParserType(text, nullptr));
}

/// Appends one attribute, owned by `list`.
void addAttribute(ZEMRA::IDL::PARSER::ParserAttribList& list, const char* name, const char* value) {
    std::string nameText = name;
    std::string valueText = value ? value : "";
    list.attributes.push_back(adoptOrphan(new ParserAttribute(nameText, value ? &valueText : nullptr)));
}

/// A type reference named `name` with the given template arguments, owned by its caller.
ParserType* typeNamed(const char* name, std::vector<ParserType*> arguments) {
    std::string text = name;
    return adoptOrphan(new ParserType(text, &arguments));
}

TEST(InterfaceRulesTest, TypeSignatureIsTheWrittenTypeWithoutBlanks) {
    struct Case {
        ParserType* type;
        const char* signature;
    };
    const Case cases[] = {
        {typeNamed("LumoInteger"), "LumoInteger"},
        {typeNamed("IThing", {typeNamed("LumoString")}), "IThing<LumoString>"},
        {typeNamed("Shapes::IList", {typeNamed("shapes::IShape")}), "Shapes::IList<shapes::IShape>"},
        {typeNamed("A", {typeNamed("B", {typeNamed("C")}), typeNamed("D")}), "A<B<C>,D>"},
        {typeNamed("A", {typeNamed("B"), typeNamed("C", {typeNamed("D", {typeNamed("E")})})}), "A<B,C<D<E>>>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.signature);
        const std::unique_ptr<ParserType> owned(c.type);
        std::string signature = "getitem$";
        ZEMRA::IDL::PARSER::appendTypeSignature(*c.type, signature);
        EXPECT_EQ(signature, std::string("getitem$") + c.signature);
    }
}

TEST(InterfaceRulesTest, FoldingLowersTheTwentySixUpperCaseLettersOnly) {
    // The target's earlier, longer text must not survive in it.
    std::string folded = "previous text that is longer";
    EXPECT_EQ(ZEMRA::IDL::PARSER::foldCase("GetItem", folded), "getitem");
    EXPECT_EQ(ZEMRA::IDL::PARSER::foldCase("@AZ[`az{_09", folded), "@az[`az{_09");
    EXPECT_EQ(ZEMRA::IDL::PARSER::foldCase("\xC3\x89TAT\xC3\xA9", folded), "\xC3\x89tat\xC3\xA9");
    EXPECT_EQ(folded, "\xC3\x89tat\xC3\xA9");
}

/// A method name and the names of its arguments, each an [in] LumoInteger.
using MethodShape = std::pair<std::string, std::vector<std::string>>;

/// Runs checkFile on the library Shapes built in memory with the one interface IShape holding
/// `methods`, so that names the lexer never makes can be checked. Returns the message in UTF-8.
std::string checkInMemory(const std::vector<MethodShape>& methods) {
    ParserLibrary library;
    library.name = "Shapes";
    addAttribute(library, "uuid", kLibraryUuid);
    std::string ifaceName = "IShape";
    auto* shape = adoptOrphan(new ParserInterface(ifaceName));
    library.interfaces.push_back(shape);
    addAttribute(*shape, "uuid", kUuidA);
    for (const auto& [name, arguments] : methods) {
        auto* method = adoptOrphan(new ParserMethod());
        shape->methods.push_back(method);
        method->name = name;
        method->returnType = typeNamed("LUMORESULT");
        for (const std::string& argumentName : arguments) {
            auto* argument = adoptOrphan(new ParserArg());
            method->arguments.push_back(argument);
            argument->name = argumentName;
            argument->type = typeNamed("LumoInteger");
            addAttribute(*argument, "in", nullptr);
        }
    }
    auto* result = new ParserResult();
    result->addReference();
    const ZEMRA::LumoText file = lumoidl::test::text("shapes.idl");
    EXPECT_TRUE(ZEMRA::IDL::PARSER::checkFile(library, file.c_str(), *result));
    const std::string message = lumoidl::test::utf8(result->errorText.text);
    result->release();
    return message;
}

TEST(InterfaceRulesTest, CaseFoldingLowersAsciiLettersOnly) {
    struct Case {
        const char* label;
        std::vector<MethodShape> methods;
        const char* message;
    };
    const Case cases[] = {
        {"argument names differing in the case of a non-ASCII letter", {{"Move", {"\xC3\x89", "\xC3\xA9"}}}, ""},
        {"method names differing in the case of a non-ASCII letter", {{"\xC3\x89tat", {}}, {"\xC3\xA9tat", {}}}, ""},
        {"argument names differing in ASCII case beside a non-ASCII letter",
         {{"Move", {"\xC3\x89X", "\xC3\x89x"}}},
         "Method \"Move\" in interface \"IShape\" has multiple arguments named \"\xC3\x89x\" in \"shapes.idl\" "
         "(all argument must differ by name in case-insensitive languages)"},
        {"method names differing in ASCII case beside a non-ASCII letter",
         {{"\xC3\x89TAT", {}}, {"\xC3\x89tat", {}}},
         "Multiple methods \"\xC3\x89tat\" exist in interface \"IShape\" that cannot be distinguished by argument "
         "type in \"shapes.idl\" (all methods must differ by name or argument list in case-insensitive languages)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(checkInMemory(c.methods), c.message);
    }
}

TEST(InterfaceRulesTest, FailingInterfaceKeepsTheEntriesMadeBeforeItsFailingStep) {
    struct Case {
        const char* label;
        std::string failing;
        std::string name;
        bool libraryFieldsCopied;
        bool inNameMap;
        bool inUuidMap;
    };
    const std::string uuidB = std::string("[uuid(") + kUuidB + ")] ";
    const Case cases[] = {
        {"name with \":\"", uuidB + "interface I:Bad { };\n", "I:Bad", false, false, false},
        {"malformed attribute", uuidB.substr(0, uuidB.size() - 2) + ", local] interface IBad { };\n", "IBad", true,
         false, false},
        {"built-in name", uuidB + "interface LumoReal { };\n", "LumoReal", true, false, false},
        {"missing uuid", "interface IBad { };\n", "IBad", true, true, false},
        {"null uuid", iface("IBad", "", "00000000-0000-0000-0000-000000000000"), "IBad", true, true, false},
        {"template parameter", iface("IBad<LumoString>", "", kUuidB), "IBad", true, true, true},
        {"method rule", iface("IBad", "LUMORESULT Run(LumoInteger x);\n", kUuidB), "IBad", true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed({shapes(iface("IFirst", "") + c.failing + iface("ILater", "", kUuidC))});
        EXPECT_NE(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        const ParserLibrary& library = libraryAt(parsed, 0);
        ASSERT_EQ(library.interfaces.size(), 3u);
        const ParserInterface& failing = *library.interfaces[1];
        const ParserInterface& later = *library.interfaces[2];

        EXPECT_EQ(failing.libraryName, c.libraryFieldsCopied ? "Shapes" : "");
        EXPECT_EQ(library.interfacesByName.count("Shapes::IFirst"), 1u);
        EXPECT_EQ(library.interfacesByName.count("Shapes::" + c.name), c.inNameMap ? 1u : 0u);
        EXPECT_EQ(library.interfacesByUuid.size(), c.inUuidMap ? 2u : 1u);
        EXPECT_EQ(library.interfacesByUuid.count(failing.uuid.value), c.inUuidMap ? 1u : 0u);

        EXPECT_EQ(library.interfacesByName.count("Shapes::ILater"), 0u);
        EXPECT_EQ(library.interfacesByName.size(), c.inNameMap ? 2u : 1u);
        EXPECT_EQ(later.libraryName, "");
        EXPECT_TRUE(later.uuid.isNullUuid());
    }
}

TEST(InterfaceRulesTest, RepeatedNameOrUuidLeavesTheFirstEntryInPlace) {
    {
        ParsedSources parsed({shapes(iface("IShape", "") + iface("IShape", "", kUuidB))});
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        const ParserLibrary& library = libraryAt(parsed, 0);
        ASSERT_EQ(library.interfacesByName.count("Shapes::IShape"), 1u);
        EXPECT_EQ(library.interfacesByName.at("Shapes::IShape"), library.interfaces[0]);
        EXPECT_EQ(library.interfacesByUuid.size(), 1u);
    }
    {
        ParsedSources parsed({shapes(iface("IShape", "") + iface("ICircle", ""))});
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        const ParserLibrary& library = libraryAt(parsed, 0);
        ASSERT_EQ(library.interfacesByUuid.size(), 1u);
        EXPECT_EQ(library.interfacesByUuid.begin()->second, library.interfaces[0]);
        EXPECT_EQ(library.interfacesByName.size(), 2u);
    }
}

TEST(InterfaceRulesTest, LibraryWithABrokenInterfaceIsHandedOverAndEndsTheFileLoop) {
    ParsedSources parsed({shapes(iface("IShape", "LUMORESULT Run(LumoInteger x);\n")), "this file is never parsed"});
    EXPECT_EQ(
        parsed.error(),
        withFile(
            R"(Argument "x" of method "Run" in interface "IShape" has neither "in" nor "out" attribute in "{file}")",
            parsed.file(0)));
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const ParserLibrary& library = libraryAt(parsed, 0);
    EXPECT_EQ(library.name, "Shapes");
    EXPECT_EQ(library.referenceCount(), 1u);
    // The later passes did not run: nothing is registered in the result.
    EXPECT_TRUE(parsed.result().interfaces.empty());
}

TEST(InterfaceRulesTest, SuccessfulPhaseFillsEveryInterface) {
    ParsedSources parsed(
        {shapes(iface("IShape", "LUMORESULT Draw();\n") +
                iface("IList<T>", "T Get([in] LumoInteger i);\n", "5f0c2e61-7a3b-4c8d-9e1f-2a3b4c5d6e02") +
                iface("ICircle", "", "{5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E03}"))});
    ASSERT_EQ(parsed.error(), "");
    ASSERT_EQ(parsed.result().libraries.size(), 1u);
    const ParserLibrary& library = libraryAt(parsed, 0);
    struct Expected {
        const char* qualified;
        const char* uuidText;
    };
    const Expected expected[] = {
        {"Shapes::IShape", "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E01"},
        {"Shapes::IList", "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E02"},
        {"Shapes::ICircle", "5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E03"},
    };
    ASSERT_EQ(library.interfaces.size(), 3u);
    EXPECT_EQ(library.interfacesByName.size(), 3u);
    EXPECT_EQ(library.interfacesByUuid.size(), 3u);
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(expected[k].qualified);
        const ParserInterface* entry = library.interfaces[k];
        EXPECT_EQ(lumoidl::test::utf8(entry->uuid.uuidText()), expected[k].uuidText);
        EXPECT_EQ(entry->libraryName, "Shapes");
        EXPECT_EQ(lumoidl::test::utf8(entry->libraryUuid.uuidText()), kLibraryUuid);
        ASSERT_EQ(library.interfacesByName.count(expected[k].qualified), 1u);
        EXPECT_EQ(library.interfacesByName.at(expected[k].qualified), entry);
        ASSERT_EQ(library.interfacesByUuid.count(entry->uuid.value), 1u);
        EXPECT_EQ(library.interfacesByUuid.at(entry->uuid.value), entry);
    }
}

}  // namespace
