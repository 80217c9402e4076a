// FileCheck: what the phases of the per-file pass share about the library being checked.
#pragma once

#include <string>

#include "result/error_message.h"
#include "result/parser_result.h"
#include "semantics/rule_report.h"
#include "tree/parser_library.h"

namespace ZEMRA::IDL::PARSER {

/// The library under check, the file it came from, and where failures are reported.
struct FileCheck {
    /// The library being checked.
    ParserLibrary& library;
    /// The file name exactly as the host gave it.
    const LumoChar* file;
    /// The result whose error text receives the messages.
    ParserResult& result;
    /// The library name followed by "::".
    std::string prefix;

    /// Starts a message that replaces the error text.
    ErrorMessage fail() const { return report().fail(); }
    /// Where rules that need nothing else of the check report.
    RuleReport report() const { return {result.errorText.text, file}; }
    /// The qualified name of a declaration of this library, stored with the library's nodes.
    NodeString qualified(std::string_view name) const { return NodeString(prefix, name); }
};

/// True when `name` contains ":", which no interface, enumeration or category ID name may.
inline bool hasColon(std::string_view name) { return name.find(':') != std::string_view::npos; }

/// Reads and parses the "uuid" attribute of `declaration` into its uuid field, reporting a
/// missing, malformed or null uuid with `kind` ("Interface", "Enumeration", "Category ID"). Returns the
/// attribute text as written, or null on failure.
template <class Declaration>
const char* takeUuid(FileCheck& check, Declaration& declaration, const char* kind) {
    const char* text = declaration.findAttributeValue(AttributeKey::kUuid);
    if (!text) {
        check.fail().set(kind).utf8(" ").quoted(declaration.name).utf8(" must have a uuid attribute");
        return nullptr;
    }
    if (!declaration.uuid.parseUuid(text)) {
        check.fail().set(kind).utf8(" ").quoted(declaration.name).utf8(" has invalid uuid attribute");
        return nullptr;
    }
    if (declaration.uuid.isNullUuid()) {
        check.fail().set(kind).utf8(" ").quoted(declaration.name).utf8(" cannot have null uuid");
        return nullptr;
    }
    return text;
}

/// Runs the interface phase; returns false at the first failing rule.
bool checkInterfaces(FileCheck& check);
/// Runs the enumeration phase; returns false at the first failing rule.
bool checkEnumerations(FileCheck& check);
/// Runs the category ID phase; returns false at the first failing rule.
bool checkCategoryIDs(FileCheck& check);

}  // namespace ZEMRA::IDL::PARSER
