// Tests of the library checks of the per-file pass: attributes, uuid, and what a failure ends.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "platform/process_lock.h"
#include "result/parser_result.h"
#include "semantics/semantics.h"
#include "support/fake_host.h"
#include "support/parse_sources.h"
#include "tree/nodes.h"
#include "tree/orphan_registry.h"
#include "tree/parser_library.h"

namespace {

using lumoidl::test::ParsedSources;
using lumoidl::test::pathText;
using lumoidl::test::pathUtf8;
using lumoidl::test::RecordingString;
using lumoidl::test::ScratchDir;
using lumoidl::test::utf8;
using ZEMRA::IDL::PARSER::ParserLibrary;
using ZEMRA::IDL::PARSER::ParserResult;

constexpr const char* kLibraryUuid = "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41";

/// A library named `name` with the attribute list `attributes` (nothing when empty) and one
/// valid interface.
std::string library(const std::string& attributes, const std::string& name = "Shapes") {
    return (attributes.empty() ? "" : "[" + attributes + "] ") + "library " + name +
           " {\n[uuid(5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E01)] interface IShape { LUMORESULT Draw(); };\n};\n";
}

/// The library of the result's k-th entry.
const ParserLibrary& libraryAt(const ParsedSources& parsed, size_t k) {
    return *static_cast<const ParserLibrary*>(parsed.result().libraries.at(k));
}

TEST(LibraryChecksTest, EachFailingCheckReportsItsMessage) {
    struct Case {
        const char* label;
        std::string source;
        const char* message;
    };
    const std::string uuid = std::string("uuid(") + kLibraryUuid + ")";
    const Case cases[] = {
        {"attribute a library does not take", library(uuid + ", local"),
         R"(Invalid format of attribute "local" for library "Shapes")"},
        {"first offending attribute is named", library("helpstring(x), " + uuid + ", local"),
         R"(Invalid format of attribute "helpstring" for library "Shapes")"},
        {"version without value", library(uuid + ", version"),
         R"(Invalid format of attribute "version" for library "Shapes")"},
        {"uuid repeated", library(uuid + ", " + uuid), R"(Invalid format of attribute "uuid" for library "Shapes")"},
        {"uuid without value fails as an attribute, not as a missing uuid", library("uuid"),
         R"(Invalid format of attribute "uuid" for library "Shapes")"},
        {"no attributes", library(""), R"(Library "Shapes" must have a uuid)"},
        {"attributes without uuid", library("version(1.0), idlversion(2)"), R"(Library "Shapes" must have a uuid)"},
        {"uuid too short", library("uuid(6C1B3A10-2F4E-4D8A-9B1C)"), R"(Library "Shapes" has invalid uuid attribute)"},
        {"uuid with a non-hexadecimal digit", library("uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C4G)"),
         R"(Library "Shapes" has invalid uuid attribute)"},
        {"uuid with a misplaced dash", library("uuid(6C1B3A102-F4E-4D8A-9B1C-0E7F5A2D3C41)"),
         R"(Library "Shapes" has invalid uuid attribute)"},
        {"uuid with one brace", library("uuid({6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41)"),
         R"(Library "Shapes" has invalid uuid attribute)"},
        {"uuid without dashes", library("uuid(6C1B3A102F4E4D8A9B1C0E7F5A2D3C41)"),
         R"(Library "Shapes" has invalid uuid attribute)"},
        {"32 zero digits", library("uuid(00000000-0000-0000-0000-000000000000)"),
         R"(Library "Shapes" cannot have null uuid)"},
        {"32 zero digits in braces", library("uuid({00000000-0000-0000-0000-000000000000})"),
         R"(Library "Shapes" cannot have null uuid)"},
        {"library checks come before the interfaces",
         "library Shapes { interface LumoString { }; enum { A = 1 } Color; category Cat; };\n",
         R"(Library "Shapes" must have a uuid)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ParsedSources parsed({c.source});
        EXPECT_EQ(parsed.error(), c.message);
        EXPECT_TRUE(parsed.result().libraries.empty());
    }
}

TEST(LibraryChecksTest, AcceptedUuidIsParsedIntoTheLibrary) {
    struct Case {
        const char* written;
        const char* uuidText;
    };
    const Case cases[] = {
        {"6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41", "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41"},
        {"6c1b3a10-2f4e-4d8a-9b1c-0e7f5a2d3c41", "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41"},
        {"{6C1B3A10-2f4e-4D8A-9b1c-0E7F5A2D3C41}", "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41"},
        {"00000000-0000-0000-0000-000000000001", "00000000-0000-0000-0000-000000000001"},
        {"   6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41\t", "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        ParsedSources parsed({library(std::string("uuid(") + c.written + "), version(1.0), idlversion(2)")});
        ASSERT_EQ(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        EXPECT_EQ(utf8(libraryAt(parsed, 0).uuid.uuidText()), c.uuidText);
    }
}

TEST(LibraryChecksTest, UuidTextWithABlankIsInvalid) {
    // The lexer drops blanks around an attribute value, so the text is set on the node directly.
    for (const char* written : {" 6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41", "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41 "}) {
        SCOPED_TRACE(written);
        ParserLibrary node;
        node.name = "Shapes";
        std::string name = "uuid";
        std::string value = written;
        node.attributes.push_back(
            ZEMRA::IDL::PARSER::adoptOrphan(new ZEMRA::IDL::PARSER::ParserAttribute(name, &value)));
        auto* result = new ParserResult();
        result->addReference();
        const ZEMRA::LumoText file = lumoidl::test::text("shapes.idl");
        EXPECT_FALSE(ZEMRA::IDL::PARSER::checkFile(node, file.c_str(), *result));
        EXPECT_EQ(utf8(result->errorText.text), R"(Library "Shapes" has invalid uuid attribute)");
        result->release();
    }
}

/// A string array over file names, as a host passes them.
struct FileNames : ILumoStringArray {
    explicit FileNames(const std::vector<ZEMRA::LumoText>& paths)
        : ILumoStringArray{this, &kTable}, strings(paths.size()) {
        for (size_t k = 0; k < paths.size(); ++k) {
            strings[k].content = paths[k];
            elements.push_back(&strings[k]);
        }
    }

    static LUMORESULT get(void* me, ILumoString* const** out, uint32_t* count) {
        auto* self = static_cast<FileNames*>(me);
        *out = self->elements.data();
        *count = static_cast<uint32_t>(self->elements.size());
        return LUMO_OK;
    }
    static constexpr ILumoStringArrayVtbl kTable = {&FileNames::get};

    std::vector<RecordingString> strings;
    std::vector<ILumoString*> elements;
};

TEST(LibraryChecksTest, FailedLibraryEndsTheParseBeforeTheNextFileIsOpened) {
    ScratchDir dir;
    const auto broken = dir.write("broken.idl", library("uuid(00000000-0000-0000-0000-000000000000)"));
    const auto missing = dir.path("missing.idl");
    FileNames names({pathText(broken), pathText(missing)});
    auto* result = new ParserResult();
    result->addReference();
    {
        lumoidl::platform::ProcessLockGuard lock;
        ZEMRA::IDL::PARSER::runParse(&names, *result);
    }
    EXPECT_EQ(utf8(result->errorText.text), R"(Library "Shapes" cannot have null uuid)");
    EXPECT_TRUE(result->libraries.empty());
    EXPECT_TRUE(result->interfaces.empty());
    result->release();

    // The same list with a valid first file does reach the missing one.
    const auto valid = dir.write("valid.idl", library(std::string("uuid(") + kLibraryUuid + ")"));
    FileNames reaching({pathText(valid), pathText(missing)});
    result = new ParserResult();
    result->addReference();
    {
        lumoidl::platform::ProcessLockGuard lock;
        ZEMRA::IDL::PARSER::runParse(&reaching, *result);
    }
    EXPECT_EQ(utf8(result->errorText.text),
              "Failed to open \"" + pathUtf8(missing) + "\" for reading: " + std::strerror(ENOENT));
    EXPECT_EQ(result->libraries.size(), 1u);
    result->release();
}

TEST(LibraryChecksTest, LibraryNamesAndUuidsAreNotComparedAcrossFiles) {
    const std::string uuid = std::string("uuid(") + kLibraryUuid + ")";
    ParsedSources parsed(
        {library(uuid), "[" + uuid +
                            "] library Shapes {\n"
                            "[uuid(5F0C2E61-7A3B-4C8D-9E1F-2A3B4C5D6E02)] interface ICircle { };\n};\n"});
    EXPECT_EQ(parsed.error(), "");
    ASSERT_EQ(parsed.result().libraries.size(), 2u);
    EXPECT_EQ(libraryAt(parsed, 0).name, libraryAt(parsed, 1).name);
    EXPECT_EQ(libraryAt(parsed, 1).interfacesByName.count("Shapes::ICircle"), 1u);
}

TEST(LibraryChecksTest, LibraryNameIsNotChecked) {
    for (const char* name : {"LumoString", "Outer::Shapes"}) {
        SCOPED_TRACE(name);
        ParsedSources parsed({library(std::string("uuid(") + kLibraryUuid + ")", name)});
        EXPECT_EQ(parsed.error(), "");
        ASSERT_EQ(parsed.result().libraries.size(), 1u);
        EXPECT_EQ(libraryAt(parsed, 0).interfacesByName.count(std::string(name) + "::IShape"), 1u);
    }
}

}  // namespace
