// The interface phase: interfaces, their methods and their arguments.
#include <string>

#include "semantics/builtin_types.h"
#include "semantics/file_check.h"
#include "semantics/recycling_string_set.h"
#include "semantics/signature_set.h"
#include "tree/type_signature.h"
#include "tree/prefetch.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Up to this many arguments, names are compared pairwise rather than through a set.
constexpr size_t kFewArguments = 8;

/// What the checks of one interface's methods reuse from method to method and interface to
/// interface: the two sets the rules fill and room for texts.
struct MethodScratch {
    /// The case-folded argument names of the method being checked, when it has many.
    RecyclingStringSet argumentNames;
    /// The interface's methods checked so far, by signature.
    SignatureSet signatures;
    /// Two signature texts, compared when two methods' signatures hash alike.
    std::string signature, otherSignature;
    /// One case-folded argument name.
    std::string folded;
    /// Fetches the nodes of the next methods while the current ones are checked.
    PrefetchAhead ahead;
};

/// Checks one argument; false when a rule fails.
bool checkArgument(FileCheck& check, const ParserInterface& iface, const ParserMethod& method, size_t index,
                   MethodScratch& scratch, bool& seenOut) {
    ParserArg& argument = *method.arguments[index];
    const auto argumentMessage = [&](const char* rule) {
        check.fail()
            .set("Argument ")
            .quoted(argument.name)
            .utf8(" of method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(rule)
            .inFile(check.file);
        return false;
    };
    std::string offending;
    if (!argument.validateAttributes(offending)) {
        check.fail()
            .set("Argument ")
            .quoted(argument.name)
            .utf8(" of method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has invalid attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    // A few names are compared with each other directly; a long list goes through the set.
    bool repeated = false;
    if (method.arguments.size() <= kFewArguments) {
        for (size_t k = 0; k < index && !repeated; ++k)
            repeated = equalFolded(method.arguments[k]->name, argument.name);
    } else {
        repeated = !scratch.argumentNames.insert(foldCase(argument.name, scratch.folded));
    }
    if (repeated) {
        const std::string& folded = foldCase(argument.name, scratch.folded);
        check.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has multiple arguments named ")
            .quoted(folded)
            .inFile(check.file)
            .utf8(" (all argument must differ by name in case-insensitive languages)");
        return false;
    }

    const bool in = argument.containsAttribute(AttributeKey::kIn);
    const bool out = argument.containsAttribute(AttributeKey::kOut);
    const bool retval = argument.containsAttribute(AttributeKey::kRetval);
    if (in && out) return argumentMessage(" has both \"in\" and \"out\" attributes");
    if (in && retval) return argumentMessage(" has \"retval\" attribute but not \"out\" attribute");
    if (in && seenOut) return argumentMessage(" has \"in\" attribute but appears after argument with \"out\" attribute");
    if (!in && !out) return argumentMessage(" has neither \"in\" nor \"out\" attribute");
    if (out) {
        seenOut = true;
        if (retval && index + 1 != method.arguments.size()) {
            check.fail()
                .set("Method ")
                .quoted(method.name)
                .utf8(" in interface ")
                .quoted(iface.name)
                .utf8(" has invalid \"retval\" argument (must be last argument)")
                .inFile(check.file);
            return false;
        }
    }
    return true;
}

/// Checks that a property accessor has exactly one argument carrying `needed`.
bool checkPropertyArgument(FileCheck& check, const ParserInterface& iface, const ParserMethod& method,
                           const char* property, std::initializer_list<AttributeKey> needed, const char* neededText) {
    const auto propertyMessage = [&]() -> ErrorMessage {
        return check.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has ")
            .quoted(property)
            .utf8(" attribute");
    };
    if (method.arguments.size() != 1) {
        propertyMessage().utf8(", and must have exactly one argument");
        return false;
    }
    for (AttributeKey attribute : needed) {
        if (!method.arguments[0]->containsAttribute(attribute)) {
            propertyMessage().utf8("; its argument must have ").utf8(neededText);
            return false;
        }
    }
    return true;
}

/// Checks one method; false when a rule fails.
bool checkMethod(FileCheck& check, const ParserInterface& iface, ParserMethod& method, MethodScratch& scratch) {
    std::string offending;
    if (!method.validateAttributes(offending)) {
        check.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(check.file);
        return false;
    }
    const bool propertySet = method.containsAttribute(AttributeKey::kPropertySet);
    const bool propertyGet = method.containsAttribute(AttributeKey::kPropertyGet);
    if (propertySet && propertyGet) {
        check.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" cannot have both \"property_set\" and \"property_get\" attributes")
            .inFile(check.file);
        return false;
    }
    scratch.argumentNames.clear();
    bool seenOut = false;
    for (size_t i = 0; i < method.arguments.size(); ++i)
        if (!checkArgument(check, iface, method, i, scratch, seenOut)) return false;
    if (propertySet &&
        !checkPropertyArgument(check, iface, method, "property_set", {AttributeKey::kIn}, "attribute \"in\""))
        return false;
    if (!propertySet && propertyGet &&
        !checkPropertyArgument(check, iface, method, "property_get", {AttributeKey::kOut, AttributeKey::kRetval},
                               "attributes \"out\" and \"retval\""))
        return false;
    const auto same = [&](const ParserMethod& other) {
        return signatureText(other, scratch.otherSignature) == signatureText(method, scratch.signature);
    };
    if (!scratch.signatures.insert(method.signature, &method, same)) {
        check.fail()
            .set("Multiple methods ")
            .quoted(method.name)
            .utf8(" exist in interface ")
            .quoted(iface.name)
            .utf8(" that cannot be distinguished by argument type")
            .inFile(check.file)
            .utf8(" (all methods must differ by name or argument list in case-insensitive languages)");
        return false;
    }
    return true;
}

/// Checks one interface and enters it in the library's maps; false when a rule fails.
bool checkInterface(FileCheck& check, ParserInterface& iface, MethodScratch& scratch) {
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
    const std::string qualified = check.qualified(iface.name);
    if (!library.interfacesByName.emplace(qualified, &iface).second) {
        check.fail().set("Interface ").quoted(qualified).utf8(" is declared multiple times").inFile(check.file);
        return false;
    }
    iface.qualifiedName = NodeString(qualified);
    const char* uuidText = takeUuid(check, iface, "Interface");
    if (!uuidText) return false;
    if (!library.interfacesByUuid.emplace(iface.uuid.value, &iface).second) {
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
    scratch.signatures.reset(iface.methods.size());
    for (ParserMethod* method : iface.methods) {
        scratch.ahead.at(method);
        if (!checkMethod(check, iface, *method, scratch)) return false;
    }
    return true;
}

}  // namespace

bool checkInterfaces(FileCheck& check) {
    MethodScratch scratch;
    for (ParserInterface* iface : check.library.interfaces)
        if (!checkInterface(check, *iface, scratch)) return false;
    return true;
}

}  // namespace ZEMRA::IDL::PARSER
