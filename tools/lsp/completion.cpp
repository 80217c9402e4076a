// Completion: the place of the cursor read with the library's lexing rules, then the items there.
#include "tools/lsp/completion.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "semantics/builtin_names.h"
#include "tools/diagnostics/source_scanner.h"

namespace lumoidl::lsp {
namespace {

using nlohmann::json;
using diagnostics::SourceScanner;
using diagnostics::Token;
using diagnostics::TokenKind;

/// Client completion item kinds.
enum ItemKind { kProperty = 10, kValue = 12, kKeyword = 14, kEnum = 13, kInterface = 8, kTypeParameter = 25 };

/// Where the cursor stands, as far as the completions care.
struct Place {
    std::vector<bool> braces;                   ///< per open '{' before the cursor: whether it opened an interface
    int parentheses = 0;                        ///< open '(' before the cursor, attribute values aside
    bool inAttributes = false;                  ///< inside '[' ... ']'
    bool inValue = false;                       ///< inside an attribute's '(' ... ')'
    std::string attribute;                      ///< the last attribute name seen in the list
    std::string library;                        ///< the library's name
    std::vector<std::string> templateParameters;  ///< of the last interface begun

    /// True inside an interface's braces.
    bool inInterface() const { return !braces.empty() && braces.back(); }
};

/// Reads the tokens that begin before `offset`.
Place placeOf(std::string_view text, size_t offset) {
    Place place;
    SourceScanner scanner(text);
    TokenKind previous = TokenKind::kEnd;
    bool inParameters = false;
    bool interfaceBegun = false;  // an interface keyword since the last '{'
    for (Token token = scanner.next(); token.kind != TokenKind::kEnd && token.span.offset < offset; token = scanner.next()) {
        if (token.kind == TokenKind::kIdentifier) {
            if (previous == TokenKind::kLibrary) place.library = std::string(token.text);
            if (inParameters) place.templateParameters.emplace_back(token.text);
            if (place.inAttributes && !place.inValue) place.attribute = std::string(token.text);
        } else if (token.kind == TokenKind::kInterface) {
            place.templateParameters.clear();
            interfaceBegun = true;
        } else if (token.kind == TokenKind::kSymbol) {
            switch (token.symbol) {
            case '{':
                place.braces.push_back(interfaceBegun);
                inParameters = interfaceBegun = false;
                break;
            case '}':
                if (!place.braces.empty()) place.braces.pop_back();
                break;
            case '[': place.inAttributes = true; place.attribute.clear(); break;
            case ']': place.inAttributes = place.inValue = false; break;
            case '(':
                if (place.inAttributes) place.inValue = true;
                else ++place.parentheses;
                break;
            case ')':
                if (place.inAttributes) place.inValue = false;
                else --place.parentheses;
                break;
            case '<': inParameters = interfaceBegun && place.parentheses == 0; break;
            case '>': inParameters = false; break;
            default: break;
            }
        }
        previous = token.kind;
    }
    return place;
}

/// A fresh random uuid in upper case.
std::string freshUuid() {
    static std::mt19937_64 random{std::random_device{}()};
    const uint64_t high = (random() & ~uint64_t{0xF000}) | 0x4000;  // version 4
    const uint64_t low = (random() & ~(uint64_t{3} << 62)) | (uint64_t{2} << 62);  // variant 1
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%012llX", static_cast<unsigned>(high >> 32),
                  static_cast<unsigned>((high >> 16) & 0xFFFF), static_cast<unsigned>(high & 0xFFFF),
                  static_cast<unsigned>(low >> 48), static_cast<unsigned long long>(low & 0xFFFFFFFFFFFFull));
    return text;
}

/// The attribute names the list at `place` may hold: of an argument, a method, a declaration
/// inside the library, or the library.
std::vector<std::string_view> attributeNames(const Place& place) {
    if (place.parentheses > 0) return {"in", "out", "retval"};
    if (place.inInterface()) return {"property_get", "property_set", "long_name"};
    if (place.braces.size() == 1) return {"uuid"};
    if (!place.braces.empty()) return {};
    return {"uuid", "version", "idlversion"};
}

/// The offset where the word that ends at `offset` begins; a word holds the bytes `takes` accepts.
template <typename Takes>
size_t wordStart(std::string_view text, size_t offset, Takes takes) {
    size_t start = offset;
    while (start > 0 && takes(text[start - 1])) --start;
    return start;
}

bool isNameByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':'; }
bool isUuidByte(char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == '-' || c == '{'; }

}  // namespace

json completionItems(const SymbolIndex& symbols, std::string_view text, size_t offset, const LineIndex& lines) {
    offset = std::min(offset, text.size());
    const Place place = placeOf(text, offset);
    const size_t start = wordStart(text, offset, place.inValue ? isUuidByte : isNameByte);
    const Position from = lines.position(start), to = lines.position(offset);
    const json range = {{"start", {{"line", from.line}, {"character", from.character}}},
                        {"end", {{"line", to.line}, {"character", to.character}}}};
    json items = json::array();
    const auto add = [&](const std::string& label, int kind, const std::string& detail) {
        items.push_back({{"label", label}, {"kind", kind}, {"detail", detail}, {"filterText", label},
                         {"textEdit", {{"range", range}, {"newText", label}}}});
    };
    if (place.inValue) {
        if (place.attribute == "uuid") add(freshUuid(), kValue, "a new uuid");
    } else if (place.inAttributes) {
        for (std::string_view name : attributeNames(place)) add(std::string(name), kProperty, "attribute");
    } else if (place.inInterface()) {
        for (const std::string& parameter : place.templateParameters) add(parameter, kTypeParameter, "template parameter");
        for (const auto& builtin : ZEMRA::IDL::PARSER::kBuiltinNames) add(std::string(builtin.name), kKeyword, "built-in type");
        for (const Declaration& declared : symbols.declarations()) {
            const bool own = declared.outline->libraryName.text == place.library;
            add(own ? declared.name().text : declared.qualifiedName(), declared.interface ? kInterface : kEnum,
                declared.qualifiedName());
        }
    }
    return items;
}

}  // namespace lumoidl::lsp
