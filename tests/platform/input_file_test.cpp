// InputFile and systemErrorText: opening by UTF-16 name, exact byte reads, error numbers.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/input_file.h"
#include "support/fake_host.h"

namespace lumoidl::platform {
namespace {

using ZEMRA::LumoText;
using test::pathText;
using test::ScratchDir;

/// Every byte value once, then line ends and a few bytes that text handling likes to eat.
std::string awkwardContent() {
    std::string content;
    for (int b = 0; b < 256; ++b) content += static_cast<char>(b);
    content += "library L\r\n{\r\n}\n\r";
    content += std::string("\x00\xFF\x1A\r\n\x00", 6);
    content += "\xEF\xBB\xBF";  // a byte order mark in the middle stays three bytes
    return content;
}

/// Reads everything with reads of `chunk` bytes; each read must fit into its buffer.
std::string readAll(InputFile& file, size_t chunk) {
    std::string out;
    std::vector<unsigned char> buffer(chunk + 1, 0xA5);
    for (;;) {
        buffer[chunk] = 0x5A;  // guard byte behind the requested size
        const size_t n = file.read(buffer.data(), chunk);
        EXPECT_LE(n, chunk);
        EXPECT_EQ(buffer[chunk], 0x5A) << "read wrote past the requested size";
        if (n == 0) break;
        out.append(reinterpret_cast<const char*>(buffer.data()), n);
    }
    return out;
}

#if !defined(_WIN32)
/// Number of open descriptors of this process.
size_t openDescriptorCount() {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}
#endif

class InputFileChunkTest : public ::testing::TestWithParam<size_t> {};

TEST_P(InputFileChunkTest, ReadsEveryByteOfANonAsciiNamedFile) {
    ScratchDir dir;
    const std::string content = awkwardContent();
    const auto path = dir.write("\xC3\x9Cn\xC3\xAF" "c\xC3\xB8" "d\xC3\xA9-\xE5\x90\x8D\xE5\x89\x8D.idl", content);
    ASSERT_TRUE(std::filesystem::exists(path));
    const LumoText name = pathText(path);

    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    EXPECT_TRUE(file.isOpen());
    const std::string got = readAll(file, GetParam());
    ASSERT_EQ(got.size(), content.size());
    EXPECT_EQ(got, content);
    // End of file stays end of file.
    unsigned char byte = 0;
    EXPECT_EQ(file.read(&byte, 1), 0u);
    EXPECT_TRUE(file.isOpen());
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, InputFileChunkTest, ::testing::Values(1, 2, 3, 7, 64, 4096),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return "Chunk" + std::to_string(info.param);
                         });

TEST(InputFile, OpensANameWithASurrogatePair) {
    ScratchDir dir;
    // U+1F600 is F0 9F 98 80 on disk and D83D DE00 in the name the host passes.
    const auto path = dir.write("face-\xF0\x9F\x98\x80.idl", std::string_view("x\0y", 3));
    LumoText name = pathText(path.parent_path());
    name += LumoText{u'/', u'f', u'a', u'c', u'e', u'-', 0xD83D, 0xDE00, u'.', u'i', u'd', u'l'};

    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    EXPECT_EQ(readAll(file, 16), std::string("x\0y", 3));
}

TEST(InputFile, ReadsZeroBytesFromTheMiddle) {
    ScratchDir dir;
    const std::string content("a\0\0b\r\n", 6);
    const auto path = dir.write("zeros.idl", content);
    const LumoText name = pathText(path);
    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    EXPECT_EQ(readAll(file, 1), content);
}

TEST(InputFile, EmptyFileOpensAndReadsNothing) {
    ScratchDir dir;
    const LumoText name = pathText(dir.write("empty.idl", ""));
    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    EXPECT_TRUE(file.isOpen());
    unsigned char buffer[8] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
}

TEST(InputFile, MissingFileFailsWithEnoent) {
    ScratchDir dir;
    const LumoText name = pathText(dir.path("missing.idl"));
    InputFile file;
    EXPECT_EQ(file.open(name.c_str()), ENOENT);
    EXPECT_FALSE(file.isOpen());
    unsigned char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(buffer[0], 1);
}

TEST(InputFile, MissingDirectoryFailsWithEnoent) {
    ScratchDir dir;
    const LumoText name = pathText(dir.path("no-such-dir") / "a.idl");
    InputFile file;
    EXPECT_EQ(file.open(name.c_str()), ENOENT);
    EXPECT_FALSE(file.isOpen());
}

#if !defined(_WIN32)
TEST(InputFile, PathThroughAFileFailsWithEnotdir) {
    ScratchDir dir;
    const auto file = dir.write("plain.idl", "x");
    const LumoText name = pathText(file / "inner.idl");
    InputFile input;
    EXPECT_EQ(input.open(name.c_str()), ENOTDIR);
    EXPECT_FALSE(input.isOpen());
}
#endif

TEST(InputFile, EmptyNameFailsWithEnoent) {
    const LumoChar empty[] = {0};
    InputFile file;
    EXPECT_EQ(file.open(empty), ENOENT);
    EXPECT_FALSE(file.isOpen());
}

#if defined(_WIN32)
TEST(InputFile, DirectoryFailsWithEacces) {
    ScratchDir dir;
    const auto sub = dir.path("folder.idl");
    std::filesystem::create_directory(sub);
    InputFile file;
    EXPECT_EQ(file.open(pathText(sub).c_str()), EACCES);
    EXPECT_FALSE(file.isOpen());
}
#endif

#if !defined(_WIN32)
TEST(InputFile, DirectoryFailsWithEisdir) {
    ScratchDir dir;
    const auto sub = dir.path("folder.idl");
    std::filesystem::create_directory(sub);
    const LumoText name = pathText(sub);
    InputFile file;
    EXPECT_EQ(file.open(name.c_str()), EISDIR);
    EXPECT_FALSE(file.isOpen());
    unsigned char buffer[4] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
}
#endif

#if !defined(_WIN32)
TEST(InputFile, UnreadableFileFailsWithEacces) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
    ScratchDir dir;
    const auto path = dir.write("locked.idl", "library L {}");
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    const LumoText name = pathText(path);
    InputFile file;
    EXPECT_EQ(file.open(name.c_str()), EACCES);
    EXPECT_FALSE(file.isOpen());
}
#endif

