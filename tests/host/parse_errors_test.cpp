// Syntax errors seen by a host through LumoIDLParse, and results released while another parse runs.
#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host/references.h"
#include "support/fake_host.h"

namespace {

using lumoidl::host::errorMessage;
using lumoidl::host::LibraryRef;
using lumoidl::host::parseFiles;
using lumoidl::host::readText;
using lumoidl::host::ResultRef;
using lumoidl::test::pathUtf8;
using lumoidl::test::ScratchDir;

/// A uuid text unique to (`serial`, `part`).
std::string uuid(int serial, int part) {
    char text[40];
    std::snprintf(text, sizeof text, "5E0D2C44-7A19-4B3E-8F21-%08X%04X", static_cast<unsigned>(serial),
                  static_cast<unsigned>(part));
    return text;
}

/// A library that passes every check, with one interface, one enumeration and one category ID;
/// `serial` keeps its uuids apart from those of other libraries. It spans nine lines.
std::string validLibrary(const std::string& name, int serial) {
    return "[uuid(" + uuid(serial, 0) + "), version(1.0)]\n"
           "library " + name + " {\n"
           "    [uuid(" + uuid(serial, 1) + ")] interface IThing {\n"
           "        LUMORESULT getName([out, retval] LumoString name);\n"
           "        LUMORESULT setCount([in] LumoInteger count);\n"
           "    };\n"
           "    [uuid(" + uuid(serial, 2) + ")] enum { Red = 1, Green = 0x2 } Colour;\n"
           "    [uuid(" + uuid(serial, 3) + ")] category Things;\n"
           "};\n";
}

/// The library at `index` of `result`, with a reference of its own; empty when there is none.
LibraryRef libraryAt(ILumoIDLParseResult* result, int32_t index) {
    ILumoIDLLibrary* library = nullptr;
    if (ILumoIDLParseResult_getLibrary(result, index, &library) != LUMO_OK) return LibraryRef();
    return LibraryRef(library);
}

/// The name of `library`, or "<none>".
std::string nameOf(const LibraryRef& library) {
    if (!library) return "<none>";
    return readText([&](ILumoString* text) { ILumoIDLLibrary_getName(library.get(), text); });
}

/// The name of the library at `index` of `result`.
std::string libraryName(ILumoIDLParseResult* result, int32_t index) {
    return nameOf(libraryAt(result, index));
}

std::string parseError(const std::string& file, const std::string& detail) {
    return "Parse error in \"" + file + "\": " + detail;
}

TEST(ParseErrorsTest, BrokenFileIsReportedWithItsNameAndPosition) {
    std::string deepType;
    for (int i = 0; i < 4995; ++i) deepType += "A<";
    deepType += "B" + std::string(4995, '>');
    struct Case {
        const char* label;
        std::string content;
        const char* detail;
    };
    const Case cases[] = {
        {"library without items", "library L { };", "line 1, pos 13: syntax error"},
        // Carriage returns are not counted.
        {"stray name on a CRLF line", "library L {\r\n  oops\r\n};\r\n", "line 2, pos 6: syntax error"},
        // The byte-order mark's first byte ends the input before any token.
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + validLibrary("Marked", 1), "line 1, pos 1: syntax error"},
        {"type nested past the parse stack",
         "library L {\n[uuid(" + uuid(2, 1) + ")] interface I {\n" + deepType + " m();\n};\n};\n",
         "line 3, pos 9992: yacc stack overflow"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string file = pathUtf8(dir.write("broken.idl", c.content));
        ResultRef result = parseFiles({file});
        ASSERT_TRUE(result);
        EXPECT_EQ(errorMessage(result.get()), parseError(file, c.detail));
        EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), 0);
    }
}

TEST(ParseErrorsTest, SyntaxErrorInTheSecondOfThreeFilesEndsTheCallThere) {
    ScratchDir dir;
    const std::string first = pathUtf8(dir.write("first.idl", validLibrary("First", 1)));
    const std::string second = pathUtf8(dir.write("second.idl",
                                                  "library Second {\n"
                                                  "  [uuid(" + uuid(2, 1) + ")] interface IBroken {\n"
                                                  "    LUMORESULT run(,);\n"
                                                  "  };\n"
                                                  "};\n"));
    // Opening the third file would replace the parse error with an open failure.
    const std::string third = pathUtf8(dir.path("third-missing.idl"));
    ResultRef result = parseFiles({first, second, third});
    // Lines and positions count from the start of the second file.
    EXPECT_EQ(errorMessage(result.get()), parseError(second, "line 3, pos 20: syntax error"));
    ASSERT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), 1);
    EXPECT_EQ(libraryName(result.get(), 0), "First");
}

TEST(ParseErrorsTest, TwoValidFilesGiveTwoLibrariesInListOrder) {
    ScratchDir dir;
    const std::string zeta = pathUtf8(dir.write("zeta.idl", validLibrary("Zeta", 1)));
    const std::string alpha = pathUtf8(dir.write("alpha.idl", validLibrary("Alpha", 2)));
    ResultRef result = parseFiles({zeta, alpha});
    EXPECT_EQ(errorMessage(result.get()), "");
    ASSERT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), 2);
    EXPECT_EQ(libraryName(result.get(), 0), "Zeta");
    EXPECT_EQ(libraryName(result.get(), 1), "Alpha");
}

TEST(ParseErrorsTest, ResultsReleasedOnAnotherThreadWhileParsing) {
    ScratchDir dir;
    const std::string one = pathUtf8(dir.write("one.idl", validLibrary("One", 1)));
    const std::string two = pathUtf8(dir.write("two.idl", validLibrary("Two", 2)));
    const std::string broken =
        pathUtf8(dir.write("broken.idl", "library Broken { interface I { X m(; }; };"));
    const std::string brokenMessage = parseError(broken, "line 1, pos 36: syntax error");

    // The parsing thread checks each result and hands it over; the releaser reads its first
    // library and drops both references, destroying the library's declarations while the next
    // parse builds and purges its own.
    std::mutex mutex;
    std::condition_variable handedOver;
    std::deque<ResultRef> pending;
    bool finished = false;
    std::vector<std::string> releaserFailures;
    std::thread releaser([&] {
        for (;;) {
            ResultRef result;
            {
                std::unique_lock<std::mutex> lock(mutex);
                handedOver.wait(lock, [&] { return finished || !pending.empty(); });
                if (pending.empty()) return;
                result = std::move(pending.front());
                pending.pop_front();
            }
            LibraryRef first = libraryAt(result.get(), 0);
            result.reset();
            const std::string name = nameOf(first);
            if (name != "One") releaserFailures.push_back("first library named " + name);
            first.reset();
        }
    });

    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const bool valid = round % 3 != 2;
        ResultRef result = parseFiles({one, valid ? two : broken});
        ASSERT_TRUE(result);
        EXPECT_EQ(errorMessage(result.get()), valid ? "" : brokenMessage);
        EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), valid ? 2 : 1);
        {
            std::lock_guard<std::mutex> lock(mutex);
            pending.push_back(std::move(result));
        }
        handedOver.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    handedOver.notify_one();
    releaser.join();
    EXPECT_EQ(releaserFailures, std::vector<std::string>{});
}

}  // namespace
