// SourceReader: runs taken by appendWhile and skipWhile against the same file read with next().
#include "frontend/source_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/fake_host.h"

namespace ZEMRA::IDL::PARSER {
namespace {

using namespace std::string_literals;
using lumoidl::test::pathText;
using lumoidl::test::ScratchDir;

constexpr size_t kDefaultBlockSize = 64 * 1024;
/// Every case runs once per block size; the bytes handed out must not depend on it.
constexpr size_t kBlockSizes[] = {1, 2, 3, 7, kDefaultBlockSize};

/// A byte class, as the reader's callers pass one.
using Accept = bool (*)(unsigned char);

bool letter(unsigned char b) { return (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z'); }
bool zero(unsigned char b) { return b == 0; }
bool high(unsigned char b) { return b >= 0x80; }
bool notLineFeed(unsigned char b) { return b != '\n'; }
bool anyByte(unsigned char) { return true; }
bool noByte(unsigned char) { return false; }

/// One way of taking bytes: next(), or appendWhile or skipWhile with a byte class.
struct Step {
    enum Kind { kNext, kAppend, kSkip } kind;
    Accept accept;
};

Step next() { return {Step::kNext, nullptr}; }
Step append(Accept accept) { return {Step::kAppend, accept}; }
Step skip(Accept accept) { return {Step::kSkip, accept}; }

/// File content and the steps taken over it, repeated until the end of file and once more.
struct ReadCase {
    const char* name;
    std::string content;
    std::vector<Step> steps;
};

/// Groups of letters, zero bytes, high bytes and a line feed; the first group's runs have the
/// given lengths, the later ones 1 to 5 letters, 0 to 2 zero bytes and 0 to 3 high bytes.
std::string groups(size_t letters, size_t zeros, size_t highs) {
    std::string content = std::string(letters, 'q') + std::string(zeros, '\0');
    content += std::string(highs, '\xE9') + "\n";
    for (int i = 0; i < 40; ++i) {
        content += std::string(static_cast<size_t>(i % 5 + 1), static_cast<char>('a' + i % 26));
        content += std::string(static_cast<size_t>(i % 3), '\0');
        content += std::string(static_cast<size_t>(i % 4), static_cast<char>(0x80 + 3 * i));
        content += '\n';
    }
    return content;
}

/// Runs of 0 to 40 bytes, now and then 150, each of one kind: letters, zeros, high bytes, line
/// feeds, digits or blanks; the same bytes on every run of the test.
std::string mixedRuns(size_t size) {
    std::mt19937 generator(20240611);
    std::string content;
    while (content.size() < size) {
        const size_t length = generator() % 8 == 0 ? 150 : generator() % 41;
        const size_t kind = generator() % 6;
        for (size_t i = 0; i < length; ++i) {
            const auto r = generator();
            const char bytes[] = {static_cast<char>('a' + r % 26), '\0', static_cast<char>(0x80 + r % 128),
                                  '\n', static_cast<char>('0' + r % 10), ' '};
            content += bytes[kind];
        }
    }
    return content;
}

/// Length of the run of bytes from `offset` on that `accept` takes.
size_t runLength(const std::string& content, size_t offset, Accept accept) {
    size_t end = offset;
    while (end < content.size() && accept(static_cast<unsigned char>(content[end]))) ++end;
    return end - offset;
}

class SourceReaderTest : public ::testing::Test {
protected:
    /// Opens `path` in `reader`.
    void open(SourceReader& reader, const std::filesystem::path& path) {
        ASSERT_EQ(reader.open(pathText(path).c_str()), 0);
    }

    /// Every byte of the file as next() hands them out.
    std::string readWithNext(const std::filesystem::path& path, size_t blockSize) {
        SourceReader reader(blockSize);
        open(reader, path);
        std::string bytes;
        for (int byte = reader.next(); byte >= 0; byte = reader.next()) bytes += static_cast<char>(byte);
        reader.close();
        return bytes;
    }

    /// Checks one step taken at `offset` of `content`: a run is the bytes that `accept` takes
    /// from there, `accept` sees each of them once and in order and after them at most the byte
    /// the run stops before; next() then hands out that byte. Adds the bytes taken to `seen`.
    void takeStep(SourceReader& reader, const Step& step, const std::string& content, size_t& offset,
                  std::string& seen) {
        if (step.kind == Step::kNext) {
            const int expected = offset < content.size() ? static_cast<unsigned char>(content[offset]) : -1;
            const int byte = reader.next();
            ASSERT_EQ(byte, expected) << "next() at offset " << offset;
            if (byte >= 0) {
                seen += static_cast<char>(byte);
                ++offset;
            }
            return;
        }
        const size_t run = runLength(content, offset, step.accept);
        std::string asked;
        std::string accepted;
        const auto accept = [&](unsigned char byte) {
            asked += static_cast<char>(byte);
            if (!step.accept(byte)) return false;
            accepted += static_cast<char>(byte);
            return true;
        };
        if (step.kind == Step::kAppend) {
            const std::string before = "kept";
            std::string out = before;
            const size_t taken = reader.appendWhile(out, accept);
            ASSERT_EQ(taken, run) << "appendWhile at offset " << offset;
            ASSERT_EQ(out, before + content.substr(offset, run)) << "appendWhile at offset " << offset;
            seen += out.substr(before.size());
        } else {
            reader.skipWhile(accept);
            ASSERT_EQ(accepted.size(), run) << "skipWhile at offset " << offset;
            seen += accepted;
        }
        ASSERT_EQ(accepted, content.substr(offset, run)) << "accepted bytes at offset " << offset;
        offset += run;
        const std::string stopBytes = asked.substr(run);
        if (offset == content.size())
            ASSERT_EQ(stopBytes, "") << "asked about a byte after the end of file";
        else
            ASSERT_EQ(stopBytes, std::string(stopBytes.size(), content[offset])) << "at offset " << offset;
    }

    /// Takes the case's steps in turn over its content, read in blocks of `blockSize` bytes,
    /// through the end of file and one more round; the bytes taken must be those of next() alone.
    void readCase(const ReadCase& c, size_t blockSize) {
        const auto path = dir_.write("source.idl", c.content);
        const std::string oneByOne = readWithNext(path, blockSize);
        ASSERT_EQ(oneByOne, c.content);

        SourceReader reader;
        reader.setBlockSize(blockSize);
        open(reader, path);
        std::string seen;
        size_t offset = 0;
        const size_t limit = (c.content.size() + 2) * c.steps.size();
        bool roundAtEnd = false;
        for (size_t taken = 0;; ++taken) {
            if (taken % c.steps.size() == 0 && offset == c.content.size()) {
                if (roundAtEnd) break;
                roundAtEnd = true;
            }
            ASSERT_LT(taken, limit) << "the steps stopped taking bytes";
            takeStep(reader, c.steps[taken % c.steps.size()], c.content, offset, seen);
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_EQ(seen, oneByOne);
        reader.close();
    }

    void expectCases(const std::vector<ReadCase>& cases) {
        for (const ReadCase& c : cases) {
            for (size_t blockSize : kBlockSizes) {
                SCOPED_TRACE(std::string(c.name) + ", block size " + std::to_string(blockSize));
                readCase(c, blockSize);
            }
        }
    }

    ScratchDir dir_;
};

TEST_F(SourceReaderTest, RunsAtTheEdgesOfTheFile) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
    expectCases({
        {"empty file", "", {append(anyByte), skip(anyByte), next()}},
        {"letters up to the end of file", "0abcdefghijklmnopqrstuvwxyz"s, {next(), append(letter)}},
        {"skip up to the end of file", "0abcdefghijklmnopqrstuvwxyz"s, {next(), skip(letter)}},
        {"whole file in one run", everyByte, {append(anyByte), next()}},
        {"whole file skipped", everyByte, {skip(anyByte), next()}},
        {"nothing accepted leaves the byte to next", "ab"s, {append(noByte), skip(noByte), next()}},
        {"one byte runs", "abcdef"s, {append(letter), next(), skip(letter), next()}},
    });
}

TEST_F(SourceReaderTest, ZeroAndHighBytesAreOrdinaryBytes) {
    std::string highBytes;
    for (int b = 0x80; b < 0x100; ++b) highBytes += static_cast<char>(b);
    expectCases({
        {"zero bytes stop a letter run", "ab\0\0\0cd\0e\0"s,
         {append(letter), skip(zero), append(letter), next()}},
        {"zero bytes as a run", "\0\0\0\0\0x\0\0"s, {append(zero), next(), skip(zero), next()}},
        {"zero bytes inside a run", "a\0b\0\0c\nd\0\n\0"s,
         {append(notLineFeed), next(), skip(notLineFeed), next()}},
        {"every high byte in one run", highBytes + "ab" + highBytes,
         {append(high), skip(letter), skip(high), next()}},
        {"high bytes stop a letter run", "abc\x80\xFF" "def\xC3\xA9" "g"s,
         {append(letter), next(), skip(letter), next()}},
        {"byte 0x7F is no high byte", "\x7F\x80\x7F\xFF"s, {append(high), next()}},
    });
}

TEST_F(SourceReaderTest, RunsAcrossBlockBoundaries) {
    const std::vector<Step> appending = {append(letter), skip(zero), append(high), next()};
    const std::vector<Step> skipping = {skip(letter), append(zero), skip(high), next()};
    const std::vector<Step> mixed = {append(letter), skip(zero), next(), append(high), skip(notLineFeed),
                                     next(), skip(letter), append(zero), next()};
    const std::string mixedContent = mixedRuns(6000);
    expectCases({
        {"short runs, appended", groups(3, 2, 1), appending},
        {"short runs, skipped", groups(3, 2, 1), skipping},
        {"runs of mixed lengths", mixedContent, mixed},
        {"letters across the default block's end, appended", groups(kDefaultBlockSize + 4, 1, 1), appending},
        {"letters across the default block's end, skipped", groups(kDefaultBlockSize + 4, 1, 1), skipping},
        {"letters ending with the default block, appended", groups(kDefaultBlockSize, 2, 2), appending},
        {"letters ending with the default block, skipped", groups(kDefaultBlockSize, 2, 2), skipping},
        {"zeros across the default block's end", groups(kDefaultBlockSize - 2, 5, 1), appending},
        {"high bytes across the default block's end", groups(kDefaultBlockSize - 6, 3, 10), appending},
        {"high bytes across the default block's end, skipped", groups(kDefaultBlockSize - 6, 3, 10),
         skipping},
    });
}

TEST_F(SourceReaderTest, OpeningAgainDropsTheBufferedBytes) {
    const auto first = dir_.write("first.idl", "abcdef");
    const auto second = dir_.write("second.idl", "xyz");
    SourceReader reader(4);
    open(reader, first);
    std::string out;
    EXPECT_EQ(reader.appendWhile(out, [](unsigned char b) { return b != 'c'; }), 2u);
    open(reader, second);
    EXPECT_EQ(reader.appendWhile(out, letter), 3u);
    EXPECT_EQ(out, "abxyz");
    EXPECT_EQ(reader.next(), -1);
    reader.close();
}

}  // namespace
}  // namespace ZEMRA::IDL::PARSER
