// LumoIDLParse over a list of files, linked or loaded by path: failing files, order, nesting.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "host/host_string_array.h"
#include "host/library_loader.h"
#include "support/host_model.h"

namespace {

using lumoidl::host::errorMessage;
using lumoidl::host::HostStringArray;
using lumoidl::host::ResultRef;
using lumoidl::test::pathText;
using lumoidl::test::pathUtf8;

/// A valid library with one interface; `serial` (one digit) keeps its uuids apart.
std::string validLibrary(const std::string& name, char serial) {
    const std::string uuid = std::string("5E0D2C44-7A19-4B3E-8F21-0000000000") + serial;
    return "[uuid(" + uuid + "0)] library " + name + " {\n[uuid(" + uuid + "1)] interface I { LUMORESULT run(); }; };";
}

std::string openFailure(const std::string& file) {
    return "Failed to open \"" + file + "\" for reading: " + std::strerror(ENOENT);
}

std::string libraryNames(ILumoIDLParseResult* result) {
    std::string names;
    for (int32_t k = 0; k < ILumoIDLParseResult_getLibraryCount(result); ++k)
        names += lumoidl::test::nameOf(lumoidl::test::libraryAt(result, k).get()) + " ";
    return names;
}

TEST(DriverTest, FilesAreReadInListOrderUntilTheFirstFailure) {
    lumoidl::test::ScratchDir dir;
    const std::string a = pathUtf8(dir.write("\xC3\x9C-\xE5\x90\x8D.idl", validLibrary("A", '1')));
    const std::string b = pathUtf8(dir.write("b.idl", validLibrary("B", '2')));
    const std::string broken = pathUtf8(dir.write("broken.idl", "library C {\n interface I {\n    LUMORESULT run(,);"));
    const std::string missing = pathUtf8(dir.path("missing.idl"));
    const std::tuple<std::vector<std::string>, std::string, const char*> cases[] = {
        {{b, a}, "", "B A "},
        {{a, missing, b}, openFailure(missing), "A "},
        // Lines count from the start of the failing file.
        {{a, broken, missing}, "Parse error in \"" + broken + "\": line 3, pos 20: syntax error", "A "},
    };
    for (const auto& [files, message, libraries] : cases) {
        ResultRef result = lumoidl::host::parseFiles(files);
        EXPECT_EQ(errorMessage(result.get()), message);
        EXPECT_EQ(libraryNames(result.get()), libraries);
        EXPECT_EQ(ILumoIDLParseResult_getInterfaceCount(result.get()), message.empty() ? 2 : 0);
    }
    EXPECT_EQ(errorMessage(ResultRef(LumoIDLParse(nullptr)).get()), "No input files specified");
    HostStringArray names;
    EXPECT_EQ(errorMessage(ResultRef(LumoIDLParse(names.record())).get()), "No input files specified");
    names.addNull();
    EXPECT_EQ(errorMessage(ResultRef(LumoIDLParse(names.record())).get()), openFailure(""));
}

TEST(DriverTest, NestedCallOnTheOwningThreadGoesOn) {
    // The first name's get runs a whole parse of its own before it answers.
    static const ILumoStringVtbl* plain = nullptr;
    static std::string inner, innerText;
    static const ILumoStringVtbl nesting = {
        [](void* me, const LumoChar** data, uint32_t* length) {
            const ResultRef nested = lumoidl::host::parseFiles({inner});
            innerText = libraryNames(nested.get()) + errorMessage(nested.get());
            return plain->get(me, data, length);
        },
        [](void* me, const LumoChar* data, uint32_t length) { return plain->set(me, data, length); }};
    lumoidl::test::ScratchDir dir;
    inner = pathUtf8(dir.write("c.idl", validLibrary("C", '3')));
    HostStringArray names;
    names.addUtf8(pathUtf8(dir.write("a.idl", validLibrary("A", '1'))));
    names.addUtf8(pathUtf8(dir.write("b.idl", validLibrary("B", '2'))));
    plain = std::exchange(names.elements()[0]->vTbl, &nesting);
    ResultRef result(LumoIDLParse(names.record()));
    EXPECT_EQ(innerText + "| " + libraryNames(result.get()) + errorMessage(result.get()), "C | A B ");
}

TEST(DriverTest, LibraryLoadedByPathParsesByWideNames) {
    lumoidl::host::LoadedLibrary library(LUMOIDL_LIBRARY_FILE);
    ASSERT_TRUE(library.loaded());
    lumoidl::test::ScratchDir dir;
    const auto absent = dir.path("\xD0\xBD\xD0\xB5\xD1\x82-\xE6\x96\x87.idl");
    HostStringArray names;
    names.add(pathText(absent));
    EXPECT_EQ(errorMessage(ResultRef(library.entry()(names.record())).get()), openFailure(pathUtf8(absent)));
}

}  // namespace
