// The process-wide pointer to the current ParseContext.
#include "driver/parse_context.h"

namespace ZEMRA::IDL::PARSER {
namespace {

ParseContext* gCurrent = nullptr;

}  // namespace

ParseContext* currentContext() { return gCurrent; }

CurrentContextScope::CurrentContextScope(ParseContext* context) : previous_(gCurrent) {
    gCurrent = context;
}

CurrentContextScope::~CurrentContextScope() { gCurrent = previous_; }

}  // namespace ZEMRA::IDL::PARSER
