// The readable summary of a result.
#include <string>

#include "tools/output.h"

namespace lumoidl::tool {
namespace {

/// "[a, b(c)] " for a non-empty attribute list, else nothing; `skipUuid` leaves uuid out.
std::string attributeText(const std::vector<host::AttributeInfo>& attributes, bool skipUuid) {
    std::string text;
    for (const host::AttributeInfo& attribute : attributes) {
        if (skipUuid && attribute.name == "uuid") continue;
        text += text.empty() ? "[" : ", ";
        text += attribute.name;
        if (attribute.hasValue) text += "(" + attribute.value + ")";
    }
    return text.empty() ? text : text + "] ";
}

void writeMethod(const host::MethodInfo& method, std::ostream& out) {
    out << "    " << attributeText(method.attributes, false) << typeText(method.returnType) << ' ' << method.name
        << '(';
    for (size_t i = 0; i < method.arguments.size(); ++i) {
        const host::ArgumentInfo& argument = method.arguments[i];
        out << (i ? ", " : "") << attributeText(argument.attributes, false) << typeText(argument.type) << ' '
            << argument.name;
    }
    out << ")\n";
}

}  // namespace

std::string typeText(const host::TypeInfo& type) {
    std::string text = type.name;
    for (size_t i = 0; i < type.templateArguments.size(); ++i)
        text += (i ? ", " : "<") + typeText(type.templateArguments[i]);
    if (!type.templateArguments.empty()) text += '>';
    return text;
}

void writeText(const host::ResultSnapshot& snapshot, std::ostream& out) {
    for (const host::LibraryInfo& library : snapshot.libraries) {
        const std::string attributes = attributeText(library.attributes, true);
        out << "library " << library.name << " {" << library.uuid << '}';
        if (!attributes.empty()) out << ' ' << attributes.substr(0, attributes.size() - 1);
        out << '\n';
        for (const host::InterfaceInfo& iface : library.interfaces) {
            out << "  interface " << iface.name;
            for (size_t i = 0; i < iface.templateParameters.size(); ++i)
                out << (i ? ", " : "<") << iface.templateParameters[i];
            if (!iface.templateParameters.empty()) out << '>';
            out << " {" << iface.uuid << "}\n";
            for (const host::MethodInfo& method : iface.methods) writeMethod(method, out);
        }
        for (const host::EnumerationInfo& enumeration : library.enumerations) {
            out << "  enum " << enumeration.name << " {" << enumeration.uuid << "}\n";
            for (const host::ItemInfo& item : enumeration.items) out << "    " << item.name << " = " << item.value << '\n';
        }
        for (const host::CategoryIDInfo& categoryID : library.categoryIDs)
            out << "  category " << categoryID.name << " {" << categoryID.uuid << "}\n";
    }
}

}  // namespace lumoidl::tool
