// RuleReport: where a failing rule writes its message.
#pragma once

#include "errors/lumo_string.h"
#include "lumoidl/lumoidl.h"
#include "result/error_message.h"

namespace ZEMRA::IDL::PARSER {

/// The text that a failing rule's message replaces, and the file name that messages insert.
struct RuleReport {
    /// The error text written.
    LumoText& errors;
    /// The file name exactly as the host gave it.
    const LumoChar* file;
    /// Starts a message that replaces the error text.
    ErrorMessage fail() const { return ErrorMessage(errors); }
};

}  // namespace ZEMRA::IDL::PARSER
