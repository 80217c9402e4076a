// Look-up of built-in type names in their constant table.
#include "semantics/builtin_types.h"

#include <array>
#include <cstdint>

#include "frontend/common_texts.h"
#include "semantics/builtin_names.h"

namespace ZEMRA::IDL::PARSER {
namespace {

constexpr size_t kNameCount = std::size(kBuiltinNames);
constexpr size_t kLongest = 20;
constexpr uint8_t kNone = 0xFF;

/// The built-in names chained by length: `first[n]` is the first name of n bytes, `next[i]` the
/// one after name i of the same length.
struct ByLength {
    std::array<uint8_t, kLongest + 1> first{};
    std::array<uint8_t, kNameCount> next{};
};

constexpr ByLength makeByLength() {
    ByLength chains;
    chains.first.fill(kNone);
    for (size_t i = kNameCount; i-- > 0;) {
        const size_t length = kBuiltinNames[i].name.size();
        chains.next[i] = chains.first[length];
        chains.first[length] = static_cast<uint8_t>(i);
    }
    return chains;
}

constexpr ByLength kByLength = makeByLength();

}  // namespace

uint32_t builtinKind(std::string_view name) {
    // The lexer hands out one static copy of each built-in name: most are known by address.
    if (const uint32_t kind = commonBuiltinKind(name.data()); kind != 0) return kind;
    // Every built-in name starts with "L" and is 8 to 20 bytes long, so most other names are
    // rejected at once; the rest are compared with the one to three names of their length.
    if (name.size() < 8 || name.size() > kLongest || name[0] != 'L') return 0;
    for (uint8_t i = kByLength.first[name.size()]; i != kNone; i = kByLength.next[i])
        if (kBuiltinNames[i].name == name) return kBuiltinNames[i].kind;
    return 0;
}

}  // namespace ZEMRA::IDL::PARSER
