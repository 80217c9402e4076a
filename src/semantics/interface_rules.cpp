// The interface phase: each interface's own rules and maps, then the rules of its methods.
#include <string>

#include "semantics/builtin_types.h"
#include "semantics/file_check.h"
#include "semantics/method_rules.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Checks one interface, except for its methods, and enters it in the library's maps; false
/// when a rule fails.
bool checkDeclaredInterface(FileCheck& check, ParserInterface& iface) {
    ParserLibrary& library = check.library;
    if (hasColon(iface.name)) {
        check.fail().set("Invalid interface name ").quoted(iface.name).inFile(check.file);
        return false;
    }
    iface.libraryUuid = library.uuid;
    iface.libraryName = library.name;
    std::string offending;
    if (!iface.validateAttributes(offending)) {
        check.fail()
            .set("Interface ")
            .quoted(iface.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    if (builtinKind(iface.name) != 0) {
        check.fail().set("Type ").quoted(iface.name).utf8(" cannot be redefined as interface").inFile(check.file);
        return false;
    }
    const NodeString qualified = check.qualified(iface.name);
    if (!library.interfacesByName.insert(qualified, &iface)) {
        check.fail().set("Interface ").quoted(qualified).utf8(" is declared multiple times").inFile(check.file);
        return false;
    }
    iface.qualifiedName = qualified;
    const char* uuidText = takeUuid(check, iface, "Interface");
    if (!uuidText) return false;
    if (!library.interfacesByUuid.insert(iface.uuid.value, &iface)) {
        check.fail()
            .set("Interface ")
            .quoted(iface.name)
            .utf8(" redefines uuid ")
            .quoted(uuidText)
            .inFile(check.file);
        return false;
    }
    for (const NodeString& parameter : iface.templateParameters) {
        if (builtinKind(parameter) != 0) {
            check.fail()
                .set("Type ")
                .quoted(parameter)
                .utf8(" cannot be used as template argument in interface ")
                .quoted(iface.name)
                .inFile(check.file);
            return false;
        }
    }
    return true;
}

}  // namespace

bool checkInterfaces(FileCheck& check) {
    MethodRules methodRules;
    const std::vector<ParserInterface*>& interfaces = check.library.interfaces;
    for (size_t i = 0; i < interfaces.size(); ++i) {
        ParserInterface& iface = *interfaces[i];
        // The interfaces of a large file lie far apart and long out of the caches: ask for the
        // next ones' nodes, and the attributes of the one after this, while this one is checked.
        if (i + 4 < interfaces.size()) __builtin_prefetch(interfaces[i + 4]);
        if (i + 1 < interfaces.size()) __builtin_prefetch(interfaces[i + 1]->attributes.data());
        // The methods of an interface that failed, and of those after it, stay unchecked.
        if (!checkDeclaredInterface(check, iface)) {
            forgetMethodChecks(interfaces, i);
            return false;
        }
        if (!iface.methodRulesHold && !methodRules.check(check.report(), iface)) {
            forgetMethodChecks(interfaces, i + 1);
            return false;
        }
    }
    return true;
}

}  // namespace ZEMRA::IDL::PARSER
