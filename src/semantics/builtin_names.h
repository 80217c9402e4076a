// The names of the built-in types and their kinds, shared by type resolution and the tool's suggestions.
#pragma once

#include <cstdint>
#include <string_view>

#include "lumoidl/lumoidl.h"

namespace ZEMRA::IDL::PARSER {

/// A built-in type: its name as written in IDL and its kind.
struct BuiltinName {
    std::string_view name;  ///< the type's name
    uint32_t kind;          ///< the kind type resolution gives it
};

/// Every built-in type.
inline constexpr BuiltinName kBuiltinNames[] = {
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

}  // namespace ZEMRA::IDL::PARSER
