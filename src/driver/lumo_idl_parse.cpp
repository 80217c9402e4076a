// LumoIDLParse: the library's only exported function.
#include "driver/driver.h"
#include "platform/process_lock.h"

using ZEMRA::IDL::PARSER::ParserResult;

LUMO_EXTERN_C LUMO_API ILumoIDLParseResult* LumoIDLParse(ILumoStringArray* fileNames) {
    lumoidl::platform::ProcessLockGuard lock;
    ParserResult* result = nullptr;
    try {
        result = new ParserResult();
    } catch (...) {
        // Without memory for the result there is nothing to report into.
        return nullptr;
    }
    result->addReference();
    ZEMRA::IDL::PARSER::runParse(fileNames, *result);
    return result;
}
