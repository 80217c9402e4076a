// LumoIDLParse: the library's only exported function.
#include "driver/driver.h"
#include "result/error_message.h"
#include "platform/process_lock.h"

using ZEMRA::IDL::PARSER::ParserResult;

namespace {

/// The result handed out when not even a new result can be allocated: made when the library
/// is loaded, it keeps one reference of its own, so the hosts' releases never destroy it.
ParserResult& outOfMemoryResult() {
    static ParserResult* const result = [] {
        auto* made = new ParserResult();
        made->addReference();
        ZEMRA::ErrorMessage(made->errorText).set("Unhandled parser exception: std::bad_alloc");
        return made;
    }();
    return *result;
}

/// Makes the out-of-memory result at load time, while memory is surely there.
[[maybe_unused]] ParserResult& gOutOfMemoryResult = outOfMemoryResult();

}  // namespace

LUMO_EXTERN_C LUMO_API ILumoIDLParseResult* LumoIDLParse(ILumoStringArray* fileNames) {
    lumoidl::platform::ProcessLockGuard lock;
    ParserResult* result = nullptr;
    try {
        result = new ParserResult();
    } catch (...) {
        ParserResult& fallback = outOfMemoryResult();
        fallback.addReference();
        return &fallback;
    }
    result->addReference();
    ZEMRA::IDL::PARSER::runParse(fileNames, *result);
    return result;
}
