// Test doubles of host objects: strings whose set can fail, error chains, scratch files.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "lumoidl/lumoidl.h"

namespace lumoidl::test {

/// Converts ASCII or UTF-8 test text to the boundary's UTF-16.
ZEMRA::LumoText text(std::string_view utf8);
/// Converts boundary text to UTF-8 for readable assertions.
std::string utf8(const ZEMRA::LumoText& text);

/// An ILumoString that records every call and can be told to fail its set.
struct RecordingString : ILumoString {
    RecordingString();
    /// Content after the last successful set.
    ZEMRA::LumoText content;
    /// What set returns; content is not changed when it is not LUMO_OK.
    LUMORESULT setResult = LUMO_OK;
    /// Number of set calls.
    int setCalls = 0;
};

/// One error of a fake ILumoError chain; each query's answer is configurable.
struct FakeError : ILumoError {
    FakeError();
    /// Texts written by the queries; a query with `write...` false writes nothing.
    ZEMRA::LumoText errorText, scope, source;
    bool writeErrorText = true, writeScope = true, writeSource = true;
    /// Results of the queries.
    LUMORESULT errorTextResult = LUMO_OK, scopeResult = LUMO_OK, sourceResult = LUMO_OK,
               causeResult = LUMO_OK;
    /// The cause handed out by getCause (with one added reference), or null.
    FakeError* cause = nullptr;
    /// Current reference count, as changed by addReference, release and getCause.
    int references = 1;
    /// Number of getScope and getSource calls.
    int scopeCalls = 0, sourceCalls = 0;
};

/// A host object whose getLastError (slot 3) hands out `error` with one added reference.
struct FailedObject {
    FailedObject();
    /// The interface record passed to lumora_error.
    LumoInterface record;
    /// The error handed out.
    FakeError* error = nullptr;
    /// Number of getLastError calls.
    int calls = 0;
};

/// A scratch directory removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir();
    /// Writes `content` to the file `name` (UTF-8) in the directory; returns its full path.
    std::filesystem::path write(std::string_view name, std::string_view content) const;
    /// The path of `name` in the directory, whether or not it exists.
    std::filesystem::path path(std::string_view name) const;

private:
    std::filesystem::path dir_;
};

/// The UTF-8 form of a path.
std::string pathUtf8(const std::filesystem::path& path);

/// The UTF-16 form of a path, as a host passes file names.
ZEMRA::LumoText pathText(const std::filesystem::path& path);

}  // namespace lumoidl::test
