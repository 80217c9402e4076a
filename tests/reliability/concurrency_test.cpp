// Calls on several threads at once, each walking and releasing results that other threads made.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/host_model.h"

namespace {

using lumoidl::host::ResultRef;
using lumoidl::test::nameOf;

/// A type as text: name, kind and template arguments.
std::string typeText(ILumoIDLType* type) {
    std::string out = nameOf(type) + "#" + std::to_string(ILumoIDLType_getKind(type)) + "<";
    for (int32_t k = 0; k < ILumoIDLType_getTemplateArgumentCount(type); ++k) {
        ILumoIDLType* argument = nullptr;
        ILumoIDLType_getTemplateArgument(type, k, &argument);
        out += typeText(argument) + ",";
    }
    return out + ">";
}

/// What a host reads of `result`: its message, its libraries, and every interface's signatures.
std::string resultText(ILumoIDLParseResult* result) {
    std::string out = lumoidl::host::errorMessage(result) + "\n";
    for (int32_t k = 0; k < ILumoIDLParseResult_getLibraryCount(result); ++k)
        out += nameOf(lumoidl::test::libraryAt(result, k).get()) + "\n";
    for (int32_t i = 0; i < ILumoIDLParseResult_getInterfaceCount(result); ++i) {
        ILumoIDLInterface* iface = nullptr;
        ILumoIDLParseResult_getInterface(result, i, &iface);
        for (int32_t m = 0; m < ILumoIDLInterface_getMethodCount(iface); ++m) {
            ILumoIDLMethod* method = nullptr;
            ILumoIDLType* returned = nullptr;
            ILumoIDLInterface_getMethod(iface, m, &method);
            ILumoIDLMethod_getReturnType(method, &returned);
            out += nameOf(iface) + " " + typeText(returned) + " " + nameOf(method) + "(";
            for (int32_t a = 0; a < ILumoIDLMethod_getArgumentCount(method); ++a) {
                ILumoIDLMethodArgument* argument = nullptr;
                ILumoIDLMethod_getArgument(method, a, &argument);
                out += typeText(ILumoIDLMethodArgument_getType(argument)) + " " + nameOf(argument) + ",";
            }
            out += ")\n";
        }
    }
    return out;
}

TEST(ConcurrencyTest, EachCallGetsItsOwnResultWhileOthersAreWalkedAndReleased) {
    lumoidl::test::ScratchDir dir;
    const std::string examples = LUMOIDL_EXAMPLES;
    const std::string core = examples + "/1-core.idl", geometry = examples + "/2-geometry.idl";
    const auto file = [&](const char* name, const std::string& body) {
        return lumoidl::test::pathUtf8(dir.write(name, "[uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6E00)]\nlibrary L {\n"
                                                       "[uuid(71C3A9E0-5B2D-4C8F-9E14-6A0B2C4D6E01)] interface I {" +
                                                           body + "}; };\n"));
    };
    const std::vector<std::vector<std::string>> jobs = {
        {core, geometry, examples + "/3-drawing.idl"},
        {core, geometry},
        {core, file("torn.idl", "LUMORESULT f(;")},
        {core, file("loose.idl", "LUMORESULT f([in] Nowhere::IThing thing);")},
        {file("ruled.idl", "LUMORESULT f(LumoInteger count);"), core},
    };
    // What each job's result reads as, from one call made alone.
    std::vector<std::string> expected;
    for (const auto& job : jobs) expected.push_back(resultText(lumoidl::host::parseFiles(job).get()));
    ResultRef shared = lumoidl::host::parseFiles(jobs[0]);
    ILumoIDLParseResult* const sharedRecord = shared.get();

    // Each thread makes results of its own job and swaps them into the slots, taking out what another thread
    // left there to walk and release; all walk the shared result, each on a reference of its own.
    std::mutex mutex;
    std::vector<std::pair<ResultRef, size_t>> slots(jobs.size());
    std::vector<std::string> faults(jobs.size());
    std::vector<std::thread> threads;
    for (size_t t = 0; t < jobs.size(); ++t) {
        ILumoIDLParseResult_addReference(sharedRecord);
        threads.emplace_back([&, t] {
            const ResultRef mine(sharedRecord);
            for (size_t round = 0; round < 20 && faults[t].empty(); ++round) {
                std::pair<ResultRef, size_t> handed{lumoidl::host::parseFiles(jobs[t]), t};
                {
                    const std::lock_guard<std::mutex> lock(mutex);
                    std::swap(handed, slots[(t + round) % slots.size()]);
                }
                if (handed.first && resultText(handed.first.get()) != expected[handed.second])
                    faults[t] = "result of job " + std::to_string(handed.second) + " in round " + std::to_string(round);
                if (resultText(mine.get()) != expected[0]) faults[t] = "shared in round " + std::to_string(round);
            }
        });
    }
    shared.reset();  // the last thread to finish destroys it, while others may still be parsing
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(faults, std::vector<std::string>(jobs.size()));
    for (const auto& [result, job] : slots)
        EXPECT_TRUE(!result || resultText(result.get()) == expected[job]) << "job " << job;
}

}  // namespace
