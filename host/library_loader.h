// LoadedLibrary: the lumoidl library loaded at run time, as a host without link-time binding uses it.
#pragma once

#include <filesystem>

#include "lumoidl/lumoidl.h"

namespace lumoidl::host {

/// Type of the exported entry point.
using ParseEntry = ILumoIDLParseResult* (*)(ILumoStringArray* fileNames);

/// Loads the library from a path (LoadLibraryW on Windows, dlopen elsewhere) and finds
/// LumoIDLParse in it; unloads it when destroyed. Results must be released before that.
class LoadedLibrary {
public:
    /// Loads the library at `path`; loaded() tells whether that worked.
    explicit LoadedLibrary(const std::filesystem::path& path);
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    /// Unloads the library.
    ~LoadedLibrary();

    /// True when the library was loaded and exports LumoIDLParse.
    bool loaded() const { return entry_ != nullptr; }
    /// The entry point, or null when loading failed.
    ParseEntry entry() const { return entry_; }

private:
    void* handle_ = nullptr;
    ParseEntry entry_ = nullptr;
};

}  // namespace lumoidl::host
