// The per-file pass: the library's own checks, then the three declaration phases.
#include "semantics/file_check.h"
#include "semantics/semantics.h"

namespace ZEMRA::IDL::PARSER {
namespace {

/// The library's attribute and uuid checks; false at the first that fails.
bool checkLibrary(FileCheck& check) {
    ParserLibrary& library = check.library;
    std::string offending;
    if (!library.validateAttributes(offending)) {
        check.fail()
            .set("Invalid format of attribute ")
            .quoted(offending)
            .utf8(" for library ")
            .quoted(library.name);
        return false;
    }
    const char* uuid = library.findAttributeValue(AttributeKey::kUuid);
    if (!uuid) {
        check.fail().set("Library ").quoted(library.name).utf8(" must have a uuid");
        return false;
    }
    if (!library.uuid.parseUuid(uuid)) {
        check.fail().set("Library ").quoted(library.name).utf8(" has invalid uuid attribute");
        return false;
    }
    if (library.uuid.isNullUuid()) {
        check.fail().set("Library ").quoted(library.name).utf8(" cannot have null uuid");
        return false;
    }
    return true;
}

}  // namespace

bool checkFile(ParserLibrary& library, const LumoChar* fileName, ParserResult& result) {
    FileCheck check{library, fileName, result, library.name.str() + "::"};
    if (!checkLibrary(check)) return false;
    // A failing phase ends only itself: the later phases still run, and their failure
    // replaces the text.
    checkInterfaces(check);
    checkEnumerations(check);
    checkCategoryIDs(check);
    return true;
}

}  // namespace ZEMRA::IDL::PARSER
