// Built-in type look-up, and the fixed identity of the error interface.
#pragma once

#include <cstdint>
#include <string_view>

#include "lumoidl/lumoidl.h"

namespace ZEMRA::IDL::PARSER {

/// Kind of the built-in type named exactly `name`, or 0 when no built-in type has that name.
uint32_t builtinKind(std::string_view name);

/// Qualified name under which a signature may use the architecture's error interface.
inline constexpr std::string_view kErrorInterfaceName = "ZEMRA::ILumoError";

/// The fixed uuid of the error interface, 855063FA-5C39-45DA-9B3D-0B3D4B72660C.
inline constexpr LumoUUID kErrorInterfaceUuid = {
    {0x85, 0x50, 0x63, 0xFA, 0x5C, 0x39, 0x45, 0xDA, 0x9B, 0x3D, 0x0B, 0x3D, 0x4B, 0x72, 0x66, 0x0C}};

/// The uuid of the core library, the only one that may declare an enumeration named
/// LumoEnumeration: 4A5E2E81-C093-11D4-9F1B-0010A4D198C2.
inline constexpr LumoUUID kCoreLibraryUuid = {
    {0x4A, 0x5E, 0x2E, 0x81, 0xC0, 0x93, 0x11, 0xD4, 0x9F, 0x1B, 0x00, 0x10, 0xA4, 0xD1, 0x98, 0xC2}};

}  // namespace ZEMRA::IDL::PARSER
