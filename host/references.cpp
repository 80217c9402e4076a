// parseFiles and errorMessage of the host kit.
#include "host/references.h"

#include "host/host_string_array.h"

namespace lumoidl::host {

ResultRef parseFiles(const std::vector<std::string>& files) {
    HostStringArray names;
    for (const std::string& file : files) names.addUtf8(file);
    return ResultRef(LumoIDLParse(names.record()));
}

std::string errorMessage(ILumoIDLParseResult* result) {
    return readText([result](ILumoString* text) { ILumoIDLParseResult_getErrorMessage(result, text); });
}

}  // namespace lumoidl::host
