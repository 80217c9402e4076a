// The rules of an interface's methods and their arguments.
#include "semantics/method_rules.h"

#include <initializer_list>

#include "tree/type_signature.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// Up to this many arguments, names are compared pairwise rather than through a set.
constexpr size_t kFewArguments = 8;

/// Checks that a property accessor has exactly one argument carrying `needed`.
bool checkPropertyArgument(const RuleReport& report, const ParserInterface& iface, const ParserMethod& method,
                           const char* property, std::initializer_list<AttributeKey> needed, const char* neededText) {
    const auto propertyMessage = [&]() -> ErrorMessage {
        return report.fail()
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

}  // namespace

/// Checks one argument; false when a rule fails.
bool MethodRules::checkArgument(const RuleReport& report, const ParserInterface& iface, const ParserMethod& method,
                                size_t index, bool& seenOut) {
    ParserArg& argument = *method.arguments[index];
    // Messages about the argument start by naming it, its method and its interface.
    const auto argumentMessage = [&]() -> ErrorMessage {
        return report.fail()
            .set("Argument ")
            .quoted(argument.name)
            .utf8(" of method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name);
    };
    const auto brokenRule = [&](const char* rule) {
        argumentMessage().utf8(rule).inFile(report.file);
        return false;
    };
    std::string offending;
    if (!argument.validateAttributes(offending)) {
        argumentMessage().utf8(" has invalid attribute ").quoted(offending).inFile(report.file);
        return false;
    }
    // A few names are compared with each other directly; a long list goes through the set.
    bool repeated = false;
    if (method.arguments.size() <= kFewArguments) {
        for (size_t k = 0; k < index && !repeated; ++k)
            repeated = equalFolded(method.arguments[k]->name, argument.name);
    } else {
        repeated = !argumentNames_.insert(foldCase(argument.name, folded_));
    }
    if (repeated) {
        const std::string& folded = foldCase(argument.name, folded_);
        report.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has multiple arguments named ")
            .quoted(folded)
            .inFile(report.file)
            .utf8(" (all argument must differ by name in case-insensitive languages)");
        return false;
    }

    const bool in = argument.containsAttribute(AttributeKey::kIn);
    const bool out = argument.containsAttribute(AttributeKey::kOut);
    const bool retval = argument.containsAttribute(AttributeKey::kRetval);
    if (in && out) return brokenRule(" has both \"in\" and \"out\" attributes");
    if (in && retval) return brokenRule(" has \"retval\" attribute but not \"out\" attribute");
    if (in && seenOut) return brokenRule(" has \"in\" attribute but appears after argument with \"out\" attribute");
    if (!in && !out) return brokenRule(" has neither \"in\" nor \"out\" attribute");
    if (out) {
        seenOut = true;
        if (retval && index + 1 != method.arguments.size()) {
            report.fail()
                .set("Method ")
                .quoted(method.name)
                .utf8(" in interface ")
                .quoted(iface.name)
                .utf8(" has invalid \"retval\" argument (must be last argument)")
                .inFile(report.file);
            return false;
        }
    }
    return true;
}

/// Checks one method; false when a rule fails.
bool MethodRules::checkMethod(const RuleReport& report, const ParserInterface& iface, ParserMethod& method) {
    std::string offending;
    if (!method.validateAttributes(offending)) {
        report.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" has invalid specification of attribute ")
            .quoted(offending)
            .inFile(report.file);
        return false;
    }
    const bool propertySet = method.containsAttribute(AttributeKey::kPropertySet);
    const bool propertyGet = method.containsAttribute(AttributeKey::kPropertyGet);
    if (propertySet && propertyGet) {
        report.fail()
            .set("Method ")
            .quoted(method.name)
            .utf8(" in interface ")
            .quoted(iface.name)
            .utf8(" cannot have both \"property_set\" and \"property_get\" attributes")
            .inFile(report.file);
        return false;
    }
    argumentNames_.clear();
    bool seenOut = false;
    for (size_t i = 0; i < method.arguments.size(); ++i)
        if (!checkArgument(report, iface, method, i, seenOut)) return false;
    if (propertySet &&
        !checkPropertyArgument(report, iface, method, "property_set", {AttributeKey::kIn}, "attribute \"in\""))
        return false;
    if (!propertySet && propertyGet &&
        !checkPropertyArgument(report, iface, method, "property_get", {AttributeKey::kOut, AttributeKey::kRetval},
                               "attributes \"out\" and \"retval\""))
        return false;
    const auto same = [&](const ParserMethod& other) {
        return signatureText(other, otherSignature_) == signatureText(method, signature_);
    };
    if (!signatures_.insert(method.signature, &method, same)) {
        report.fail()
            .set("Multiple methods ")
            .quoted(method.name)
            .utf8(" exist in interface ")
            .quoted(iface.name)
            .utf8(" that cannot be distinguished by argument type")
            .inFile(report.file)
            .utf8(" (all methods must differ by name or argument list in case-insensitive languages)");
        return false;
    }
    return true;
}


bool MethodRules::check(const RuleReport& report, const ParserInterface& iface) {
    signatures_.reset(iface.methods.size());
    for (ParserMethod* method : iface.methods) {
        ahead_.at(method);
        if (!checkMethod(report, iface, *method)) return false;
    }
    return true;
}

void MethodRules::precheck(ParserInterface& iface) {
    static const LumoChar kNoFile[] = {0};
    const RuleReport silent{discarded_, kNoFile};
    signatures_.reset(iface.methods.size());
    for (ParserMethod* method : iface.methods)
        if (!checkMethod(silent, iface, *method)) return;
    iface.methodRulesHold = true;
}

void forgetMethodChecks(const std::vector<ParserInterface*>& interfaces, size_t first) {
    for (size_t i = first; i < interfaces.size(); ++i) {
        for (ParserMethod* method : interfaces[i]->methods) {
            method->attributeIndex.forget();
            for (ParserArg* argument : method->arguments) argument->attributeIndex.forget();
        }
    }
}

}  // namespace ZEMRA::IDL::PARSER
