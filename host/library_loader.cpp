// LoadedLibrary on Windows (LoadLibraryW, GetProcAddress) and elsewhere (dlopen, dlsym).
#include "host/library_loader.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace lumoidl::host {
namespace {

void* findSymbol(void* handle, const char* name) {
    if (!handle) return nullptr;
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
    return dlsym(handle, name);
#endif
}

}  // namespace

LoadedLibrary::LoadedLibrary(const std::filesystem::path& path) {
#if defined(_WIN32)
    handle_ = LoadLibraryW(path.c_str());
#else
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    entry_ = reinterpret_cast<ParseEntry>(findSymbol(handle_, "LumoIDLParse"));
}

LoadedLibrary::~LoadedLibrary() {
    if (!handle_) return;
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

}  // namespace lumoidl::host
