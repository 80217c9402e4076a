// Inputs at the limits: types nested as deep as the parse stack holds, huge enumerations, names and file lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/host_model.h"

namespace {

using lumoidl::test::HostParse;
using lumoidl::test::nameOf;

/// A library `name` whose items are `body`, where each "@" is an attribute list with a new uuid.
std::string library(const std::string& name, const std::string& body, int serial = 0) {
    std::string text = "[@]\nlibrary " + name + " {\n" + body + "\n};\n";
    char uuid[48];
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        std::snprintf(uuid, sizeof uuid, "uuid(9A41D0C2-3E57-4B68-A0F1-%012X)", static_cast<unsigned>(++serial << 12));
        text.replace(at, 1, uuid);
    }
    return text;
}

/// The host string holding `text`.
lumoidl::test::RecordingString hostString(const std::string& text) {
    lumoidl::test::RecordingString string;
    string.content = lumoidl::test::text(text);
    return string;
}

/// The type of the first argument of the first method of the interface `qualifiedName` of `result`.
ILumoIDLType* firstArgumentType(ILumoIDLParseResult* result, const std::string& qualifiedName) {
    lumoidl::test::RecordingString name = hostString(qualifiedName);
    ILumoIDLInterface* found = nullptr;
    ILumoIDLMethod* method = nullptr;
    ILumoIDLMethodArgument* argument = nullptr;
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceByName(result, &name, &found), LUMO_OK);
    EXPECT_EQ(ILumoIDLInterface_getMethod(found, 0, &method), LUMO_OK);
    EXPECT_EQ(ILumoIDLMethod_getArgument(method, 0, &argument), LUMO_OK);
    return ILumoIDLMethodArgument_getType(argument);
}

TEST(HostileInputTest, TypesNestAsDeepAsTheParseStackHolds) {
    // 15 stack entries lead to the argument's type, each level takes two, the innermost type three more.
    constexpr int kDeepest = 4991;
    const auto source = [](int depth) {
        std::string type;
        for (int k = 0; k < depth; ++k) type += "IBox<";
        return library("Deep", "[@] interface IBox<T> { LUMORESULT get([out, retval] T value); };\n"
                               "[@] interface IUser {\n    LUMORESULT take([in] " +
                                   type + "LumoInteger" + std::string(depth, '>') + " value);\n};");
    };
    const HostParse deepest({source(kDeepest)});
    ASSERT_EQ(deepest.error(), "");
    ILumoIDLType* type = firstArgumentType(deepest.result(), "Deep::IUser");
    int depth = 0;
    for (; nameOf(type) == "Deep::IBox" && ILumoIDLType_getTemplateArgumentCount(type) == 1; ++depth)
        ASSERT_EQ(ILumoIDLType_getTemplateArgument(type, 0, &type), LUMO_OK);
    EXPECT_EQ(depth, kDeepest);
    EXPECT_EQ(nameOf(type), "LumoInteger");
    const std::string overflow = HostParse({source(kDeepest + 1)}).error();
    EXPECT_EQ(overflow.substr(overflow.rfind('"')), "\": line 5, pos 24997: yacc stack overflow");
}

TEST(HostileInputTest, HundredThousandItemEnumerationFindsItsItems) {
    std::string items;
    for (int k = 0; k < 100000; ++k) items += (k ? ",\n" : "") + ("I" + std::to_string(k) + " = " + std::to_string(k));
    const HostParse parsed({library("Huge", "[@] enum {\n" + items + "\n} Many;")});
    ILumoIDLEnumeration* many = nullptr;
    ASSERT_EQ(ILumoIDLParseResult_getEnumeration(parsed.result(), 0, &many), LUMO_OK);
    EXPECT_EQ(ILumoIDLEnumeration_getItemCount(many), 100000);
    for (const auto& [name, value] : std::vector<std::pair<const char*, int32_t>>{{"I0", 0}, {"I76543", 76543},
                                                                                  {"I99999", 99999}, {"I100000", -7}}) {
        lumoidl::test::RecordingString item = hostString(name);
        int32_t found = -7;
        ILumoIDLEnumeration_getItemValueByName(many, &item, &found);
        EXPECT_EQ(found, value) << name;
    }
}

TEST(HostileInputTest, MegabyteIdentifierIsKeptWhole) {
    const std::string name = "I" + std::string(1024 * 1024 - 1, 'x');
    const HostParse parsed({library("Long", "[@] interface " + name + " { LUMORESULT f([in] " + name + " me); };")});
    ASSERT_EQ(parsed.error(), "");
    EXPECT_EQ(nameOf(firstArgumentType(parsed.result(), "Long::" + name)), "Long::" + name);
    EXPECT_EQ(HostParse({library("Long", "interface " + name + " { };")}).error(),
              "Interface \"" + name + "\" must have a uuid attribute");
}

TEST(HostileInputTest, TwoThousandFilesInOneCallGiveTwoThousandLibraries) {
    // More files than a process may hold open at once; each interface takes the one of the file before.
    std::vector<std::string> sources;
    for (int k = 0; k < 2000; ++k) {
        const std::string use = k ? "[in] Lib" + std::to_string(k - 1) + "::I previous" : "";
        sources.push_back(library("Lib" + std::to_string(k), "[@] interface I { LUMORESULT f(" + use + "); };", 2 * k));
    }
    const HostParse parsed(sources);
    ASSERT_EQ(parsed.error(), "");
    EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(parsed.result()), 2000);
    std::vector<std::string> misplaced;
    for (int k = 0; k < 2000; ++k)
        if (nameOf(lumoidl::test::libraryAt(parsed.result(), k).get()) != "Lib" + std::to_string(k))
            misplaced.push_back(std::to_string(k));
    EXPECT_EQ(misplaced, std::vector<std::string>());
}

}  // namespace
