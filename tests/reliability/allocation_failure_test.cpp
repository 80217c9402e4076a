// The program's operator new counts live blocks and fails on request: each call, broken or not, leaves
// nothing behind, and every allocation of it is made to fail in turn.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <dirent.h>
#endif

#include "host/host_string_array.h"
#include "support/fake_host.h"

namespace {

/// Blocks handed out and not yet freed, over the whole program.
std::atomic<long> gLiveBlocks{0};

/// The calling thread's arming: while armed, allocation failAt (counted from 1) fails, and
/// with failAfter every later one too; other threads allocate as usual.
struct Arming {
    bool armed = false, failAfter = false;
    long failAt = 0, seen = 0, failures = 0;
};
thread_local Arming tArming;

void* allocate(std::size_t size) noexcept {
    if (tArming.armed && ++tArming.seen >= tArming.failAt && tArming.failAt &&
        (tArming.seen == tArming.failAt || tArming.failAfter)) {
        ++tArming.failures;
        return nullptr;
    }
    void* block = std::malloc(size ? size : 1);
    if (block) ++gLiveBlocks;
    return block;
}

void* allocateOrThrow(std::size_t size) {
    if (void* block = allocate(size)) return block;
    throw std::bad_alloc();
}

void deallocate(void* block) noexcept {
    if (block) --gLiveBlocks;
    std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { deallocate(block); }
void operator delete[](void* block) noexcept { deallocate(block); }
void operator delete(void* block, std::size_t) noexcept { deallocate(block); }
void operator delete[](void* block, std::size_t) noexcept { deallocate(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { deallocate(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { deallocate(block); }

namespace {

using lumoidl::test::utf8;

const char kBadAllocLine[] = "Unhandled parser exception: std::bad_alloc";

/// Files open in the process, or 0 where the system does not tell.
long openFiles() {
    long count = 0;
#if defined(__linux__)
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++count;
        closedir(dir);
    }
#endif
    return count;
}

/// What one call of LumoIDLParse gave: its message, its allocations (seen and failed), and the blocks and
/// open files it left behind once its result was released.
struct Outcome {
    std::string message;
    long allocations, failures, blocks, files;
};

Outcome call(lumoidl::host::HostStringArray& files, Arming arming) {
    lumoidl::test::RecordingString receiver;  // with room for any message, so reading allocates nothing
    receiver.content.reserve(64 * 1024);
    const long blocks = gLiveBlocks, open = openFiles();
    tArming = arming;
    ILumoIDLParseResult* result = LumoIDLParse(files.record());
    const Arming ended = std::exchange(tArming, Arming{});
    ILumoIDLParseResult_getErrorMessage(result, &receiver);
    ILumoIDLParseResult_release(result);
    const long leftBlocks = gLiveBlocks - blocks, leftFiles = openFiles() - open;
    return {utf8(receiver.content), ended.seen, ended.failures, leftBlocks, leftFiles};
}

/// The sources of one call (an example file's name, or a library body where each "@" is a new uuid) and its
/// message, where "@" stands for the path of the last written file.
struct Case {
    const char* name;
    std::vector<std::string> sources;
    std::string message;
};

const Case kCases[] = {
    {"example libraries", {"1-core.idl", "2-geometry.idl", "3-drawing.idl"}, ""},
    {"syntax error inside a method's argument list",
     {"1-core.idl",
      "[@] enum { First = 1, Second = 2 } Order;\n"
      "[@] interface IWhole { LUMORESULT text([out, retval] LumoString text); };\n"
      "[@] interface IHalf {\n    [property_get] LUMORESULT name([out, retval] LumoString name);\n"
      "    LUMORESULT move([in] LumoReal dx, [in] ZEMRA::ICollection<Order> dy;\n};"},
     "Parse error in \"@\": line 7, pos 72: syntax error"},
    {"syntax error after a complete category declaration", {"[@] category Done; category ;"},
     "Parse error in \"@\": line 3, pos 70: syntax error"},
    {"syntax error after several library items",
     {"[@] interface IA { LUMORESULT f([in] LumoInteger n); };\n[@] enum { X = 1 } E;\n[@] category C;\n"
      "[@] interface IB<T> { T g(); };\ninterface ;"},
     "Parse error in \"@\": line 7, pos 11: syntax error"},
    {"syntax error inside an attribute list", {"[@, version(1.0) helpstring] interface IA { };"},
     "Parse error in \"@\": line 3, pos 69: syntax error"},
    {"syntax error in an enumeration", {"[@] enum { A = 1, B = , C = 3 } E;"},
     "Parse error in \"@\": line 3, pos 64: syntax error"},
    {"rule failure after a successful parse",
     {"1-core.idl",
      "[@] interface IFine { LUMORESULT text([in] LumoString text, [out, retval] LumoInteger length); };\n"
      "[@] interface IWrong { LUMORESULT both([in, out] LumoInteger value); };\n"
      "[@] enum { Low = 0, High = 1 } Level;\n[@] category Checked;"},
     "Argument \"value\" of method \"both\" in interface \"IWrong\" has both \"in\" and \"out\" attributes in \"@\""},
    {"a second file that fails",
     {"[@] interface IFirst { LUMORESULT f([out, retval] IFirst me); };", "[@] interface ISecond { LUMORESULT };"},
     "Parse error in \"@\": line 3, pos 77: syntax error"},
    {"unresolved types in two interfaces",
     {"1-core.idl", "2-geometry.idl",
      "[@] interface IFirst { LUMORESULT take([in] Geometry::IShape shape, [in] Nowhere::IThing thing); };\n"
      "[@] interface ISecond { IMissing give(); };"},
     "Error with return type of method \"give\" of interface \"ISecond\": unresolved type \"IMissing\""},
};

/// Every case whole, then with each of its allocations failing in turn (with the parameter, every later one
/// failing too): each call leaves no block and no open file behind once released, a failed call answers with
/// the catch-all's line, and the next call gives the usual message.
class AllocationFailureSweep : public ::testing::TestWithParam<bool> {};

TEST_P(AllocationFailureSweep, EveryCallLeavesNothingBehind) {
    int serial = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        lumoidl::test::ScratchDir dir;
        lumoidl::host::HostStringArray files;
        std::string path;
        for (const std::string& source : c.sources) {
            if (source.ends_with(".idl")) {
                files.addUtf8(std::string(LUMOIDL_EXAMPLES) + "/" + source);
                continue;
            }
            std::string text = "[@]\nlibrary L" + std::to_string(serial) + " {\n" + source + "\n};\n";
            for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
                char uuid[48];
                std::snprintf(uuid, sizeof uuid, "uuid(2B7C4E10-8D3A-4F61-9C25-%012X)", unsigned(++serial));
                text.replace(at, 1, uuid);
            }
            path = lumoidl::test::pathUtf8(dir.write("source" + std::to_string(serial) + ".idl", text));
            files.addUtf8(path);
        }
        std::string message = c.message;
        if (const size_t at = message.find('@'); at != std::string::npos) message.replace(at, 1, path);

        // The first call builds what lives as long as the process (the built-in types, free lists).
        EXPECT_EQ(call(files, {}).message, message);
        const Outcome whole = call(files, {true});
        EXPECT_EQ(std::pair(whole.blocks, whole.files), std::pair(0L, 0L)) << "blocks and files left by a whole call";
        for (long n = 1; n <= whole.allocations; ++n) {
            const Outcome failed = call(files, {true, GetParam(), n});
            const std::string next = call(files, {}).message;
            const bool failedAsArmed = GetParam() ? failed.failures >= 1 : failed.failures == 1;
            if (!failed.message.ends_with(kBadAllocLine) || !failedAsArmed || failed.blocks || failed.files ||
                next != message) {
                ADD_FAILURE() << "allocation " << n << " of " << whole.allocations << ": \"" << failed.message << "\", "
                              << failed.failures << " failed, left " << failed.blocks << " blocks and " << failed.files
                              << " files; next: \"" << next << "\"";
                break;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, AllocationFailureSweep, ::testing::Bool());

TEST(AllocationFailureTest, NoResultAtAllGivesTheSharedOutOfMemoryResult) {
    lumoidl::host::HostStringArray files;
    files.addUtf8(std::string(LUMOIDL_EXAMPLES) + "/1-core.idl");
    tArming = {true, true, 1};
    ILumoIDLParseResult* first = LumoIDLParse(files.record());
    ILumoIDLParseResult* second = LumoIDLParse(files.record());
    tArming = {};
    ASSERT_EQ(first, second);
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(first), 0);
    ILumoIDLParseResult_release(first);
    ILumoIDLParseResult_release(second);
    // The shared result outlives every release of the hosts.
    lumoidl::test::RecordingString receiver;
    ILumoIDLParseResult_getErrorMessage(first, &receiver);
    EXPECT_EQ(utf8(receiver.content), kBadAllocLine);
    EXPECT_EQ(call(files, {}).message, "");
}

}  // namespace
