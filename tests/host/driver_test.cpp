// The driver seen by a host: file list failures, nesting, concurrency, the result's reference.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/host_string_array.h"
#include "host/references.h"
#include "support/fake_host.h"

namespace {

using lumoidl::host::errorMessage;
using lumoidl::host::HostStringArray;
using lumoidl::host::ResultRef;
using lumoidl::test::pathText;
using lumoidl::test::pathUtf8;
using lumoidl::test::ScratchDir;

const char kValidLibrary[] =
    "[uuid(6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41), version(1.0), idlversion(1)]\n"
    "library Sample { [uuid(6C1B3A12-2F4E-4D8A-9B1C-0E7F5A2D3C41)] interface IEmpty { }; };\n";

const char kOtherLibrary[] =
    "[uuid(6C1B3A20-2F4E-4D8A-9B1C-0E7F5A2D3C41)]\n"
    "library Other { [uuid(6C1B3A22-2F4E-4D8A-9B1C-0E7F5A2D3C41)] interface IEmpty { }; };\n";

ResultRef parse(HostStringArray& names) { return ResultRef(LumoIDLParse(names.record())); }

std::string openFailure(const std::string& name, int error) {
    return "Failed to open \"" + name + "\" for reading: " + std::strerror(error);
}

TEST(DriverTest, EmptyListIsReported) {
    HostStringArray names;
    ResultRef result = parse(names);
    ASSERT_TRUE(result);
    EXPECT_EQ(errorMessage(result.get()), "No input files specified");
    EXPECT_EQ(ILumoIDLParseResult_getLibraryCount(result.get()), 0);
}

TEST(DriverTest, NullListIsTakenAsEmpty) {
    ResultRef result(LumoIDLParse(nullptr));
    ASSERT_TRUE(result);
    EXPECT_EQ(errorMessage(result.get()), "No input files specified");
}

TEST(DriverTest, OpenFailuresNameTheFileAndTheSystemText) {
    ScratchDir dir;
    struct Case {
        const char* label;
        bool nullElement;
        std::string name;
        std::string expected;
    };
    const std::string missing = pathUtf8(dir.path("missing.idl"));
    const std::string directory = pathUtf8(dir.path(""));
    const Case cases[] = {
        {"null element", true, "", openFailure("", ENOENT)},
        {"empty name", false, "", openFailure("", ENOENT)},
        {"missing file", false, missing, openFailure(missing, ENOENT)},
#if defined(_WIN32)
        {"directory", false, directory, openFailure(directory, EACCES)},
#else
        {"directory", false, directory, openFailure(directory, EISDIR)},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        HostStringArray names;
        if (c.nullElement)
            names.addNull();
        else
            names.addUtf8(c.name);
        ResultRef result = parse(names);
        const std::string message = errorMessage(result.get());
        EXPECT_EQ(message, c.expected);
        ASSERT_FALSE(message.empty());
        EXPECT_NE(message.back(), '\n');
    }
}

TEST(DriverTest, NameIsTakenUpToItsFirstZeroUnit) {
    ScratchDir dir;
    ZEMRA::LumoText name = pathText(dir.path("cut"));
    name += LumoChar(0);
    name += pathText("tail.idl");
    HostStringArray names;
    names.add(name);
    ResultRef result = parse(names);
    EXPECT_EQ(errorMessage(result.get()), openFailure(pathUtf8(dir.path("cut")), ENOENT));
}

TEST(DriverTest, NoFileIsOpenedAfterAFailure) {
    ScratchDir dir;
    const std::string first = pathUtf8(dir.write("first.idl", kValidLibrary));
    const std::string second = pathUtf8(dir.path("second.idl"));
    HostStringArray names;
    names.addUtf8(first);
    names.addUtf8(second);
    names.addUtf8(pathUtf8(dir.path("third.idl")));
    ResultRef result = parse(names);
    EXPECT_EQ(errorMessage(result.get()), openFailure(second, ENOENT));
}

TEST(DriverTest, ReadableFilesWithNonAsciiNamesOpen) {
    ScratchDir dir;
    HostStringArray names;
    names.addUtf8(pathUtf8(dir.write("\xC3\x9C" "ber-\xE5\x90\x8D\xE5\x89\x8D.idl", kValidLibrary)));
    names.addUtf8(pathUtf8(dir.write("plain.idl", kOtherLibrary)));
    ResultRef result = parse(names);
    EXPECT_EQ(errorMessage(result.get()), "");
}

/// A file name whose get runs a whole parse of its own on the same thread.
struct ReentrantName : ILumoString {
    ReentrantName();
    ZEMRA::LumoText name;
    std::string innerMessage;
};

LUMORESULT reentrantGet(void* me, const LumoChar** data, uint32_t* length) {
    auto* self = static_cast<ReentrantName*>(me);
    HostStringArray inner;
    ResultRef result(LumoIDLParse(inner.record()));
    self->innerMessage = errorMessage(result.get());
    *data = self->name.c_str();
    *length = static_cast<uint32_t>(self->name.size());
    return LUMO_OK;
}

LUMORESULT reentrantSet(void*, const LumoChar*, uint32_t) { return LUMO_OK; }

const ILumoStringVtbl kReentrantTable = {&reentrantGet, &reentrantSet};

ReentrantName::ReentrantName() : ILumoString{this, &kReentrantTable} {}

/// A string array holding exactly the given elements.
struct FixedArray : ILumoStringArray {
    explicit FixedArray(std::vector<ILumoString*> list);
    std::vector<ILumoString*> elements;
};

LUMORESULT fixedGet(void* me, ILumoString* const** out, uint32_t* count) {
    auto* self = static_cast<FixedArray*>(me);
    *out = self->elements.data();
    *count = static_cast<uint32_t>(self->elements.size());
    return LUMO_OK;
}

const ILumoStringArrayVtbl kFixedTable = {&fixedGet};

FixedArray::FixedArray(std::vector<ILumoString*> list) : ILumoStringArray{this, &kFixedTable}, elements(std::move(list)) {}

TEST(DriverTest, NestedCallOnTheOwningThreadGoesOn) {
    ScratchDir dir;
    ReentrantName first;
    first.name = pathText(dir.write("a.idl", kValidLibrary));
    ReentrantName second;
    second.name = pathText(dir.path("absent.idl"));
    FixedArray names({&first, &second});
    ResultRef result(LumoIDLParse(&names));
    EXPECT_EQ(first.innerMessage, "No input files specified");
    EXPECT_EQ(second.innerMessage, "No input files specified");
    EXPECT_EQ(errorMessage(result.get()), openFailure(pathUtf8(dir.path("absent.idl")), ENOENT));
}

TEST(DriverTest, ConcurrentCallsEachGetTheirOwnResult) {
    ScratchDir dir;
    const std::string valid = pathUtf8(dir.write("valid.idl", kValidLibrary));
    std::vector<std::thread> threads;
    std::vector<std::string> messages(8);
    for (size_t t = 0; t < messages.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                HostStringArray names;
                const std::string name = t % 2 ? pathUtf8(dir.path("none" + std::to_string(t))) : valid;
                names.addUtf8(name);
                ResultRef result = parse(names);
                const std::string expected = t % 2 ? openFailure(name, ENOENT) : "";
                if (errorMessage(result.get()) != expected) messages[t] = errorMessage(result.get());
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (const std::string& message : messages) EXPECT_EQ(message, "");
}

TEST(DriverTest, StringGetterRaisesLumoraErrorIntoTheHost) {
    HostStringArray names;
    ResultRef result = parse(names);
    try {
        ILumoIDLParseResult_getErrorMessage(result.get(), nullptr);
        FAIL() << "no exception";
    } catch (const ZEMRA::lumora_error& e) {
        EXPECT_EQ(e.code(), LUMO_NULL_POINTER);
        EXPECT_STREQ(e.what(), "Result code 103");
    }
    lumoidl::test::RecordingString failing;
    failing.setResult = 42;
    try {
        ILumoIDLParseResult_getErrorMessage(result.get(), &failing);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Result code 42");
    }
}

TEST(DriverTest, ResultOutlivesExtraReferences) {
    HostStringArray names;
    ILumoIDLParseResult* result = LumoIDLParse(names.record());
    ILumoIDLParseResult_addReference(result);
    ILumoIDLParseResult_release(result);
    EXPECT_EQ(errorMessage(result), "No input files specified");
    ILumoIDLParseResult_release(result);
}

}  // namespace
