// A diagnostic of the tool: a library message with the place it is about and notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumoidl::diagnostics {

/// Where a diagnostic points: a file as the user named it, and a place in it.
struct Location {
    std::string file;     ///< the file's display name (`<stdin>` for standard input); empty for none
    uint32_t line = 0;    ///< from 1; 0 when the message has no place in the file
    uint32_t column = 0;  ///< from 1, in bytes
    uint32_t length = 0;  ///< bytes under the caret line; 0 for a caret alone
};

/// A secondary remark: another place involved, or a suggestion.
struct Note {
    std::string message;  ///< the note's text
    Location location;    ///< where it points; file empty when it points nowhere
};

/// One failure as the tool reports it.
struct Diagnostic {
    std::string message;      ///< the library's message, verbatim (UTF-8)
    Location location;        ///< where it is; file empty when the message concerns no file
    std::vector<Note> notes;  ///< other places and suggestions, in the order to show them
};

}  // namespace lumoidl::diagnostics
