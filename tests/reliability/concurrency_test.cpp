// Calls on several threads at once, while other threads walk and release earlier results.
#include <gtest/gtest.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "reliability/in_process_host.h"
#include "tree/orphan_registry.h"

namespace {

using lumoidl::test::errorOf;
using lumoidl::test::libraryAt;
using lumoidl::test::nameOf;
using lumoidl::test::OwnedLibrary;
using lumoidl::test::OwnedResult;
using lumoidl::test::parseFiles;
using lumoidl::test::pathUtf8;
using lumoidl::test::ScratchDir;
using ZEMRA::IDL::PARSER::liveParseObjects;

std::string example(const char* name) { return std::string(LUMOIDL_EXAMPLES) + "/" + name; }

/// A type as written and resolved: name, kind and template arguments.
std::string typeText(ILumoIDLType* type) {
    std::string out = nameOf(type) + "#" + std::to_string(ILumoIDLType_getKind(type));
    const int32_t count = ILumoIDLType_getTemplateArgumentCount(type);
    for (int32_t k = 0; k < count; ++k) {
        ILumoIDLType* argument = nullptr;
        ILumoIDLType_getTemplateArgument(type, k, &argument);
        out += (k ? "," : "<") + (argument ? typeText(argument) : "?") + (k + 1 == count ? ">" : "");
    }
    return out;
}

/// Everything a host can read of `library`'s declarations, as text.
std::string libraryText(ILumoIDLLibrary* library) {
    std::string out = "library " + nameOf(library) + "\n";
    for (int32_t i = 0; i < ILumoIDLLibrary_getInterfaceCount(library); ++i) {
        ILumoIDLInterface* iface = nullptr;
        ILumoIDLLibrary_getInterface(library, i, &iface);
        out += " interface " + nameOf(iface) + "\n";
        for (int32_t m = 0; m < ILumoIDLInterface_getMethodCount(iface); ++m) {
            ILumoIDLMethod* method = nullptr;
            ILumoIDLInterface_getMethod(iface, m, &method);
            ILumoIDLType* returned = nullptr;
            ILumoIDLMethod_getReturnType(method, &returned);
            out += "  " + typeText(returned) + " " + nameOf(method) + "(";
            for (int32_t a = 0; a < ILumoIDLMethod_getArgumentCount(method); ++a) {
                ILumoIDLMethodArgument* argument = nullptr;
                ILumoIDLMethod_getArgument(method, a, &argument);
                out += typeText(ILumoIDLMethodArgument_getType(argument)) + " " + nameOf(argument) + ";";
            }
            out += ")\n";
        }
    }
    for (int32_t e = 0; e < ILumoIDLLibrary_getEnumerationCount(library); ++e) {
        ILumoIDLEnumeration* enumeration = nullptr;
        ILumoIDLLibrary_getEnumeration(library, e, &enumeration);
        out += " enum " + nameOf(enumeration);
        for (int32_t k = 0; k < ILumoIDLEnumeration_getItemCount(enumeration); ++k) {
            int32_t value = 0;
            ILumoIDLEnumeration_getItemValue(enumeration, k, &value);
            out += " " + std::to_string(value);
        }
        out += "\n";
    }
    for (int32_t c = 0; c < ILumoIDLLibrary_getCategoryIDCount(library); ++c) {
        ILumoIDLCategoryID* category = nullptr;
        ILumoIDLLibrary_getCategoryID(library, c, &category);
        out += " category " + nameOf(category) + "\n";
    }
    return out;
}

/// Everything a host can read of `result`, as text.
std::string resultText(ILumoIDLParseResult* result) {
    std::string out = errorOf(result) + "\n";
    for (int32_t k = 0; k < ILumoIDLParseResult_getLibraryCount(result); ++k) {
        OwnedLibrary library = libraryAt(result, k);
        out += library ? libraryText(library.get()) : "missing library\n";
    }
    return out;
}

/// One kind of call: its files and what it must yield.
struct Job {
    std::vector<std::string> files;
    std::string error;
    int32_t libraries;
};

/// A finished call waiting to be walked: the result and the text it must read as.
struct Finished {
    ILumoIDLParseResult* result;
    const std::string* expectedText;
};

/// Results handed from the parsing threads to the walking threads.
class Handover {
public:
    void put(Finished finished) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            queue_.push_back(finished);
        }
        ready_.notify_one();
    }
    /// The next result, or a null result once every producer has finished and none is left.
    Finished take() {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return !queue_.empty() || producers_ == 0; });
        if (queue_.empty()) return {nullptr, nullptr};
        Finished next = queue_.front();
        queue_.pop_front();
        return next;
    }
    void addProducer() {
        std::lock_guard<std::mutex> lock(mutex_);
        ++producers_;
    }
    void producerDone() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            --producers_;
        }
        ready_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Finished> queue_;
    int producers_ = 0;
};

const char kBrokenSyntax[] =
    "[uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6E00)]\n"
    "library Torn { [uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6E01)] interface ITorn { LUMORESULT f(; }; };\n";

const char kUnresolved[] =
    "[uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6F00)]\n"
    "library Loose { [uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6F01)] interface ILoose {\n"
    "    LUMORESULT f([in] Nowhere::IThing thing);\n"
    "}; };\n";

