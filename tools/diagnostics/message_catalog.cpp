// The forms of the library's messages and the matcher that reads a message back into one.
#include "tools/diagnostics/message_catalog.h"

#include <cstdlib>

namespace lumoidl::diagnostics {
namespace {

struct Form {
    MessageKind kind;
    MessagePhase phase;
    std::string_view text;  ///< literal text with blanks such as {FILE}
};

using K = MessageKind;
using P = MessagePhase;

constexpr Form kForms[] = {
    {K::kNoInputFiles, P::kCall, "No input files specified"},
    {K::kOpenFailed, P::kFile, "Failed to open \"{FILE}\" for reading: {DETAIL}"},
    {K::kSyntaxError, P::kFile, "Parse error in \"{FILE}\": line {LINE}, pos {POS}: syntax error"},
    {K::kStackOverflow, P::kFile, "Parse error in \"{FILE}\": line {LINE}, pos {POS}: yacc stack overflow"},
    {K::kUnknownParserError, P::kFile, "Parse error in \"{FILE}\": Unknown parser error"},
    {K::kLibraryAttribute, P::kFile, "Invalid format of attribute \"{ATTR}\" for library \"{LIB}\""},
    {K::kLibraryUuidMissing, P::kFile, "Library \"{LIB}\" must have a uuid"},
    {K::kLibraryUuidInvalid, P::kFile, "Library \"{LIB}\" has invalid uuid attribute"},
    {K::kLibraryUuidNull, P::kFile, "Library \"{LIB}\" cannot have null uuid"},
    {K::kInterfaceName, P::kFile, "Invalid interface name \"{NAME}\" in \"{FILE}\""},
    {K::kInterfaceAttribute, P::kFile,
     "Interface \"{DECL}\" has invalid specification of attribute \"{ATTR}\" in \"{FILE}\""},
    {K::kInterfaceBuiltinName, P::kFile, "Type \"{DECL}\" cannot be redefined as interface in \"{FILE}\""},
    {K::kInterfaceRepeated, P::kFile, "Interface \"{NAME}\" is declared multiple times in \"{FILE}\""},
    {K::kInterfaceUuidMissing, P::kFile, "Interface \"{DECL}\" must have a uuid attribute"},
    {K::kInterfaceUuidInvalid, P::kFile, "Interface \"{DECL}\" has invalid uuid attribute"},
    {K::kInterfaceUuidNull, P::kFile, "Interface \"{DECL}\" cannot have null uuid"},
    {K::kInterfaceUuidReused, P::kFile, "Interface \"{DECL}\" redefines uuid \"{UUID}\" in \"{FILE}\""},
    {K::kTemplateParameterBuiltin, P::kFile,
     "Type \"{NAME}\" cannot be used as template argument in interface \"{DECL}\" in \"{FILE}\""},
    {K::kMethodAttribute, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has invalid specification of attribute \"{ATTR}\" in \"{FILE}\""},
    {K::kMethodBothAccessors, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" cannot have both \"property_set\" and \"property_get\" "
     "attributes in \"{FILE}\""},
    {K::kSetterArgumentCount, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has \"property_set\" attribute, and must have exactly one argument"},
    {K::kSetterArgumentIn, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has \"property_set\" attribute; its argument must have "
     "attribute \"in\""},
    {K::kGetterArgumentCount, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has \"property_get\" attribute, and must have exactly one argument"},
    {K::kGetterArgumentOutRetval, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has \"property_get\" attribute; its argument must have "
     "attributes \"out\" and \"retval\""},
    {K::kMethodsIndistinct, P::kFile,
     "Multiple methods \"{METHOD}\" exist in interface \"{DECL}\" that cannot be distinguished by argument type "
     "in \"{FILE}\" (all methods must differ by name or argument list in case-insensitive languages)"},
    {K::kArgumentAttribute, P::kFile,
     "Argument \"{ARG}\" of method \"{METHOD}\" in interface \"{DECL}\" has invalid attribute \"{ATTR}\" in \"{FILE}\""},
    {K::kArgumentRepeated, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has multiple arguments named \"{ARG}\" in \"{FILE}\" "
     "(all argument must differ by name in case-insensitive languages)"},
    {K::kArgumentInAndOut, P::kFile,
     "Argument \"{ARG}\" of method \"{METHOD}\" in interface \"{DECL}\" has both \"in\" and \"out\" attributes "
     "in \"{FILE}\""},
    {K::kArgumentRetvalWithoutOut, P::kFile,
     "Argument \"{ARG}\" of method \"{METHOD}\" in interface \"{DECL}\" has \"retval\" attribute but not \"out\" "
     "attribute in \"{FILE}\""},
    {K::kArgumentInAfterOut, P::kFile,
     "Argument \"{ARG}\" of method \"{METHOD}\" in interface \"{DECL}\" has \"in\" attribute but appears after "
     "argument with \"out\" attribute in \"{FILE}\""},
    {K::kArgumentNoDirection, P::kFile,
     "Argument \"{ARG}\" of method \"{METHOD}\" in interface \"{DECL}\" has neither \"in\" nor \"out\" attribute "
     "in \"{FILE}\""},
    {K::kRetvalNotLast, P::kFile,
     "Method \"{METHOD}\" in interface \"{DECL}\" has invalid \"retval\" argument (must be last argument) in \"{FILE}\""},
    {K::kEnumerationName, P::kFile, "Invalid enumeration name \"{NAME}\" in \"{FILE}\""},
    {K::kEnumerationAttribute, P::kFile,
     "Enumeration \"{DECL}\" has invalid specification of attribute \"{ATTR}\" in \"{FILE}\""},
    {K::kEnumerationBuiltinName, P::kFile, "Type \"{DECL}\" cannot be redefined as enumeration in \"{FILE}\""},
    {K::kEnumerationRepeated, P::kFile, "Enumeration \"{NAME}\" is declared multiple times in \"{FILE}\""},
    {K::kTypesRepeated, P::kFile, "Multiple types \"{NAME}\" are declared in \"{FILE}\""},
    {K::kEnumerationUuidMissing, P::kFile, "Enumeration \"{DECL}\" must have a uuid attribute"},
    {K::kEnumerationUuidInvalid, P::kFile, "Enumeration \"{DECL}\" has invalid uuid attribute"},
    {K::kEnumerationUuidNull, P::kFile, "Enumeration \"{DECL}\" cannot have null uuid"},
    {K::kEnumerationUuidReused, P::kFile, "Enumeration \"{DECL}\" redefines uuid \"{UUID}\" in \"{FILE}\""},
    {K::kTypesUuidReused, P::kFile, "Multiple types with uuid \"{UUID}\" are defined in \"{FILE}\""},
    {K::kItemRepeated, P::kFile,
     "Enumeration \"{DECL}\" has multiple definitions of item \"{ITEM}\" in \"{FILE}\""},
    {K::kCategoryName, P::kFile, "Invalid category ID name \"{NAME}\" in \"{FILE}\""},
    {K::kCategoryAttribute, P::kFile,
     "Category ID \"{DECL}\" has invalid specification of attribute \"{ATTR}\" in \"{FILE}\""},
    {K::kCategoryBuiltinName, P::kFile, "Type \"{DECL}\" cannot be redefined as category ID in \"{FILE}\""},
    {K::kCategoryRepeated, P::kFile, "Category ID \"{NAME}\" is declared multiple times in \"{FILE}\""},
    {K::kCategoryUuidMissing, P::kFile, "Category ID \"{DECL}\" must have a uuid attribute"},
    {K::kCategoryUuidInvalid, P::kFile, "Category ID \"{DECL}\" has invalid uuid attribute"},
    {K::kCategoryUuidNull, P::kFile, "Category ID \"{DECL}\" cannot have null uuid"},
    {K::kCategoryUuidReused, P::kFile, "Category ID \"{DECL}\" redefines uuid \"{UUID}\" in \"{FILE}\""},
    {K::kTypeInLibraries, P::kAcrossLibraries, "Type \"{NAME}\" is defined in multiple libraries"},
    {K::kUuidInLibraries, P::kAcrossLibraries, "Type with uuid \"{UUID}\" is defined in multiple libraries"},
    {K::kReturnTypeFailed, P::kResolution,
     "Error with return type of method \"{METHOD}\" of interface \"{DECL}\": {REASON}"},
    {K::kArgumentTypeFailed, P::kResolution,
     "Error with type of argument \"{ARG}\" of method \"{METHOD}\" of interface \"{DECL}\": {REASON}"},
};

/// The field a blank of a form fills; null for blanks whose value is not kept.
std::string* fieldOf(std::string_view blank, MessageFields& fields, std::string& scratch) {
    if (blank == "FILE") return &fields.file;
    if (blank == "LIB") return &fields.library;
    if (blank == "DECL") return &fields.declaration;
    if (blank == "METHOD") return &fields.method;
    if (blank == "ARG") return &fields.argument;
    if (blank == "ATTR") return &fields.attribute;
    if (blank == "ITEM") return &fields.item;
    if (blank == "NAME") return &fields.name;
    if (blank == "UUID") return &fields.uuid;
    if (blank == "REASON") return &fields.reason;
    return &scratch;
}

bool isNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

/// Matches `message` against `form`. A blank takes the text up to the literal that follows
/// it: up to its first occurrence, or its last one for FILE, since only a file name may hold
/// quotes. A blank at the end takes the rest.
bool match(const Form& form, std::string_view message, MessageFields& fields) {
    std::string_view pattern = form.text;
    std::string scratch;
    while (!pattern.empty()) {
        const size_t open = pattern.find('{');
        const std::string_view literal = pattern.substr(0, open);
        if (message.substr(0, literal.size()) != literal) return false;
        message.remove_prefix(literal.size());
        if (open == std::string_view::npos) return message.empty();
        const size_t close = pattern.find('}', open);
        const std::string_view blank = pattern.substr(open + 1, close - open - 1);
        pattern.remove_prefix(close + 1);
        const std::string_view next = pattern.substr(0, pattern.find('{'));
        size_t end = message.size();
        if (!next.empty()) end = blank == "FILE" ? message.rfind(next) : message.find(next);
        if (end == std::string_view::npos || (end == 0 && blank != "DETAIL")) return false;
        const std::string_view value = message.substr(0, end);
        message.remove_prefix(end);
        if (blank == "LINE" || blank == "POS") {
            if (!isNumber(value)) return false;
            (blank == "LINE" ? fields.line : fields.pos) = std::atoi(std::string(value).c_str());
        } else {
            fieldOf(blank, fields, scratch)->assign(value);
        }
    }
    return message.empty();
}

/// The name that a type resolution reason quotes first.
std::string quotedName(std::string_view reason) {
    const size_t open = reason.find('"');
    const size_t close = open == std::string_view::npos ? open : reason.find('"', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(reason.substr(open + 1, close - open - 1));
}

}  // namespace

std::optional<MessageFields> readMessage(std::string_view message) {
    for (const Form& form : kForms) {
        MessageFields fields;
        if (!match(form, message, fields)) continue;
        fields.kind = form.kind;
        if (!fields.reason.empty()) fields.name = quotedName(fields.reason);
        return fields;
    }
    // The driver appends this one to whatever text was there, so it may stand anywhere.
    if (message.find("Unhandled parser exception") != std::string_view::npos) return MessageFields{};
    return std::nullopt;
}

MessagePhase phaseOf(MessageKind kind) {
    for (const Form& form : kForms)
        if (form.kind == kind) return form.phase;
    return MessagePhase::kCall;
}

}  // namespace lumoidl::diagnostics