TEST(InputFile, ReadAfterCloseReturnsZero) {
    ScratchDir dir;
    const LumoText name = pathText(dir.write("a.idl", "abcdef"));
    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    unsigned char buffer[3] = {};
    ASSERT_EQ(file.read(buffer, 2), 2u);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(buffer[1], 'b');
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
    file.close();  // a second close does nothing
    EXPECT_FALSE(file.isOpen());
}

TEST(InputFile, NeverOpenedReadsNothingAndClosesQuietly) {
    InputFile file;
    EXPECT_FALSE(file.isOpen());
    unsigned char buffer[2] = {};
    EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);
    file.close();
    EXPECT_FALSE(file.isOpen());
}

#if !defined(_WIN32)
TEST(InputFile, OpeningAgainReadsTheNewFileFromItsStart) {
    ScratchDir dir;
    const LumoText first = pathText(dir.write("first.idl", "111"));
    const LumoText second = pathText(dir.write("second.idl", "22222"));
    const size_t before = openDescriptorCount();
    {
        InputFile file;
        ASSERT_EQ(file.open(first.c_str()), 0);
        unsigned char byte = 0;
        ASSERT_EQ(file.read(&byte, 1), 1u);
        ASSERT_EQ(file.open(second.c_str()), 0);
        EXPECT_EQ(readAll(file, 2), "22222");
        EXPECT_EQ(openDescriptorCount(), before + 1) << "the first file was not closed";
    }
}
#endif

#if !defined(_WIN32)
TEST(InputFile, DestructorAndCloseReleaseTheDescriptor) {
    ScratchDir dir;
    const LumoText name = pathText(dir.write("a.idl", "x"));
    const size_t before = openDescriptorCount();
    {
        InputFile file;
        ASSERT_EQ(file.open(name.c_str()), 0);
        EXPECT_EQ(openDescriptorCount(), before + 1);
    }
    EXPECT_EQ(openDescriptorCount(), before);
    InputFile file;
    ASSERT_EQ(file.open(name.c_str()), 0);
    file.close();
    EXPECT_EQ(openDescriptorCount(), before);
    // A failed open leaves nothing open either.
    EXPECT_EQ(file.open(pathText(dir.path("missing.idl")).c_str()), ENOENT);
    EXPECT_EQ(openDescriptorCount(), before);
}
#endif

#if !defined(_WIN32)
TEST(InputFile, DirectoryRefusalLeaksNoDescriptor) {
    ScratchDir dir;
    const auto sub = dir.path("d");
    std::filesystem::create_directory(sub);
    const size_t before = openDescriptorCount();
    InputFile file;
    EXPECT_EQ(file.open(pathText(sub).c_str()), EISDIR);
    EXPECT_EQ(openDescriptorCount(), before);
}
#endif

// ---------------------------------------------------------------------------------------
// systemErrorText

TEST(SystemErrorText, MissingFileText) { EXPECT_EQ(systemErrorText(ENOENT), "No such file or directory"); }

#if !defined(_WIN32)
TEST(SystemErrorText, DirectoryAndPermissionTexts) {
    EXPECT_EQ(systemErrorText(EISDIR), "Is a directory");
    EXPECT_EQ(systemErrorText(EACCES), "Permission denied");
}
#endif

TEST(SystemErrorText, NoErrorNumberEndsWithALineBreak) {
    for (int e = 1; e < 134; ++e) {
        SCOPED_TRACE(e);
        const std::string text = systemErrorText(e);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.back(), '\n');
        EXPECT_NE(text.back(), '\r');
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
}

TEST(SystemErrorText, UnknownNumberStillGivesAText) {
    const std::string text = systemErrorText(123456);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
}

TEST(SystemErrorText, MatchesTheOpenFailure) {
    ScratchDir dir;
    InputFile file;
    const int e = file.open(pathText(dir.path("gone.idl")).c_str());
    EXPECT_EQ(systemErrorText(e), "No such file or directory");
}

}  // namespace
}  // namespace lumoidl::platform
