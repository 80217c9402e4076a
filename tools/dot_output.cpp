// The interface dependency graph in Graphviz's DOT language.
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "tools/output.h"

namespace lumoidl::tool {
namespace {

/// A DOT string literal.
std::string quote(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

/// Adds the declared interfaces that `type` and its template arguments name.
void collectUses(const host::TypeInfo& type, const std::unordered_set<std::string>& interfaces,
                 std::set<std::string>& uses) {
    if (type.kind == LUMO_KIND_OBJECT && interfaces.count(type.name)) uses.insert(type.name);
    for (const host::TypeInfo& argument : type.templateArguments) collectUses(argument, interfaces, uses);
}

}  // namespace

void writeDot(const host::ResultSnapshot& snapshot, std::ostream& out) {
    std::unordered_set<std::string> interfaces;
    for (const host::LibraryInfo& library : snapshot.libraries)
        for (const host::InterfaceInfo& iface : library.interfaces) interfaces.insert(iface.qualifiedName);

    out << "digraph interfaces {\n  rankdir=BT;\n  node [shape=box];\n";
    for (size_t k = 0; k < snapshot.libraries.size(); ++k) {
        const host::LibraryInfo& library = snapshot.libraries[k];
        out << "  subgraph cluster_" << k << " {\n    label=" << quote(library.name) << ";\n";
        for (const host::InterfaceInfo& iface : library.interfaces)
            out << "    " << quote(iface.qualifiedName) << " [label=" << quote(iface.name) << "];\n";
        out << "  }\n";
    }
    for (const host::LibraryInfo& library : snapshot.libraries) {
        for (const host::InterfaceInfo& iface : library.interfaces) {
            std::set<std::string> uses;
            for (const host::MethodInfo& method : iface.methods) {
                collectUses(method.returnType, interfaces, uses);
                for (const host::ArgumentInfo& argument : method.arguments) collectUses(argument.type, interfaces, uses);
            }
            for (const std::string& used : uses) out << "  " << quote(iface.qualifiedName) << " -> " << quote(used) << ";\n";
        }
    }
    out << "}\n";
}

}  // namespace lumoidl::tool
