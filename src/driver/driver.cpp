// The file loop of LumoIDLParse and the capture of every failure into the error text.
#include "driver/driver.h"

#include <exception>

#include "driver/parse_context.h"
#include "platform/input_file.h"
#include "result/error_message.h"

namespace ZEMRA::IDL::PARSER {
namespace {

const LumoChar kEmptyName[] = {0};

/// The zero-terminated name of one element; a null element or text is the empty name.
const LumoChar* fileNameOf(ILumoString* element) {
    if (!element) return kEmptyName;
    const LumoChar* data = nullptr;
    uint32_t length = 0;
    element->vTbl->get(element->me, &data, &length);
    return data ? data : kEmptyName;
}

/// Opens `name` into the context; on failure reports it and returns false.
bool openSource(ParseContext& context, const LumoChar* name, ParserResult& result) {
    context.line = 1;
    context.pos = 0;
    const int error = context.file.open(name);
    if (error == 0) return true;
    ErrorMessage(result.errorText)
        .set(LUMO_TEXT("Failed to open \""))
        .text(name)
        .text(LUMO_TEXT("\" for reading: "))
        .utf8(lumoidl::platform::systemErrorText(error));
    return false;
}

/// Runs one file through the front end and the per-file checks.
void processFile(ParseContext& context, const LumoChar* name, ParserResult& result) {
    if (!openSource(context, name, result)) return;
    context.file.close();
}

}  // namespace

void runParse(ILumoStringArray* fileNames, ParserResult& result) {
    try {
        ILumoString* const* elements = nullptr;
        uint32_t count = 0;
        // A null list is taken as an empty one rather than crashing the host.
        if (fileNames) fileNames->vTbl->get(fileNames->me, &elements, &count);
        ParseContext context;
        CurrentContextScope current(&context);
        if (count == 0 || !elements) {
            ErrorMessage(result.errorText).set(LUMO_TEXT("No input files specified"));
            return;
        }
        for (uint32_t i = 0; i < count && result.errorEmpty(); ++i)
            processFile(context, fileNameOf(elements[i]), result);
    } catch (const std::exception& e) {
        ErrorMessage(result.errorText).text(LUMO_TEXT("Unhandled parser exception: ")).utf8(e.what());
    } catch (...) {
        ErrorMessage(result.errorText).text(LUMO_TEXT("Unhandled parser exception"));
    }
}

}  // namespace ZEMRA::IDL::PARSER
