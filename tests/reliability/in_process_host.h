// Host side of the reliability tests: file lists, owned results and readers over the tables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lumoidl/lumoidl.h"
#include "support/fake_host.h"

namespace lumoidl::test {

/// A host's file list: one RecordingString per name, handed out in order. Everything is built
/// by the constructor, so that calls of get allocate nothing.
class FileList : public ILumoStringArray {
public:
    /// The list of the UTF-8 paths `paths`, in order.
    explicit FileList(const std::vector<std::string>& paths)
        : ILumoStringArray{this, &kTable}, names_(paths.size()) {
        for (size_t k = 0; k < paths.size(); ++k) names_[k].content = text(paths[k]);
        for (RecordingString& name : names_) elements_.push_back(&name);
    }
    FileList(const FileList&) = delete;
    FileList& operator=(const FileList&) = delete;

private:
    /// Slot 0: the element pointers and their count.
    static LUMORESULT get(void* me, ILumoString* const** elements, uint32_t* count) {
        auto* self = static_cast<FileList*>(me);
        *elements = self->elements_.data();
        *count = static_cast<uint32_t>(self->elements_.size());
        return LUMO_OK;
    }
    static constexpr ILumoStringArrayVtbl kTable = {&FileList::get};

    std::vector<RecordingString> names_;
    std::vector<ILumoString*> elements_;
};

/// Releases a result through its table.
struct ReleaseResult {
    void operator()(ILumoIDLParseResult* result) const { ILumoIDLParseResult_release(result); }
};
/// Owns the one reference that LumoIDLParse hands out.
using OwnedResult = std::unique_ptr<ILumoIDLParseResult, ReleaseResult>;

/// Releases a library through its table.
struct ReleaseLibrary {
    void operator()(ILumoIDLLibrary* library) const { ILumoIDLLibrary_release(library); }
};
/// Owns one reference on a library.
using OwnedLibrary = std::unique_ptr<ILumoIDLLibrary, ReleaseLibrary>;

/// Calls LumoIDLParse on the UTF-8 paths `paths`.
inline OwnedResult parseFiles(const std::vector<std::string>& paths) {
    FileList files(paths);
    return OwnedResult(LumoIDLParse(&files));
}

/// The result's error text in UTF-8; empty on success.
inline std::string errorOf(ILumoIDLParseResult* result) {
    RecordingString receiver;
    ILumoIDLParseResult_getErrorMessage(result, &receiver);
    return utf8(receiver.content);
}

/// What getName of `record` writes, in UTF-8; any record whose table has getName.
template <class Record>
std::string nameOf(Record* record) {
    RecordingString receiver;
    record->vTbl->getName(record->me, &receiver);
    return utf8(receiver.content);
}

/// The library at `index` of `result` with a reference of its own, or null.
inline OwnedLibrary libraryAt(ILumoIDLParseResult* result, int32_t index) {
    ILumoIDLLibrary* library = nullptr;
    if (ILumoIDLParseResult_getLibrary(result, index, &library) != LUMO_OK) return nullptr;
    return OwnedLibrary(library);
}

}  // namespace lumoidl::test
