// Inputs no one writes on purpose: stray bytes, numbers past their bounds, extreme sizes and counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "reliability/in_process_host.h"

namespace {

using lumoidl::test::errorOf;
using lumoidl::test::libraryAt;
using lumoidl::test::nameOf;
using lumoidl::test::OwnedResult;
using lumoidl::test::parseFiles;
using lumoidl::test::pathUtf8;
using lumoidl::test::RecordingString;
using lumoidl::test::ScratchDir;
using lumoidl::test::text;
using lumoidl::test::utf8;

/// A uuid text unique to (`serial`, `part`).
std::string uuid(int serial, int part) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "9A41D0C2-3E57-4B68-A0F1-%08X%04X", static_cast<unsigned>(serial),
                  static_cast<unsigned>(part));
    return buffer;
}

/// A library of one empty interface, two lines long.
std::string plainLibrary(const std::string& name, int serial) {
    return "[uuid(" + uuid(serial, 0) + ")]\nlibrary " + name + " { [uuid(" + uuid(serial, 1) +
           ")] interface IPlain { }; };\n";
}

/// IDL sources written to scratch files and parsed in one call.
class Parsed {
public:
    /// Writes each source to its own file and parses them in order.
    explicit Parsed(const std::vector<std::string>& sources) {
        for (size_t k = 0; k < sources.size(); ++k)
            files_.push_back(pathUtf8(dir_.write("source" + std::to_string(k) + ".idl", sources[k])));
        result_ = parseFiles(files_);
    }
    /// The result; borrowed.
    ILumoIDLParseResult* result() const { return result_.get(); }
    /// The error text in UTF-8.
    std::string error() const { return errorOf(result_.get()); }
    /// The path of the k-th file as messages show it.
    const std::string& file(size_t k) const { return files_.at(k); }
    /// `detail` as the driver reports a parse failure of the k-th file.
    std::string parseError(size_t k, const std::string& detail) const {
        return "Parse error in \"" + file(k) + "\": " + detail;
    }

private:
    ScratchDir dir_;
    std::vector<std::string> files_;
    OwnedResult result_;
};

struct SourceCase {
    const char* label;
    std::string source;
    /// "line L, pos P: message" of the parse failure, or empty when the file passes.
    std::string failure;
};

void expectOutcomes(const std::vector<SourceCase>& cases) {
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.label);
        Parsed parsed({c.source});
        EXPECT_EQ(parsed.error(), c.failure.empty() ? "" : parsed.parseError(0, c.failure));
        EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(parsed.result()), c.failure.empty() ? 1 : 0);
    }
}

const std::string kPlain = plainLibrary("Plain", 1);
/// The first line of kPlain: the library's attribute list.
const std::string kPlainHead = "[uuid(" + uuid(1, 0) + ")]\n";

TEST(HostileInputTest, EmptyFilesCommentsAndWhiteSpace) {
    expectOutcomes({
        {"empty file", "", "line 1, pos 0: syntax error"},
        {"only blanks", "  \r\n\t\n ", "line 3, pos 1: syntax error"},
        {"only comments", "// one\n/* two\n three */\n", "line 4, pos 0: syntax error"},
        {"unterminated block comment", "/* never closed", "line 1, pos 15: syntax error"},
        {"unterminated block comment inside the library", kPlainHead + "library L { /* open",
         "line 2, pos 19: syntax error"},
        {"unterminated block comment after the library", kPlain + "/* trailing", ""},
        {"line comment without a line feed after the library", kPlain + "// last", ""},
        {"comment whose opener shares its slash", "/*/ " + kPlain, "line 3, pos 0: syntax error"},
    });
}

TEST(HostileInputTest, ZeroByteWhereATokenWouldStartEndsTheInput) {
    expectOutcomes({
        {"first byte", std::string(1, '\0') + kPlain, "line 1, pos 1: syntax error"},
        {"inside the library body", kPlainHead + "library L {" + std::string(1, '\0') + " };",
         "line 2, pos 12: syntax error"},
        // Read as the byte after an identifier, a zero only ends the identifier.
        {"inside an identifier", kPlainHead + "library Li" + std::string(1, '\0') + "b { };",
         "line 2, pos 13: syntax error"},
        {"after the library, before garbage", kPlain + std::string(1, '\0') + "garbage", ""},
    });
}

