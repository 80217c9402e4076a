// Document symbols from a source outline.
#include "tools/lsp/document_symbols.h"

namespace lumoidl::lsp {
namespace {

using nlohmann::json;
using namespace diagnostics;

/// Symbol kinds of the protocol.
enum SymbolKind { kNamespace = 3, kMethod = 6, kEnum = 10, kInterface = 11, kConstant = 14, kEnumMember = 22 };

json rangeOf(const Span& span, const LineIndex& lines) {
    const Position start = lines.position(span.offset), end = lines.position(size_t{span.offset} + span.length);
    return {{"start", {{"line", start.line}, {"character", start.character}}},
            {"end", {{"line", end.line}, {"character", end.character}}}};
}

/// A symbol named `name` spanning `extent`, with `children`.
json symbol(const Word& name, SymbolKind kind, const Span& extent, const LineIndex& lines, json children = json::array()) {
    return {{"name", name.text},
            {"kind", kind},
            {"range", rangeOf(extent.line ? extent : name.span, lines)},
            {"selectionRange", rangeOf(name.span, lines)},
            {"children", std::move(children)}};
}

}  // namespace

json documentSymbols(const SourceOutline& outline, const LineIndex& lines) {
    if (outline.libraryName.text.empty()) return json::array();
    json members = json::array();
    for (const Interface& declared : outline.interfaces) {
        json methods = json::array();
        for (const Method& method : declared.methods) methods.push_back(symbol(method.name, kMethod, method.extent, lines));
        members.push_back(symbol(declared.name, kInterface, declared.extent, lines, std::move(methods)));
    }
    for (const Enumeration& declared : outline.enumerations) {
        json items = json::array();
        for (const EnumItem& item : declared.items) {
            const Span extent{item.name.span.offset, item.value.span.offset + item.value.span.length - item.name.span.offset,
                              item.name.span.line, item.name.span.column};
            items.push_back(symbol(item.name, kEnumMember, extent, lines));
        }
        members.push_back(symbol(declared.name, kEnum, declared.extent, lines, std::move(items)));
    }
    for (const CategoryId& declared : outline.categoryIds)
        members.push_back(symbol(declared.name, kConstant, declared.extent, lines));
    const Span whole{0, static_cast<uint32_t>(lines.endOffset()), 1, 1};
    return json::array({symbol(outline.libraryName, kNamespace, whole, lines, std::move(members))});
}

}  // namespace lumoidl::lsp
