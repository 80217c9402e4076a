// Common texts: names that sources repeat, kept once for the process instead of once per token.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "semantics/builtin_names.h"
#include "tree/name_hash.h"

namespace ZEMRA::IDL::PARSER {
namespace common_texts {

/// The attribute names that the rules know.
inline constexpr std::string_view kAttributeNames[] = {
    "in", "out", "retval", "uuid", "version", "idlversion", "long_name", "property_get", "property_set",
};

/// Number of common texts.
inline constexpr size_t kCount = std::size(kBuiltinNames) + std::size(kAttributeNames);
/// Room for the longest common text.
inline constexpr size_t kLongest = 23;
/// The end of a chain.
inline constexpr uint8_t kNone = 0xFF;

/// One text as a NodeString stores it: the size in four bytes, then the bytes and a zero.
struct alignas(8) StoredText {
    char size[4];             ///< the size, least significant byte first
    char bytes[kLongest + 1];  ///< the bytes, then zeros
};

/// The texts, chained by length: `first[n]` is the first text of n bytes, `next[i]` the one
/// after text i of the same length; `lengths[b]` has bit n set when a text of n bytes starts
/// with byte b, which rules out most other texts at once.
struct Table {
    std::array<StoredText, kCount> texts{};       ///< built-in type names, then attribute names
    std::array<uint8_t, kLongest + 1> first{};    ///< first text of each length
    std::array<uint8_t, kCount> next{};           ///< next text of the same length
    std::array<uint32_t, 256> lengths{};          ///< lengths of the texts by first byte
};

/// Builds the table at compile time.
constexpr Table makeTable() {
    static_assert(std::endian::native == std::endian::little, "the stored size is written byte by byte");
    Table table;
    table.first.fill(kNone);
    std::array<std::string_view, kCount> names{};
    size_t count = 0;
    for (const BuiltinName& builtin : kBuiltinNames) names[count++] = builtin.name;
    for (std::string_view name : kAttributeNames) names[count++] = name;
    for (size_t i = kCount; i-- > 0;) {
        const std::string_view name = names[i];
        StoredText& text = table.texts[i];
        for (size_t b = 0; b < 4; ++b) text.size[b] = static_cast<char>((name.size() >> (8 * b)) & 0xFF);
        for (size_t b = 0; b < name.size(); ++b) text.bytes[b] = name[b];
        table.next[i] = table.first[name.size()];
        table.first[name.size()] = static_cast<uint8_t>(i);
        table.lengths[static_cast<unsigned char>(name[0])] |= uint32_t{1} << name.size();
    }
    return table;
}

/// The table itself.
inline constexpr Table kTable = makeTable();

}  // namespace common_texts

/// The kind of the built-in type whose name has its bytes at `data` when those bytes are the
/// static copy that commonText hands out; 0 for any other address, even of the same name.
inline uint32_t commonBuiltinKind(const char* data) {
    using namespace common_texts;
    const auto address = reinterpret_cast<uintptr_t>(data);
    const auto first = reinterpret_cast<uintptr_t>(kTable.texts[0].bytes);
    if (address < first) return 0;
    const uintptr_t index = (address - first) / sizeof(StoredText);
    if (index >= std::size(kBuiltinNames) || kTable.texts[index].bytes != data) return 0;
    return kBuiltinNames[index].kind;
}

/// The stored form (the data() of a NodeString) of `text` when it is one of the names that
/// sources write over and over: the built-in type names and the attribute names the rules
/// know. The copy is static, so a token text made from it costs no arena memory and outlives
/// every library. Null for any other text.
inline const char* commonText(std::string_view text) {
    using namespace common_texts;
    if (text.empty() || text.size() > kLongest) return nullptr;
    if (((kTable.lengths[static_cast<unsigned char>(text[0])] >> text.size()) & 1) == 0) return nullptr;
    for (uint8_t i = kTable.first[text.size()]; i != kNone; i = kTable.next[i])
        if (sameBytes(kTable.texts[i].bytes, text.data(), text.size())) return kTable.texts[i].bytes;
    return nullptr;
}

}  // namespace ZEMRA::IDL::PARSER
