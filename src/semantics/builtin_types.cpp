// The table of built-in type names, built once on first use.
#include "semantics/builtin_types.h"

#include <string>
#include <unordered_map>

namespace ZEMRA::IDL::PARSER {

uint32_t builtinKind(std::string_view name) {
    // A function-local table: the first use on any thread builds it once, later uses only read.
    static const std::unordered_map<std::string_view, uint32_t> table = {
        {"LUMORESULT", LUMO_KIND_LUMORESULT},
        {"LumoString", LUMO_KIND_STRING},
        {"LumoInteger", LUMO_KIND_INTEGER},
        {"LumoBoolean", LUMO_KIND_BOOLEAN},
        {"LumoReal", LUMO_KIND_REAL},
        {"LumoObject", LUMO_KIND_OBJECT},
        {"LumoArrayString", LUMO_KIND_ARRAY_STRING},
        {"LumoValue", LUMO_KIND_VALUE},
        {"LumoArrayInteger", LUMO_KIND_ARRAY_INTEGER},
        {"LumoArrayBoolean", LUMO_KIND_ARRAY_BOOLEAN},
        {"LumoArrayReal", LUMO_KIND_ARRAY_REAL},
        {"LumoArrayEnumeration", LUMO_KIND_ARRAY_ENUMERATION},
        {"LumoEnumeration", LUMO_KIND_ENUMERATION},
        {"LumoArrayValue", LUMO_KIND_ARRAY_VALUE},
        {"LumoArrayByte", LUMO_KIND_ARRAY_BYTE},
        {"LumoUUID", LUMO_KIND_UUID},
        {"LumoWindowId", LUMO_KIND_WINDOW_ID},
    };
    // Every built-in name starts with "L" and is 8 to 20 bytes long: most other names need no
    // hashing at all.
    if (name.size() < 8 || name.size() > 20 || name[0] != 'L') return 0;
    const auto found = table.find(name);
    return found == table.end() ? 0 : found->second;
}

}  // namespace ZEMRA::IDL::PARSER
