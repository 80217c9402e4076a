// A cycle of interface references, found by depth-first search in signature order.
#include "tools/cycles.h"

#include <map>
#include <utility>

namespace lumoidl::tool {
namespace {

/// The interfaces of a result as numbered nodes, with their references in signature order.
struct Graph {
    std::vector<const host::InterfaceInfo*> nodes;  ///< in the result's interface order
    std::vector<std::vector<size_t>> edges;         ///< per node, the nodes it refers to
};

/// Adds the references of `type` from node `from`: an object type refers to the interface
/// with its uuid and its template arguments are examined in turn; other kinds end the walk.
void addReferences(const host::TypeInfo& type, size_t from, const std::map<std::string, size_t>& byUuid,
                   Graph& graph) {
    if (type.kind != LUMO_KIND_OBJECT) return;
    const auto found = byUuid.find(type.uuid);
    if (found != byUuid.end() && found->second != from) graph.edges[from].push_back(found->second);
    for (const host::TypeInfo& argument : type.templateArguments) addReferences(argument, from, byUuid, graph);
}

Graph referenceGraph(const host::ResultSnapshot& snapshot) {
    std::map<std::string, const host::InterfaceInfo*> byName;
    for (const host::LibraryInfo& library : snapshot.libraries)
        for (const host::InterfaceInfo& iface : library.interfaces) byName.emplace(iface.qualifiedName, &iface);
    Graph graph;
    std::map<std::string, size_t> byUuid;
    for (const std::string& name : snapshot.interfaceOrder) {
        const auto found = byName.find(name);
        if (found == byName.end()) continue;
        byUuid.emplace(found->second->uuid, graph.nodes.size());
        graph.nodes.push_back(found->second);
    }
    graph.edges.resize(graph.nodes.size());
    for (size_t from = 0; from < graph.nodes.size(); ++from) {
        for (const host::MethodInfo& method : graph.nodes[from]->methods) {
            addReferences(method.returnType, from, byUuid, graph);
            for (const host::ArgumentInfo& argument : method.arguments) addReferences(argument.type, from, byUuid, graph);
        }
    }
    return graph;
}

/// The path of a depth-first search from `start` that leads back to it, or nothing.
std::vector<size_t> pathBack(const Graph& graph, size_t start) {
    std::vector<bool> seen(graph.nodes.size(), false);
    std::vector<std::pair<size_t, size_t>> stack{{start, 0}};  // node, next edge to follow
    seen[start] = true;
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next == graph.edges[node].size()) {
            stack.pop_back();
            continue;
        }
        const size_t target = graph.edges[node][next++];
        if (target == start) {
            std::vector<size_t> path;
            for (const auto& step : stack) path.push_back(step.first);
            return path;
        }
        if (seen[target]) continue;
        seen[target] = true;
        stack.emplace_back(target, 0);
    }
    return {};
}

}  // namespace

std::vector<std::string> findCycle(const host::ResultSnapshot& snapshot) {
    const Graph graph = referenceGraph(snapshot);
    for (size_t start = 0; start < graph.nodes.size(); ++start) {
        const std::vector<size_t> path = pathBack(graph, start);
        if (path.empty()) continue;
        std::vector<std::string> names;
        for (size_t node : path) names.push_back(graph.nodes[node]->qualifiedName);
        names.push_back(names.front());
        return names;
    }
    return {};
}

}  // namespace lumoidl::tool