TEST(HostileInputTest, BytesAboveAsciiOutsideCommentsEndTheInput) {
    std::string everyHighByte;
    for (int byte = 0x80; byte <= 0xFF; ++byte) everyHighByte += static_cast<char>(byte);
    expectOutcomes({
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + kPlain, "line 1, pos 1: syntax error"},
        {"after an identifier", kPlainHead + "library L\x80 { };", "line 2, pos 10: syntax error"},
        {"in an interface name",
         kPlainHead + "library L { [uuid(" + uuid(1, 1) + ")] interface Caf\xC3\xA9 { }; };",
         "line 2, pos 71: syntax error"},
        {"in an attribute name", "[\xFFuuid(" + uuid(1, 0) + ")]\nlibrary L { };", "line 1, pos 2: syntax error"},
        {"in an attribute value", "[uuid(\xE2\x80\x94)]\nlibrary L { };", "line 1, pos 7: syntax error"},
        {"between items", kPlainHead + "library L { \xA0 };", "line 2, pos 13: syntax error"},
        {"after the library, before garbage", kPlain + "\xFF garbage", ""},
        {"every high byte in comments", "// " + everyHighByte + "\n/* " + everyHighByte + " */\n" + kPlain, ""},
    });
}

/// A library whose only enumeration has one item of the value written as `number`.
std::string enumerationWithValue(const std::string& number) {
    return "[uuid(" + uuid(2, 0) + ")]\nlibrary Numbers {\n    [uuid(" + uuid(2, 1) +
           ")] enum { Value = " + number + " } Numeric;\n};\n";
}

TEST(HostileInputTest, NumbersPastTheirBoundsKeepWhatWasAccumulated) {
    struct Case {
        const char* number;
        int32_t value;
    };
    const Case cases[] = {
        {"2147483639", 2147483639},      // the largest decimal taken whole
        {"2147483640", 214748364},       // the tenth digit comes after the bound and is dropped
        {"2147483647", 214748364},
        {"0000000000002147483639", 2147483639},
        {"0x0FFFFFFF", 0x0FFFFFFF},
        {"0xFFFFFFFF", -1},              // eight hexadecimal digits fill all 32 bits
        {"0x7fffffff", 0x7FFFFFFF},
        {"0x123456789", 0x12345678},     // the ninth digit comes after the bound and is dropped
        {"0x000000000000000A", 10},
        {"7x10", 16},                    // any first digit introduces hexadecimal
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        Parsed parsed({enumerationWithValue(c.number)});
        ASSERT_EQ(parsed.error(), "");
        ILumoIDLEnumeration* numeric = nullptr;
        ASSERT_EQ(ILumoIDLParseResult_getEnumeration(parsed.result(), 0, &numeric), LUMO_OK);
        int32_t value = 0;
        EXPECT_EQ(ILumoIDLEnumeration_getItemValue(numeric, 0, &value), LUMO_OK);
        EXPECT_EQ(value, c.value);
    }
}

TEST(HostileInputTest, DigitsAfterADroppedDigitStartANewNumber) {
    // The item's line begins with 64 bytes before the number.
    expectOutcomes({
        {"decimal", enumerationWithValue("21474836470"), "line 3, pos 76: syntax error"},
        {"hexadecimal", enumerationWithValue("0x1234567890"), "line 3, pos 77: syntax error"},
        {"no hexadecimal digit", enumerationWithValue("0xG"), "line 3, pos 67: syntax error"},
    });
}

/// `depth` types nested one in the other around `innermost`: A<A<...<innermost>...>>.
std::string nested(const std::string& outer, const std::string& innermost, int depth) {
    std::string type;
    for (int k = 0; k < depth; ++k) type += outer + "<";
    type += innermost;
    type.append(static_cast<size_t>(depth), '>');
    return type;
}

