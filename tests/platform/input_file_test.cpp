// InputFile: opening by UTF-16 name, reading raw bytes, error numbers, releasing descriptors.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <string>

#include "platform/input_file.h"
#include "support/fake_host.h"

namespace lumoidl::platform {
namespace {

using lumoidl::test::pathText;

std::string readAll(InputFile& file) {
    std::string out;
    unsigned char buffer[3];
    while (const size_t n = file.read(buffer, sizeof buffer)) out.append(reinterpret_cast<char*>(buffer), n);
    return out;
}

TEST(InputFile, OpensByWideNameAndGivesErrorNumbers) {
    lumoidl::test::ScratchDir dir;
    const std::string content("library L\r\n{\0\xFF\x1A}\n", 17);
    dir.write("\xC3\x9C-\xE5\x90\x8D-\xF0\x9F\x98\x80.i", content);
    const auto other = pathText(dir.write("other.idl", "22"));
    std::filesystem::create_directory(dir.path("folder.idl"));
#if defined(_WIN32)
    const int directoryError = EACCES;
    const auto descriptors = [] { return 0; };  // not counted on Windows
#else
    const int directoryError = EISDIR;
    const auto descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
#endif
    const auto before = descriptors();
    {
        InputFile file;
        // U+1F600 is D83D DE00 in the name the host passes.
        const auto name = pathText(dir.path("\xC3\x9C-\xE5\x90\x8D-")) + ZEMRA::LumoText{0xD83D, 0xDE00, '.', 'i'};
        ASSERT_EQ(file.open(other.c_str()), 0);
        ASSERT_EQ(file.open(name.c_str()), 0);  // closes the first
        EXPECT_EQ(readAll(file), content);
        EXPECT_EQ(descriptors(), before + (before ? 1 : 0));
        file.close();
        EXPECT_EQ(file.open(pathText(dir.path("missing.idl")).c_str()), ENOENT);
        EXPECT_EQ(file.open(pathText(dir.path("folder.idl")).c_str()), directoryError);
        EXPECT_EQ(readAll(file), "");
        EXPECT_EQ(descriptors(), before);
        ASSERT_EQ(file.open(other.c_str()), 0);
    }
    EXPECT_EQ(descriptors(), before);
}

#if !defined(_WIN32)
TEST(InputFile, ReadsToTheEndFilesThatLookEmpty) {
    // Files under /proc report a size of 0, as pipes do; their bytes are read all the same.
    InputFile file;
    ASSERT_EQ(file.open(u"/proc/self/status"), 0);
    EXPECT_NE(readAll(file).find("Name:"), std::string::npos);
}
#endif

}  // namespace
}  // namespace lumoidl::platform
