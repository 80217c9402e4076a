// Every allocation of a call made to fail in turn: the call still answers, and leaves nothing behind.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <malloc.h>
#elif defined(__linux__)
#include <dirent.h>
#endif

#include "reliability/in_process_host.h"
#include "tree/orphan_registry.h"

namespace {

// ---- The program's operator new: counts live blocks, and fails on request ----

/// Blocks handed out and not yet freed, over the whole program.
std::atomic<long> gLiveBlocks{0};

/// The arming of the thread that armed; other threads allocate as usual.
struct Arming {
    bool armed = false;
    /// Allocation (counted from 1 after arming) that fails; 0 fails none.
    long failAt = 0;
    /// When set, every allocation after failAt fails as well.
    bool failAfter = false;
    long seen = 0;
    long failures = 0;
};
thread_local Arming tArming;

/// True when the allocation just requested is to fail.
bool failNow() {
    if (!tArming.armed) return false;
    const long n = ++tArming.seen;
    const bool fail = tArming.failAt != 0 && (n == tArming.failAt || (tArming.failAfter && n > tArming.failAt));
    if (fail) ++tArming.failures;
    return fail;
}

void* allocate(std::size_t size, std::size_t alignment) noexcept {
    if (failNow()) return nullptr;
    if (size == 0) size = 1;
    void* block = nullptr;
    if (alignment <= alignof(std::max_align_t)) {
        block = std::malloc(size);
    } else {
#if defined(_WIN32)
        block = _aligned_malloc(size, alignment);
#else
        if (posix_memalign(&block, alignment, size) != 0) block = nullptr;
#endif
    }
    if (block) gLiveBlocks.fetch_add(1, std::memory_order_relaxed);
    return block;
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    void* block = allocate(size, alignment);
    if (!block) throw std::bad_alloc();
    return block;
}

void deallocate(void* block, bool aligned) noexcept {
    if (!block) return;
    gLiveBlocks.fetch_sub(1, std::memory_order_relaxed);
#if defined(_WIN32)
    if (aligned) {
        _aligned_free(block);
        return;
    }
#else
    (void)aligned;
#endif
    std::free(block);
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t size) { return allocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return allocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, kPlain); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size, kPlain); }
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept { deallocate(block, false); }
void operator delete[](void* block) noexcept { deallocate(block, false); }
void operator delete(void* block, const std::nothrow_t&) noexcept { deallocate(block, false); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { deallocate(block, false); }
void operator delete(void* block, std::size_t) noexcept { deallocate(block, false); }
void operator delete[](void* block, std::size_t) noexcept { deallocate(block, false); }
void operator delete(void* block, std::align_val_t) noexcept { deallocate(block, true); }
void operator delete[](void* block, std::align_val_t) noexcept { deallocate(block, true); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { deallocate(block, true); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { deallocate(block, true); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { deallocate(block, true); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { deallocate(block, true); }

namespace {

using lumoidl::test::errorOf;
using lumoidl::test::FileList;
using lumoidl::test::parseFiles;
using lumoidl::test::pathUtf8;
using lumoidl::test::RecordingString;
using lumoidl::test::ScratchDir;
using lumoidl::test::utf8;
using ZEMRA::IDL::PARSER::liveParseObjects;
using ZEMRA::IDL::PARSER::registeredOrphans;

const char kBadAllocLine[] = "Unhandled parser exception: std::bad_alloc";

/// Starts counting this thread's allocations; the `failAt`-th fails (none when 0), and with
/// `failAfter` every one after it too.
void arm(long failAt, bool failAfter) { tArming = Arming{true, failAt, failAfter, 0, 0}; }

/// Stops counting; returns the arming as it ended.
Arming disarm() {
    Arming ended = tArming;
    tArming = Arming{};
    return ended;
}

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

/// What a call leaves behind that a finished call must not have changed.
struct Footprint {
    long blocks;
    long parseObjects;
    size_t orphans;
    long files;

    static Footprint now() {
        return {gLiveBlocks.load(), liveParseObjects(), registeredOrphans(), openFiles()};
    }
};

/// One input of the sweep: the files of one call and what the call yields without failures.
struct SweepInput {
    std::vector<std::string> files;
    std::string error;
    int32_t libraries;
};

std::string example(const char* name) { return std::string(LUMOIDL_EXAMPLES) + "/" + name; }

/// The allocations of one call on `files`, none of them failing.
long allocationsOfOneCall(FileList& files) {
    arm(0, false);
    ILumoIDLParseResult* result = LumoIDLParse(&files);
    const Arming counted = disarm();
    ILumoIDLParseResult_release(result);
    return counted.seen;
}

/// What went wrong when allocation `n` of a call of `input` failed (with `failAfter`, also
/// every later one); empty when the call answered with the catch-all's line and left nothing
/// behind, and the next call gave the usual result.
std::string failAllocation(const SweepInput& input, FileList& files, long n, bool failAfter) {
    // The receiver has room for any message, so that reading the text allocates nothing.
    RecordingString receiver;
    receiver.content.reserve(64 * 1024);
    const Footprint before = Footprint::now();
    arm(n, failAfter);
    ILumoIDLParseResult* result = LumoIDLParse(&files);
    const Arming ended = disarm();
    if (!result) return "null result";
    ILumoIDLParseResult_getErrorMessage(result, &receiver);
    ILumoIDLParseResult_release(result);
    const Footprint after = Footprint::now();

    std::string problems;
    const std::string message = utf8(receiver.content);
    if (ended.failures == 0 || (!failAfter && ended.failures != 1))
        problems += " " + std::to_string(ended.failures) + " allocations failed;";
    if (!message.ends_with(kBadAllocLine)) problems += " error text \"" + message + "\";";
    if (after.blocks != before.blocks)
        problems += " live blocks " + std::to_string(before.blocks) + " -> " + std::to_string(after.blocks) + ";";
    if (after.parseObjects != before.parseObjects)
        problems += " parse objects " + std::to_string(before.parseObjects) + " -> " +
                    std::to_string(after.parseObjects) + ";";
    if (after.orphans != before.orphans)
        problems += " registered " + std::to_string(before.orphans) + " -> " + std::to_string(after.orphans) + ";";
    if (after.files != before.files)
        problems += " open files " + std::to_string(before.files) + " -> " + std::to_string(after.files) + ";";

    lumoidl::test::OwnedResult next(LumoIDLParse(&files));
    if (errorOf(next.get()) != input.error) problems += " next call: \"" + errorOf(next.get()) + "\";";
    if (ILumoIDLParseResult_getLibraryCount(next.get()) != input.libraries) problems += " next call's libraries;";
    return problems;
}

/// Fails each allocation of one call of `input` in turn and reports every n that went wrong;
/// returns the number of allocations of the call.
long sweep(const SweepInput& input, bool failAfter) {
    FileList files(input.files);
    {
        // The first call builds what lives for the whole process (the built-in type table).
        lumoidl::test::OwnedResult first(LumoIDLParse(&files));
        EXPECT_EQ(errorOf(first.get()), input.error);
        EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(first.get()), input.libraries);
    }
    const long total = allocationsOfOneCall(files);
    EXPECT_EQ(allocationsOfOneCall(files), total) << "a call's allocations vary";
    int reported = 0;
    for (long n = 1; n <= total && reported < 5; ++n) {
        const std::string problems = failAllocation(input, files, n, failAfter);
        if (!problems.empty()) {
            ADD_FAILURE() << "allocation " << n << " of " << total << ":" << problems;
            ++reported;
        }
    }
    return total;
}

/// A library whose second interface breaks off in the middle of a method's arguments.
const char kBrokenInterface[] =
    "[uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5D00), version(1.0)]\n"
    "library Broken {\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5D01)] enum { First = 1, Second = 2 } Order;\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5D02)] interface IWhole {\n"
    "        LUMORESULT text([out, retval] LumoString text);\n"
    "    };\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5D03)] interface IHalf {\n"
    "        [property_get] LUMORESULT name([out, retval] LumoString name);\n"
    "        LUMORESULT move([in] LumoReal dx, [in] ZEMRA::ICollection<Order> dy;\n"
    "        LUMORESULT never([in] LumoInteger n);\n"
    "    };\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5D04)] category Unreached;\n"
    "};\n";

/// A library whose second interface breaks an argument rule; its enumeration and category ID
/// phases still run after the interface phase has failed.
const char kBrokenRule[] =
    "[uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5E00), version(1.0)]\n"
    "library Strict {\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5E01)] interface IFine {\n"
    "        LUMORESULT text([in] LumoString text, [out, retval] LumoInteger length);\n"
    "    };\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5E02)] interface IWrong {\n"
    "        LUMORESULT both([in, out] LumoInteger value);\n"
    "    };\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5E03)] enum { Low = 0, High = 1 } Level;\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5E04)] category Checked;\n"
    "};\n";

/// A library that passes its own checks but names types no library declares, in two
/// interfaces: resolution goes on after the first failure and the second one's text stands.
const char kUnresolvedTypes[] =
    "[uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5F00), version(1.0)]\n"
    "library Loose {\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5F01)] interface IFirst {\n"
    "        LUMORESULT take([in] Geometry::IShape shape, [in] Nowhere::IThing thing);\n"
    "    };\n"
    "    [uuid(2B7C4E10-8D3A-4F61-9C25-7E0A1B3C5F02)] interface ISecond {\n"
    "        IMissing give();\n"
    "    };\n"
    "};\n";

class AllocationFailureSweep : public ::testing::TestWithParam<bool> {
protected:
    /// Sweeps `input` in the mode of the parameter and records the call's allocations.
    void run(const SweepInput& input) {
        const long total = sweep(input, GetParam());
        EXPECT_GT(total, 0);
        RecordProperty("allocations", std::to_string(total));
    }

    ScratchDir dir_;
};

TEST_P(AllocationFailureSweep, ExampleLibraries) {
    run({{example("1-core.idl"), example("2-geometry.idl"), example("3-drawing.idl")}, "", 3});
}

TEST_P(AllocationFailureSweep, SyntaxErrorInTheMiddleOfAnInterface) {
    const std::string broken = pathUtf8(dir_.write("broken.idl", kBrokenInterface));
    run({{example("1-core.idl"), broken},
         "Parse error in \"" + broken + "\": line 9, pos 76: syntax error",
         1});
}

TEST_P(AllocationFailureSweep, BrokenRule) {
    const std::string strict = pathUtf8(dir_.write("strict.idl", kBrokenRule));
    run({{example("1-core.idl"), strict},
         "Argument \"value\" of method \"both\" in interface \"IWrong\" has both \"in\" and \"out\" attributes in \"" +
             strict + "\"",
         2});
}

TEST_P(AllocationFailureSweep, UnresolvedTypes) {
    const std::string loose = pathUtf8(dir_.write("loose.idl", kUnresolvedTypes));
    run({{example("1-core.idl"), example("2-geometry.idl"), loose},
         "Error with return type of method \"give\" of interface \"ISecond\": unresolved type \"IMissing\"",
         3});
}

INSTANTIATE_TEST_SUITE_P(Calls, AllocationFailureSweep, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("EveryLaterAllocationFailsToo")
                                               : std::string("OneAllocationFails");
                         });

TEST(AllocationFailureTest, NoResultAtAllGivesTheSharedOutOfMemoryResult) {
    FileList files({example("1-core.idl")});
    arm(1, true);
    ILumoIDLParseResult* first = LumoIDLParse(&files);
    ILumoIDLParseResult* second = LumoIDLParse(&files);
    disarm();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(errorOf(first), kBadAllocLine);
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(first), 0);
    ILumoIDLParseResult_release(first);
    ILumoIDLParseResult_release(second);
    // The shared result outlives every release of the hosts.
    EXPECT_EQ(errorOf(first), kBadAllocLine);
    EXPECT_EQ(errorOf(parseFiles({example("1-core.idl")}).get()), "");
}

}  // namespace