/// A library with a one-parameter interface template IBox and an interface whose method takes
/// an argument of the type `type`.
std::string libraryWithArgumentType(const std::string& type) {
    return "[uuid(" + uuid(3, 0) + ")]\nlibrary Deep {\n"
           "    [uuid(" + uuid(3, 1) + ")] interface IBox<T> { LUMORESULT get([out, retval] T value); };\n"
           "    [uuid(" + uuid(3, 2) + ")] interface IUser {\n"
           "        LUMORESULT take([in] " + type + " value);\n"
           "    };\n"
           "};\n";
}

/// Deepest nesting of IBox that the parse stacks (10000 entries) still hold in
/// libraryWithArgumentType: 15 entries lead to the argument's type, each level takes two, and
/// the innermost type with its closing ">" three more.
constexpr int kDeepestNesting = 4991;

TEST(HostileInputTest, TenThousandNestedTemplateArgumentsOverflowTheParseStack) {
    Parsed parsed({libraryWithArgumentType(nested("A", "LumoInteger", 10000))});
    // The line holds 29 bytes before the type and two more per level: the overflow comes at the
    // 4993rd level, the same level as one nesting past kDeepestNesting in the test below.
    EXPECT_EQ(parsed.error(), parsed.parseError(0, "line 5, pos 10015: yacc stack overflow"));
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(parsed.result()), 0);
}

TEST(HostileInputTest, TypeNestedJustUnderTheParseStackLimitResolves) {
    Parsed deepest({libraryWithArgumentType(nested("IBox", "LumoInteger", kDeepestNesting))});
    ASSERT_EQ(deepest.error(), "");
    ILumoIDLInterface* user = nullptr;
    RecordingString userName;
    userName.content = text("Deep::IUser");
    ASSERT_EQ(ILumoIDLParseResult_getInterfaceByName(deepest.result(), &userName, &user), LUMO_OK);
    ILumoIDLMethod* take = nullptr;
    ASSERT_EQ(ILumoIDLInterface_getMethod(user, 0, &take), LUMO_OK);
    ILumoIDLMethodArgument* argument = nullptr;
    ASSERT_EQ(ILumoIDLMethod_getArgument(take, 0, &argument), LUMO_OK);
    ILumoIDLType* type = ILumoIDLMethodArgument_getType(argument);
    int depth = 0;
    bool allBoxes = true;
    while (ILumoIDLType_getTemplateArgumentCount(type) == 1) {
        allBoxes = allBoxes && ILumoIDLType_getKind(type) == LUMO_KIND_OBJECT && nameOf(type) == "Deep::IBox";
        ASSERT_EQ(ILumoIDLType_getTemplateArgument(type, 0, &type), LUMO_OK);
        ++depth;
    }
    EXPECT_TRUE(allBoxes);
    EXPECT_EQ(depth, kDeepestNesting);
    EXPECT_EQ(ILumoIDLType_getKind(type), LUMO_KIND_INTEGER);
    EXPECT_EQ(nameOf(type), "LumoInteger");

    Parsed oneDeeper({libraryWithArgumentType(nested("IBox", "LumoInteger", kDeepestNesting + 1))});
    EXPECT_EQ(oneDeeper.error(), oneDeeper.parseError(0, "line 5, pos 25001: yacc stack overflow"));
}

TEST(HostileInputTest, MillionItemEnumerationPassesAndFindsItsItems) {
    constexpr int kItems = 1000000;
    std::string source = "[uuid(" + uuid(4, 0) + ")]\nlibrary Huge {\n    [uuid(" + uuid(4, 1) + ")] enum {\n";
    for (int k = 0; k < kItems; ++k) source += (k ? ",\n" : "") + ("I" + std::to_string(k) + " = " + std::to_string(k));
    source += "\n    } Many;\n};\n";
    Parsed parsed({source});
    ASSERT_EQ(parsed.error(), "");
    ILumoIDLEnumeration* many = nullptr;
    RecordingString qualified;
    qualified.content = text("Huge::Many");
    ASSERT_EQ(ILumoIDLParseResult_getEnumerationByName(parsed.result(), &qualified, &many), LUMO_OK);
    EXPECT_EQ(ILumoIDLEnumeration_getItemCount(many), kItems);

    struct Lookup {
        const char* name;
        bool present;
        int32_t value;
    };
    const Lookup lookups[] = {{"I0", true, 0}, {"I765432", true, 765432}, {"I999999", true, 999999},
                              {"I1000000", false, -7}, {"i765432", false, -7}};
    for (const Lookup& lookup : lookups) {
        SCOPED_TRACE(lookup.name);
        RecordingString item;
        item.content = text(lookup.name);
        int32_t value = -7;
        EXPECT_EQ(ILumoIDLEnumeration_getItemValueByName(many, &item, &value),
                  lookup.present ? LUMO_OK : LUMO_NO_SUCH_ITEM);
        EXPECT_EQ(value, lookup.value);
        EXPECT_EQ(ILumoIDLEnumeration_hasItem(many, &item), lookup.present ? 1 : 0);
    }
    RecordingString last;
    ASSERT_EQ(ILumoIDLEnumeration_getItemName(many, kItems - 1, &last), LUMO_OK);
    EXPECT_EQ(utf8(last.content), "I999999");
}

