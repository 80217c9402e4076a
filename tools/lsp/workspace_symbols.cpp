// A case-blind substring match over each document's outline.
#include "tools/lsp/workspace_symbols.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "tools/lsp/line_index.h"

namespace lumoidl::lsp {
namespace {

using nlohmann::json;
using namespace diagnostics;

/// Client symbol kinds.
enum SymbolKind { kMethod = 6, kEnum = 10, kInterface = 11, kConstant = 14 };

bool holds(std::string_view name, std::string_view query) {
    return std::search(name.begin(), name.end(), query.begin(), query.end(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           }) != name.end();
}

}  // namespace

json workspaceSymbols(const SymbolIndex& symbols, std::string_view query, size_t limit) {
    json out = json::array();
    for (const SymbolIndex::Entry& entry : symbols.entries()) {
        std::optional<LineIndex> lines;  // made for the first match in the document
        const std::string& library = entry.outline->libraryName.text;
        const auto add = [&](const Word& name, int kind, const std::string& container) {
            if (out.size() >= limit || !holds(name.text, query)) return;
            if (!lines) lines.emplace(entry.document->text);
            const Position from = lines->position(name.span.offset),
                           to = lines->position(size_t{name.span.offset} + name.span.length);
            out.push_back({{"name", name.text}, {"kind", kind}, {"containerName", container},
                           {"location", {{"uri", entry.uri}, {"range", {{"start", {{"line", from.line}, {"character", from.character}}},
                                                                      {"end", {{"line", to.line}, {"character", to.character}}}}}}}});
        };
        for (const Interface& interface : entry.outline->interfaces) {
            add(interface.name, kInterface, library);
            for (const Method& method : interface.methods) add(method.name, kMethod, library + "::" + interface.name.text);
        }
        for (const Enumeration& enumeration : entry.outline->enumerations) add(enumeration.name, kEnum, library);
        for (const CategoryId& category : entry.outline->categoryIds) add(category.name, kConstant, library);
    }
    return out;
}

}  // namespace lumoidl::lsp
