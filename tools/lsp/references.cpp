// Type references resolved one by one, only those whose plain name is the declaration's.
#include "tools/lsp/references.h"

#include <algorithm>

namespace lumoidl::lsp {
namespace {

using namespace diagnostics;

std::string_view plainPart(std::string_view name) {
    const size_t colons = name.rfind("::");
    return colons == std::string_view::npos ? name : name.substr(colons + 2);
}

/// Collects the references to one declaration.
class Collector {
public:
    Collector(const SymbolIndex& symbols, const Declaration& target) : symbols_(symbols), target_(target) {}

    void visit(const SymbolIndex::Entry& entry, const Interface& interface, const TypeRef& type) {
        if (namesTarget(entry, interface, type.name.text)) found.push_back({entry.document, type.name.span});
        for (const TypeRef& argument : type.arguments) visit(entry, interface, argument);
    }

    std::vector<DocumentSpan> found;  ///< the references so far

private:
    /// True when `name`, written in `interface` of `entry`, stands for the target.
    bool namesTarget(const SymbolIndex::Entry& entry, const Interface& interface, const std::string& name) const {
        if (plainPart(name) != target_.name().text) return false;
        const bool parameter = std::any_of(interface.templateParameters.begin(), interface.templateParameters.end(),
                                           [&](const Word& p) { return p.text == name; });
        if (parameter) return false;
        const std::optional<Declaration> resolved = symbols_.resolve(name, entry.outline->libraryName.text);
        return resolved && resolved->interface == target_.interface && resolved->enumeration == target_.enumeration;
    }

    const SymbolIndex& symbols_;
    const Declaration& target_;
};

}  // namespace

std::vector<DocumentSpan> referencesTo(const SymbolIndex& symbols, const Declaration& declaration, bool withDeclaration) {
    Collector collector(symbols, declaration);
    if (withDeclaration) collector.found.push_back({declaration.document, declaration.name().span});
    for (const SymbolIndex::Entry& entry : symbols.entries()) {
        for (const Interface& interface : entry.outline->interfaces) {
            for (const Method& method : interface.methods) {
                collector.visit(entry, interface, method.returnType);
                for (const Argument& argument : method.arguments) collector.visit(entry, interface, argument.type);
            }
        }
    }
    return std::move(collector.found);
}

}  // namespace lumoidl::lsp