TEST(HostileInputTest, MegabyteIdentifierIsKeptWhole) {
    const std::string longName = "I" + std::string(1024 * 1024 - 1, 'x');
    Parsed named({"[uuid(" + uuid(5, 0) + ")]\nlibrary Long { [uuid(" + uuid(5, 1) + ")] interface " + longName +
                  " { LUMORESULT self([out, retval] " + longName + " me); }; };\n"});
    ASSERT_EQ(named.error(), "");
    ILumoIDLInterface* found = nullptr;
    RecordingString qualified;
    qualified.content = text("Long::" + longName);
    ASSERT_EQ(ILumoIDLParseResult_getInterfaceByName(named.result(), &qualified, &found), LUMO_OK);
    EXPECT_EQ(nameOf(found), longName);
    ILumoIDLMethod* self = nullptr;
    ASSERT_EQ(ILumoIDLInterface_getMethod(found, 0, &self), LUMO_OK);
    ILumoIDLMethodArgument* me = nullptr;
    ASSERT_EQ(ILumoIDLMethod_getArgument(self, 0, &me), LUMO_OK);
    EXPECT_EQ(nameOf(ILumoIDLMethodArgument_getType(me)), "Long::" + longName);

    Parsed unnamed({"[uuid(" + uuid(5, 0) + ")]\nlibrary Long { interface " + longName + " { }; };\n"});
    EXPECT_EQ(unnamed.error(), "Interface \"" + longName + "\" must have a uuid attribute");
}

TEST(HostileInputTest, TwoThousandFilesInOneCallGiveTwoThousandLibraries) {
    constexpr int kFiles = 2000;
    std::vector<std::string> sources;
    for (int k = 0; k < kFiles; ++k) {
        // Each interface but the first takes the one of the library before, by qualified name.
        const std::string argument = k ? "[in] Lib" + std::to_string(k - 1) + "::IThing previous" : "";
        sources.push_back("[uuid(" + uuid(6, 2 * k) + ")]\nlibrary Lib" + std::to_string(k) + " { [uuid(" +
                          uuid(6, 2 * k + 1) + ")] interface IThing { LUMORESULT link(" + argument + "); }; };\n");
    }
    Parsed parsed(sources);
    ASSERT_EQ(parsed.error(), "");
    ASSERT_EQ(ILumoIDLParseResult_getLibraryCount(parsed.result()), kFiles);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(parsed.result()), kFiles);
    std::vector<std::string> misplaced;
    for (int k = 0; k < kFiles; ++k) {
        const std::string name = nameOf(libraryAt(parsed.result(), k).get());
        if (name != "Lib" + std::to_string(k)) misplaced.push_back(std::to_string(k) + ": " + name);
    }
    EXPECT_EQ(misplaced, std::vector<std::string>());
}

TEST(HostileInputTest, FileGivenTwiceDefinesItsTypesTwice) {
    ScratchDir dir;
    const std::string twice = pathUtf8(dir.write("twice.idl", plainLibrary("Twice", 7)));
    OwnedResult result = parseFiles({twice, twice});
    EXPECT_EQ(errorOf(result.get()), "Type \"Twice::IPlain\" is defined in multiple libraries");
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), 2);
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(result.get()), 1);
}

}  // namespace
