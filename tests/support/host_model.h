// Helpers of host-level tests that read the result model: parsed scratch sources, names, uuids.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/references.h"
#include "support/fake_host.h"

namespace lumoidl::test {

/// IDL sources written to scratch files (source0.idl, source1.idl, ...) and parsed through
/// LumoIDLParse in that order. Owns the result's reference and the files.
class HostParse {
public:
    /// Writes and parses `sources`.
    explicit HostParse(const std::vector<std::string>& sources) {
        std::vector<std::string> files;
        for (size_t k = 0; k < sources.size(); ++k)
            files.push_back(pathUtf8(dir_.write("source" + std::to_string(k) + ".idl", sources[k])));
        result_ = host::parseFiles(files);
    }

    /// The result; borrowed, null after release().
    ILumoIDLParseResult* result() const { return result_.get(); }
    /// The error text in UTF-8; empty when every file passed.
    std::string error() const { return host::errorMessage(result_.get()); }
    /// Drops the result's reference now.
    void release() { result_.reset(); }

private:
    ScratchDir dir_;
    host::ResultRef result_;
};

/// What the getName operation of `record` writes; any record whose table has getName.
template <class Record>
std::string nameOf(Record* record) {
    return host::readText([record](ILumoString* text) { record->vTbl->getName(record->me, text); });
}

/// The names of the interfaces of `owner` (a result or a library), in list order.
template <class Owner>
std::vector<std::string> interfaceNames(Owner* owner) {
    std::vector<std::string> names;
    for (int32_t k = 0; k < owner->vTbl->getInterfaceCount(owner->me); ++k) {
        ILumoIDLInterface* item = nullptr;
        const bool found = owner->vTbl->getInterface(owner->me, k, &item) == LUMO_OK && item;
        names.push_back(found ? nameOf(item) : "<missing>");
    }
    return names;
}

/// The library at `index` of `result`, with a reference of its own; empty when there is none.
inline host::LibraryRef libraryAt(ILumoIDLParseResult* result, int32_t index) {
    ILumoIDLLibrary* library = nullptr;
    if (ILumoIDLParseResult_getLibrary(result, index, &library) != LUMO_OK) return host::LibraryRef();
    return host::LibraryRef(library);
}

/// The 16 bytes a uuid text stands for: its hexadecimal digit pairs in written order ("-",
/// "{" and "}" are skipped). Test texts are well formed.
inline LumoUUID uuidBytes(std::string_view text) {
    LumoUUID uuid{};
    size_t nibble = 0;
    for (char c : text) {
        if (c == '-' || c == '{' || c == '}') continue;
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        uuid.bytes[nibble / 2] = static_cast<uint8_t>(uuid.bytes[nibble / 2] | digit << (nibble % 2 ? 0 : 4));
        ++nibble;
    }
    return uuid;
}

}  // namespace lumoidl::test
