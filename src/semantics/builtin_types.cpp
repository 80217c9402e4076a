// Look-up of built-in type names in the table of common texts.
#include "semantics/builtin_types.h"

#include "frontend/common_texts.h"

namespace ZEMRA::IDL::PARSER {

uint32_t builtinKind(std::string_view name) {
    // The lexer hands out one static copy of each built-in name, so most are known by address;
    // any other copy is looked up among the common texts, which hold the built-in names.
    if (const uint32_t kind = commonBuiltinKind(name.data()); kind != 0) return kind;
    const char* common = commonText(name);
    return common ? commonBuiltinKind(common) : 0;
}

}  // namespace ZEMRA::IDL::PARSER
