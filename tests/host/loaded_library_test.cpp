// The library loaded at run time by path, as a host without link-time binding uses it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "host/host_string_array.h"
#include "host/library_loader.h"
#include "host/references.h"
#include "support/fake_host.h"

namespace {

using lumoidl::host::HostStringArray;
using lumoidl::host::LoadedLibrary;
using lumoidl::host::ResultRef;

TEST(LoadedLibraryTest, ExportsLumoIDLParseAndNothingElseByName) {
    LoadedLibrary library(LUMOIDL_LIBRARY_FILE);
    ASSERT_TRUE(library.loaded());
    EXPECT_TRUE(library.exports("LumoIDLParse"));
    for (const char* hidden : {"DllMain", "_ZN5ZEMRA12lumora_errorD2Ev", "runParse", "currentContext"})
        EXPECT_FALSE(library.exports(hidden)) << hidden;
}

TEST(LoadedLibraryTest, NonAsciiNamesOpenAndMissingFilesGiveTheSystemText) {
    LoadedLibrary library(LUMOIDL_LIBRARY_FILE);
    ASSERT_TRUE(library.loaded());
    lumoidl::test::ScratchDir dir;
    const auto present = dir.write("\xC3\xA9t\xC3\xA9-\xCE\xB1\xCE\xB2-\xE6\x96\x87.idl",
                                   "[uuid(0D3E1A55-1B2C-4C3D-8E4F-5A6B7C8D9E0F)] library Present {"
                                   " [uuid(0D3E1A56-1B2C-4C3D-8E4F-5A6B7C8D9E0F)] category Things; };");
    const auto absent = dir.path("\xD0\xBD\xD0\xB5\xD1\x82-\xE6\x96\x87.idl");

    HostStringArray names;
    names.add(lumoidl::test::pathText(present));
    names.add(lumoidl::test::pathText(absent));
    ResultRef result(library.entry()(names.record()));
    ASSERT_TRUE(result);
    EXPECT_EQ(lumoidl::host::errorMessage(result.get()),
              "Failed to open \"" + lumoidl::test::pathUtf8(absent) + "\" for reading: " +
                  std::strerror(ENOENT));
}

TEST(LoadedLibraryTest, MissingLibraryDoesNotLoad) {
    LoadedLibrary library("no-such-lumoidl-library");
    EXPECT_FALSE(library.loaded());
    EXPECT_FALSE(library.exports("LumoIDLParse"));
}

}  // namespace