const char kBrokenRule[] =
    "[uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D7000)]\n"
    "library Ruled { [uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D7001)] interface IRuled {\n"
    "    LUMORESULT f(LumoInteger count);\n"
    "}; };\n";

class ConcurrentParseTest : public ::testing::Test {
protected:
    /// One job per parsing thread, each with its own outcome.
    std::vector<Job> jobs() const {
        const std::string torn = pathUtf8(dir_.write("torn.idl", kBrokenSyntax));
        const std::string loose = pathUtf8(dir_.write("loose.idl", kUnresolved));
        const std::string ruled = pathUtf8(dir_.write("ruled.idl", kBrokenRule));
        const std::string missing = pathUtf8(dir_.path("missing.idl"));
        return {
            {{example("1-core.idl"), example("2-geometry.idl"), example("3-drawing.idl")}, "", 3},
            {{example("1-core.idl"), example("2-geometry.idl")}, "", 2},
            {{example("1-core.idl"), torn}, "Parse error in \"" + torn + "\": line 2, pos 92: syntax error", 1},
            {{example("1-core.idl"), loose},
             "Error with type of argument \"thing\" of method \"f\" of interface \"ILoose\": unresolved type "
             "\"Nowhere::IThing\"",
             2},
            {{ruled, example("1-core.idl")},
             "Argument \"count\" of method \"f\" in interface \"IRuled\" has neither \"in\" nor \"out\" attribute "
             "in \"" + ruled + "\"",
             1},
            {{example("1-core.idl"), missing},
             "Failed to open \"" + missing + "\" for reading: " + std::strerror(ENOENT), 1},
        };
    }

    ScratchDir dir_;
};

TEST_F(ConcurrentParseTest, EveryCallGetsItsOwnResultWhileOthersAreWalkedAndReleased) {
    const std::vector<Job> work = jobs();
    // What each job's result reads as, taken from one call made alone.
    std::vector<std::string> expectedTexts;
    for (const Job& job : work) {
        OwnedResult alone = parseFiles(job.files);
        ASSERT_EQ(errorOf(alone.get()), job.error);
        ASSERT_EQ(ILumoIDLParseResult_getLibraryCount(alone.get()), job.libraries);
        expectedTexts.push_back(resultText(alone.get()));
    }
    const long objectsBefore = liveParseObjects();

    constexpr int kRounds = 25;
    constexpr int kWalkers = 2;
    Handover handover;
    std::vector<std::string> parserFaults(work.size());
    std::vector<std::string> walkerFaults(kWalkers);
    std::vector<int> walked(kWalkers, 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < work.size(); ++t) handover.addProducer();
    for (size_t t = 0; t < work.size(); ++t) {
        threads.emplace_back([&, t] {
            const Job& job = work[t];
            for (int round = 0; round < kRounds && parserFaults[t].empty(); ++round) {
                ILumoIDLParseResult* result = parseFiles(job.files).release();
                const std::string error = errorOf(result);
                if (error != job.error) parserFaults[t] = "round " + std::to_string(round) + ": " + error;
                if (ILumoIDLParseResult_getLibraryCount(result) != job.libraries)
                    parserFaults[t] += " libraries differ in round " + std::to_string(round);
                handover.put({result, &expectedTexts[t]});
            }
            handover.producerDone();
        });
    }
    for (int w = 0; w < kWalkers; ++w) {
        threads.emplace_back([&, w] {
            for (Finished next = handover.take(); next.result; next = handover.take()) {
                OwnedResult owned(next.result);
                const std::string read = resultText(owned.get());
                if (read != *next.expectedText && walkerFaults[w].empty())
                    walkerFaults[w] = "read:\n" + read + "expected:\n" + *next.expectedText;
                ++walked[w];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();

    for (size_t t = 0; t < work.size(); ++t) EXPECT_EQ(parserFaults[t], "") << "parsing thread " << t;
    for (int w = 0; w < kWalkers; ++w) EXPECT_EQ(walkerFaults[w], "") << "walking thread " << w;
    EXPECT_EQ(walked[0] + walked[1], kRounds * static_cast<int>(work.size()));
    EXPECT_EQ(liveParseObjects(), objectsBefore);
}

TEST_F(ConcurrentParseTest, SharedResultIsWalkedAndReleasedFromManyThreads) {
    const long objectsBefore = liveParseObjects();
    ILumoIDLParseResult* shared =
        parseFiles({example("1-core.idl"), example("2-geometry.idl"), example("3-drawing.idl")}).release();
    const std::string expected = resultText(shared);
    ASSERT_EQ(errorOf(shared), "");

    constexpr int kThreads = 6;
    std::vector<std::string> faults(kThreads);
    std::vector<std::thread> threads;
    // Each thread owns one reference and drops it when done; the last one destroys the result
    // while other threads may still be parsing.
    for (int t = 0; t < kThreads; ++t) ILumoIDLParseResult_addReference(shared);
    ILumoIDLParseResult_release(shared);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            OwnedResult mine(shared);
            for (int round = 0; round < 10 && faults[t].empty(); ++round) {
                if (resultText(mine.get()) != expected) faults[t] = "walk differs in round " + std::to_string(round);
                if (t % 2 && errorOf(parseFiles({example("1-core.idl")}).get()) != "")
                    faults[t] = "parse failed in round " + std::to_string(round);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(faults[t], "") << "thread " << t;
    EXPECT_EQ(liveParseObjects(), objectsBefore);
}

}  // namespace
