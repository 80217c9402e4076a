// The table of built-in type names, built once on first use.
#include "semantics/builtin_types.h"

#include <unordered_map>

#include "semantics/builtin_names.h"

namespace ZEMRA::IDL::PARSER {

uint32_t builtinKind(std::string_view name) {
    // A function-local table: the first use on any thread builds it once, later uses only read.
    static const std::unordered_map<std::string_view, uint32_t> table = [] {
        std::unordered_map<std::string_view, uint32_t> names;
        for (const BuiltinName& builtin : kBuiltinNames) names.emplace(builtin.name, builtin.kind);
        return names;
    }();
    // Every built-in name starts with "L" and is 8 to 20 bytes long: most other names need no
    // hashing at all.
    if (name.size() < 8 || name.size() > 20 || name[0] != 'L') return 0;
    const auto found = table.find(name);
    return found == table.end() ? 0 : found->second;
}

}  // namespace ZEMRA::IDL::PARSER
