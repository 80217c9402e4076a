// Hover text: a declaration's heading, uuid and members, written as IDL.
#include "tools/lsp/hover.h"

namespace lumoidl::lsp {
namespace {

using namespace diagnostics;

std::string typeText(const TypeRef& type) {
    std::string text = type.name.text;
    if (type.arguments.empty()) return text;
    text += '<';
    for (size_t i = 0; i < type.arguments.size(); ++i) text += (i ? ", " : "") + typeText(type.arguments[i]);
    return text + '>';
}

std::string attributesText(const std::vector<Attribute>& attributes) {
    if (attributes.empty()) return {};
    std::string text = "[";
    for (size_t i = 0; i < attributes.size(); ++i) {
        text += (i ? ", " : "") + attributes[i].name.text;
        if (attributes[i].value) text += "(" + attributes[i].value->text + ")";
    }
    return text + "] ";
}

std::string uuidOf(const std::vector<Attribute>& attributes) {
    for (const Attribute& attribute : attributes)
        if (attribute.name.text == "uuid" && attribute.value) return attribute.value->text;
    return {};
}

std::string methodText(const Method& method) {
    std::string text = attributesText(method.attributes) + typeText(method.returnType) + " " + method.name.text + "(";
    for (size_t i = 0; i < method.arguments.size(); ++i) {
        const Argument& argument = method.arguments[i];
        text += (i ? ", " : "") + attributesText(argument.attributes) + typeText(argument.type) + " " + argument.name.text;
    }
    return text + ");";
}

}  // namespace

std::string hoverText(const Declaration& declaration) {
    std::string heading, body;
    std::string uuid;
    if (const Interface* declared = declaration.interface) {
        heading = "interface " + declaration.qualifiedName();
        if (!declared->templateParameters.empty()) {
            heading += '<';
            for (size_t i = 0; i < declared->templateParameters.size(); ++i)
                heading += (i ? ", " : "") + declared->templateParameters[i].text;
            heading += '>';
        }
        uuid = uuidOf(declared->attributes);
        for (const Method& method : declared->methods) body += "    " + methodText(method) + "\n";
    } else {
        const Enumeration& enumeration = *declaration.enumeration;
        heading = "enum " + declaration.qualifiedName();
        uuid = uuidOf(enumeration.attributes);
        for (const EnumItem& item : enumeration.items) body += "    " + item.name.text + " = " + item.value.text + ",\n";
    }
    std::string text = "```idl\n";
    if (!uuid.empty()) text += "[uuid(" + uuid + ")]\n";
    text += heading + (body.empty() ? "\n" : " {\n" + body + "}\n");
    return text + "```\n\nDeclared in `" + declaration.document->displayName + "`.";
}

}  // namespace lumoidl::lsp
