// Look-up of built-in type names in their constant table.
#include "semantics/builtin_types.h"

#include "semantics/builtin_names.h"

namespace ZEMRA::IDL::PARSER {

uint32_t builtinKind(std::string_view name) {
    // Every built-in name starts with "L" and is 8 to 20 bytes long, so most other names are
    // rejected at once; the rest are compared with the seventeen names, length first.
    if (name.size() < 8 || name.size() > 20 || name[0] != 'L') return 0;
    for (const BuiltinName& builtin : kBuiltinNames)
        if (builtin.name.size() == name.size() && builtin.name == name) return builtin.kind;
    return 0;
}

}  // namespace ZEMRA::IDL::PARSER
