// The whole result, or a failure, as JSON written with nlohmann::json.
#include <nlohmann/json.hpp>

#include "tools/output.h"

namespace lumoidl::tool {
namespace {

using nlohmann::json;

/// The version of the documents' shape: raised whenever a member changes meaning or goes away.
constexpr int kFormatVersion = 1;

json attributesJson(const std::vector<host::AttributeInfo>& attributes) {
    json list = json::array();
    for (const host::AttributeInfo& attribute : attributes) {
        json entry = {{"name", attribute.name}};
        if (attribute.hasValue) entry["value"] = attribute.value;
        list.push_back(std::move(entry));
    }
    return list;
}

json typeJson(const host::TypeInfo& type) {
    json entry = {{"name", type.name}, {"kind", type.kind}, {"kindName", host::kindName(type.kind)}};
    if (type.kind == LUMO_KIND_TEMPLATE_PARAMETER) entry["templateParameterIndex"] = type.templateParameterIndex;
    if (!type.uuid.empty()) entry["uuid"] = type.uuid;
    json arguments = json::array();
    for (const host::TypeInfo& argument : type.templateArguments) arguments.push_back(typeJson(argument));
    entry["templateArguments"] = std::move(arguments);
    return entry;
}

json methodJson(const host::MethodInfo& method) {
    json arguments = json::array();
    for (const host::ArgumentInfo& argument : method.arguments)
        arguments.push_back({{"name", argument.name},
                             {"attributes", attributesJson(argument.attributes)},
                             {"type", typeJson(argument.type)}});
    return {{"name", method.name},
            {"attributes", attributesJson(method.attributes)},
            {"returnType", typeJson(method.returnType)},
            {"arguments", std::move(arguments)}};
}

json libraryJson(const host::LibraryInfo& library, const std::string& file) {
    json interfaces = json::array();
    for (const host::InterfaceInfo& iface : library.interfaces) {
        json methods = json::array();
        for (const host::MethodInfo& method : iface.methods) methods.push_back(methodJson(method));
        interfaces.push_back({{"name", iface.name},
                              {"qualifiedName", iface.qualifiedName},
                              {"uuid", iface.uuid},
                              {"attributes", attributesJson(iface.attributes)},
                              {"templateParameters", iface.templateParameters},
                              {"methods", std::move(methods)}});
    }
    json enumerations = json::array();
    for (const host::EnumerationInfo& enumeration : library.enumerations) {
        json items = json::array();
        for (const host::ItemInfo& item : enumeration.items) items.push_back({{"name", item.name}, {"value", item.value}});
        enumerations.push_back({{"name", enumeration.name},
                                {"qualifiedName", enumeration.qualifiedName},
                                {"uuid", enumeration.uuid},
                                {"attributes", attributesJson(enumeration.attributes)},
                                {"items", std::move(items)}});
    }
    json categoryIDs = json::array();
    for (const host::CategoryIDInfo& categoryID : library.categoryIDs)
        categoryIDs.push_back({{"name", categoryID.name},
                               {"qualifiedName", categoryID.qualifiedName},
                               {"uuid", categoryID.uuid},
                               {"attributes", attributesJson(categoryID.attributes)}});
    return {{"name", library.name},
            {"file", file},
            {"uuid", library.uuid},
            {"attributes", attributesJson(library.attributes)},
            {"interfaces", std::move(interfaces)},
            {"enumerations", std::move(enumerations)},
            {"categoryIDs", std::move(categoryIDs)}};
}

/// Writes `document`, with the format version, as the tool's JSON output.
void writeDocument(json document, std::ostream& out) {
    document["formatVersion"] = kFormatVersion;
    // Replacement keeps the output valid JSON whatever bytes a name holds.
    out << document.dump(2, ' ', false, json::error_handler_t::replace) << '\n';
}

}  // namespace

void writeJson(const host::ResultSnapshot& snapshot, const std::vector<std::string>& files, std::ostream& out) {
    json libraries = json::array();
    for (size_t i = 0; i < snapshot.libraries.size(); ++i) libraries.push_back(libraryJson(snapshot.libraries[i], files.at(i)));
    writeDocument({{"libraries", std::move(libraries)}, {"interfaceOrder", snapshot.interfaceOrder}}, out);
}

void writeJsonError(const diagnostics::Diagnostic& diagnostic, std::ostream& out) {
    json error = {{"message", diagnostic.message}};
    const diagnostics::Location& location = diagnostic.location;
    if (!location.file.empty()) error["file"] = location.file;
    if (location.line) error["line"] = location.line;
    if (location.column) error["column"] = location.column;
    writeDocument({{"error", std::move(error)}}, out);
}

}  // namespace lumoidl::tool
