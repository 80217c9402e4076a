// Outlines kept per document version, and type names resolved to their declarations.
#include "tools/lsp/symbol_index.h"

#include <algorithm>

namespace lumoidl::lsp {
namespace {

using namespace diagnostics;

bool covers(const Span& span, size_t offset) {
    return span.line != 0 && offset >= span.offset && offset <= size_t{span.offset} + span.length;
}

/// The type reference within `type` (its arguments included) whose name covers `offset`.
const TypeRef* typeAt(const TypeRef& type, size_t offset) {
    if (covers(type.name.span, offset)) return &type;
    for (const TypeRef& argument : type.arguments)
        if (const TypeRef* found = typeAt(argument, offset)) return found;
    return nullptr;
}

bool isParameter(const Interface& interface, std::string_view name) {
    return std::any_of(interface.templateParameters.begin(), interface.templateParameters.end(),
                       [&](const Word& parameter) { return parameter.text == name; });
}

}  // namespace

void SymbolIndex::update(const std::vector<Document>& documents) {
    std::vector<Entry> next;
    for (const Document& document : documents) {
        const auto known = std::find_if(entries_.begin(), entries_.end(),
                                        [&](const Entry& entry) { return entry.uri == document.uri; });
        if (known != entries_.end() && known->version == document.version) {
            next.push_back({&document, document.uri, document.version, known->outline});
        } else {
            next.push_back({&document, document.uri, document.version, std::make_shared<const SourceOutline>(outlineSource(document.text))});
        }
    }
    entries_ = std::move(next);
}

std::vector<std::shared_ptr<const SourceOutline>> SymbolIndex::outlines() const {
    std::vector<std::shared_ptr<const SourceOutline>> out;
    for (const Entry& entry : entries_) out.push_back(entry.outline);
    return out;
}

std::vector<Declaration> SymbolIndex::declarations() const {
    std::vector<Declaration> out;
    for (const Entry& entry : entries_) {
        for (const Interface& declared : entry.outline->interfaces)
            out.push_back({entry.document, entry.outline.get(), &declared, nullptr});
        for (const Enumeration& declared : entry.outline->enumerations)
            out.push_back({entry.document, entry.outline.get(), nullptr, &declared});
    }
    return out;
}

const SourceOutline* SymbolIndex::outline(const std::string& uri) const {
    for (const Entry& entry : entries_)
        if (entry.uri == uri) return entry.outline.get();
    return nullptr;
}

std::optional<Declaration> SymbolIndex::resolve(std::string_view name, std::string_view library) const {
    const size_t colons = name.rfind("::");
    if (colons != std::string_view::npos) {
        library = name.substr(0, colons);
        name = name.substr(colons + 2);
    }
    for (const Entry& entry : entries_) {
        const SourceOutline& outline = *entry.outline;
        if (outline.libraryName.text != library) continue;
        for (const Interface& declared : outline.interfaces)
            if (declared.name.text == name) return Declaration{entry.document, &outline, &declared, nullptr};
        for (const Enumeration& declared : outline.enumerations)
            if (declared.name.text == name) return Declaration{entry.document, &outline, nullptr, &declared};
    }
    return std::nullopt;
}

std::optional<Declaration> SymbolIndex::declarationAt(const std::string& uri, size_t offset) const {
    const auto entry = std::find_if(entries_.begin(), entries_.end(),
                                    [&](const Entry& e) { return e.uri == uri; });
    if (entry == entries_.end()) return std::nullopt;
    const SourceOutline& outline = *entry->outline;
    for (const Enumeration& declared : outline.enumerations)
        if (covers(declared.name.span, offset)) return Declaration{entry->document, &outline, nullptr, &declared};
    for (const Interface& declared : outline.interfaces) {
        if (covers(declared.name.span, offset)) return Declaration{entry->document, &outline, &declared, nullptr};
        if (!covers(declared.extent, offset)) continue;
        for (const Method& method : declared.methods) {
            const TypeRef* type = typeAt(method.returnType, offset);
            for (size_t i = 0; !type && i < method.arguments.size(); ++i) type = typeAt(method.arguments[i].type, offset);
            if (!type) continue;
            if (isParameter(declared, type->name.text)) return std::nullopt;
            return resolve(type->name.text, outline.libraryName.text);
        }
    }
    return std::nullopt;
}

}  // namespace lumoidl::lsp
