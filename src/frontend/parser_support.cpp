// What the grammar needs from the parse context: error reports, the library slot and the method rules.
#include <cstdio>

#include "driver/parse_context.h"
#include "frontend/parser.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {

void reportParseError(const char* message) {
    ParseContext* context = currentContext();
    char prefix[128];
    std::snprintf(prefix, sizeof prefix, "line %d, pos %d: ", context->line, context->pos);
    context->errorText = prefix;
    context->errorText += message;
}

ParserInterface* precheckedInterface(ParserInterface* iface) {
    currentContext()->methodRules.precheck(*iface);
    return iface;
}

ParserLibrary& newContextLibrary() {
    ParseContext* context = currentContext();
    context->library = std::make_unique<ParserLibrary>();
    return *context->library;
}

}  // namespace ZEMRA::IDL::PARSER
