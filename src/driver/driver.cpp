// The file loop of LumoIDLParse and the capture of every failure into the error text.
#include "driver/driver.h"

#include <exception>

#include "driver/parse_context.h"
#include "frontend/parser.h"
#include "platform/input_file.h"
#include "result/error_message.h"
#include "semantics/semantics.h"
#include "tree/node_arena.h"
#include "tree/orphan_registry.h"

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
    context.identifiers.clear();
    const int error = context.file.open(name);
    if (error == 0) return true;
    ErrorMessage(result.errorText)
        .set(LUMO_TEXT("Failed to open \""))
        .text(name)
        .text(LUMO_TEXT("\" for reading: "))
        .utf8(lumoidl::platform::systemErrorText(error));
    return false;
}

/// Parses the open file into the context's library; on failure reports it and returns false.
/// The file is closed and every registry purged whatever the outcome.
bool parseSource(ParseContext& context, const LumoChar* name, ParserResult& result) {
    const bool parsed = parse() == 0;
    context.file.close();
    purgeAll();
    if (parsed) return true;
    if (context.errorText.empty()) context.errorText = "Unknown parser error";
    ErrorMessage(result.errorText)
        .set(LUMO_TEXT("Parse error in \""))
        .text(name)
        .text(LUMO_TEXT("\": "))
        .utf8(context.errorText);
    return false;
}

/// Moves the context's library into the result, which takes one reference on it.
void handOver(ParseContext& context, ParserResult& result) {
    ParserLibrary* library = context.library.get();
    result.libraries.reserve(result.libraries.size() + 1);
    library->addReference();
    result.appendLibrary(library);
    context.library.release();
}

/// Runs one file through the front end and the per-file checks. A library whose own checks
/// failed stays in the context, which destroys it.
void processFile(ParseContext& context, const LumoChar* name, ParserResult& result) {
    if (!openSource(context, name, result)) return;
    if (!parseSource(context, name, result)) return;
    {
        // What the checks write into nodes belongs to the library, as its nodes do.
        const NodeArenaScope nodes(context.library->nodeArena);
        if (!checkFile(*context.library, name, result)) return;
    }
    handOver(context, result);
}

/// Appends the catch-all's line for an exception: "Unhandled parser exception", then ": " and
/// the exception's text when it has one. Whatever the interrupted parse left registered is
/// destroyed now rather than at the next call.
void reportException(ParserResult& result, const char* what) {
    purgeAll();
    try {
        ErrorMessage message(result.errorText);
        message.utf8("Unhandled parser exception");
        if (what) message.utf8(": ").utf8(what);
    } catch (...) {
        // Out of memory even for the message: the line replaces the text, written unit by
        // unit into the room the result reserved, which needs no allocation.
        LumoText& text = result.errorText.text;
        text.clear();
        const auto appendWithinRoom = [&text](std::string_view piece) {
            for (char c : piece)
                if (text.size() < text.capacity()) text.push_back(static_cast<LumoChar>(static_cast<unsigned char>(c)));
        };
        appendWithinRoom("Unhandled parser exception");
        if (what) {
            appendWithinRoom(": ");
            appendWithinRoom(what);
        }
    }
}

/// Purges every registry when it goes out of scope.
struct PurgeAtExit {
    ~PurgeAtExit() { purgeAll(); }
};

}  // namespace

void runParse(ILumoStringArray* fileNames, ParserResult& result) {
    try {
        ILumoString* const* elements = nullptr;
        uint32_t count = 0;
        // A null list is taken as an empty one rather than crashing the host.
        if (fileNames) fileNames->vTbl->get(fileNames->me, &elements, &count);
        ParseContext context;
        // Whatever is still registered when the call ends, also by an exception, is destroyed
        // while the arena holding it is alive.
        const PurgeAtExit purge;
        const NodeArenaScope nodes(context.nodeArena);
        CurrentContextScope current(&context);
        if (count == 0 || !elements) {
            ErrorMessage(result.errorText).set(LUMO_TEXT("No input files specified"));
            return;
        }
        for (uint32_t i = 0; i < count && result.errorEmpty(); ++i)
            processFile(context, fileNameOf(elements[i]), result);
        if (result.errorEmpty()) registerLibraries(result);
        if (result.errorEmpty()) resolveTypes(result);
    } catch (const std::exception& e) {
        reportException(result, e.what());
    } catch (...) {
        reportException(result, nullptr);
    }
}

}  // namespace ZEMRA::IDL::PARSER
