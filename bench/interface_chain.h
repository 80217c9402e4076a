// IDL text of a chain of interfaces, each declared before the interface it uses.
#pragma once

#include <cstdio>
#include <string>

namespace lumoidl::bench {

/// The name of interface `k` of the chain.
inline std::string chainInterfaceName(int k) {
    std::string name(1, 'I');
    name += std::to_string(k);
    return name;
}

/// One library, Chain, declaring the interfaces I0 ... I(count-1) in that order. Every Ik but
/// the last has a method taking an I(k+1), so dependency order is the exact reverse of
/// declaration order.
inline std::string interfaceChainSource(int count) {
    std::string text = "[uuid(C4A10000-0000-4B2D-9E3F-111111111111)]\nlibrary Chain {\n";
    text.reserve(static_cast<size_t>(count) * 110 + 100);
    char uuid[40];
    for (int k = 0; k < count; ++k) {
        std::snprintf(uuid, sizeof uuid, "%08X-C4A1-4B2D-9E3F-222222222222", static_cast<unsigned>(k));
        text += "[uuid(";
        text += uuid;
        text += ")] interface " + chainInterfaceName(k) + " {";
        if (k + 1 < count) text += " LUMORESULT use([in] " + chainInterfaceName(k + 1) + " next);";
        text += " };\n";
    }
    text += "};\n";
    return text;
}

}  // namespace lumoidl::bench
