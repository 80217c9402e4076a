// Type resolution: every type of every method signature gets its kind, uuid and qualified name.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "result/error_message.h"
#include "semantics/builtin_types.h"
#include "semantics/semantics.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Template parameter name to index; a repeated name keeps its later index.
using ParameterMap = std::unordered_map<std::string, int32_t>;

/// What resolving one type needs: the registries, the enclosing interface's parameters and
/// library, and where the reason for a failure goes. One resolver serves every interface, so
/// that its buffers are reused from the first type to the last.
struct Resolver {
    ParserResult& result;
    /// Template parameters of the interface being resolved.
    ParameterMap parameters;
    /// Name of the library that declares it.
    const std::string* libraryName = nullptr;
    std::string detail;
    /// Qualified name being looked up; kept between types so that its memory is reused.
    std::string lookup;
    /// Types whose arguments are being resolved, with the next argument's index; kept too.
    std::vector<std::pair<ParserType*, size_t>> pending;

    bool fail(std::string reason) {
        detail = std::move(reason);
        return false;
    }

    /// Resolves `type` itself (not its arguments) and checks its argument count.
    bool resolveOne(ParserType& type) {
        size_t expected = 0;
        if (const auto parameter = parameters.find(type.name); parameter != parameters.end()) {
            type.kind = LUMO_KIND_TEMPLATE_PARAMETER;
            type.templateParameterIndex = parameter->second;
        } else if (const uint32_t kind = builtinKind(type.name); kind != 0) {
            type.kind = kind;
            expected = kind == LUMO_KIND_ARRAY_ENUMERATION ? 1 : 0;
        } else if (!resolveDeclared(type, expected)) {
            return fail("unresolved type \"" + type.name + "\"");
        }
        const size_t received = type.templateArguments.size();
        if (received != expected) {
            return fail("template argument count mismatch for \"" + type.name + "\", expected " +
                        std::to_string(expected) + (expected == 1 ? " argument" : " arguments") +
                        ", received " + std::to_string(received));
        }
        return true;
    }

    /// The qualified name that `name` is looked up by.
    const std::string& qualifiedName(const std::string& name) {
        if (name == "ILumoError") return lookup.assign(kErrorInterfaceName);
        if (name.find("::") != std::string::npos) return name;
        lookup.assign(*libraryName).append("::").append(name);
        return lookup;
    }

    /// Looks `type` up as a declared interface or enumeration, or as the error interface.
    bool resolveDeclared(ParserType& type, size_t& expected) {
        const std::string& qualified = qualifiedName(type.name);
        if (const auto found = result.interfacesByName.find(qualified); found != result.interfacesByName.end()) {
            const auto& iface = *static_cast<const ParserInterface*>(found->second);
            type.kind = LUMO_KIND_OBJECT;
            type.uuid.assign(iface.uuid.value);
            expected = iface.templateParameters.size();
        } else if (const auto found = result.enumerationsByName.find(qualified);
                   found != result.enumerationsByName.end()) {
            type.kind = LUMO_KIND_ENUMERATION;
            type.uuid.assign(static_cast<const ParserEnumeration*>(found->second)->uuid.value);
        } else if (qualified == kErrorInterfaceName) {
            type.kind = LUMO_KIND_OBJECT;
            type.uuid.assign(kErrorInterfaceUuid);
        } else {
            return false;
        }
        if (&qualified != &type.name) type.name = qualified;
        return true;
    }

    /// Resolves `root` and its template arguments, depth first and in order, with an explicit
    /// stack so that nesting of any depth is safe.
    bool resolve(ParserType& root) {
        if (!resolveOne(root)) return false;
        pending.assign(1, {&root, 0});
        while (!pending.empty()) {
            auto& [type, next] = pending.back();
            if (next < type->templateArguments.size()) {
                ParserType* argument = type->templateArguments[next++];
                if (!resolveOne(*argument)) return false;
                pending.emplace_back(argument, 0);
                continue;
            }
            const ParserType* done = type;
            pending.pop_back();
            if (!pending.empty()) {
                const ParserType* parent = pending.back().first;
                if (parent->kind == LUMO_KIND_ARRAY_ENUMERATION && done->kind != LUMO_KIND_ENUMERATION)
                    return fail("Type \"" + parent->name + "\" must have enumeration type as template argument");
            }
        }
        return true;
    }
};

/// Resolves the signatures of one interface; a return type failure ends the interface, an
/// argument type failure ends its method.
void resolveInterface(Resolver& resolver, const ParserInterface& iface) {
    ParserResult& result = resolver.result;
    resolver.libraryName = &iface.libraryName;
    resolver.parameters.clear();
    for (size_t i = 0; i < iface.templateParameters.size(); ++i)
        resolver.parameters[iface.templateParameters[i]] = static_cast<int32_t>(i);
    for (ParserMethod* method : iface.methods) {
        if (!resolver.resolve(*method->returnType)) {
            ErrorMessage(result.errorText)
                .set("Error with return type of method ")
                .quoted(method->name)
                .utf8(" of interface ")
                .quoted(iface.name)
                .utf8(": ")
                .utf8(resolver.detail);
            return;
        }
        for (ParserArg* argument : method->arguments) {
            if (!resolver.resolve(*argument->type)) {
                ErrorMessage(result.errorText)
                    .set("Error with type of argument ")
                    .quoted(argument->name)
                    .utf8(" of method ")
                    .quoted(method->name)
                    .utf8(" of interface ")
                    .quoted(iface.name)
                    .utf8(": ")
                    .utf8(resolver.detail);
                break;
            }
        }
    }
}

}  // namespace

void resolveTypes(ParserResult& result) {
    Resolver resolver{result, {}, nullptr, {}, {}, {}};
    for (ILumoIDLInterface* record : result.interfaces)
        resolveInterface(resolver, *static_cast<ParserInterface*>(record));
}

}  // namespace ZEMRA::IDL::PARSER
