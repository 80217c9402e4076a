// ErrorMessage: composes a message into the parse result's error text, piece by piece.
#pragma once

#include <cstdint>
#include <string_view>

#include "errors/lumo_string.h"
#include "lumoidl/lumoidl.h"

namespace ZEMRA {

/// Composes one message: set() replaces the error text with the first piece, the other
/// calls append. Names are UTF-8 and are converted to UTF-16 on the way in.
class ErrorMessage {
public:
    /// Composes into `target` (the result's error text).
    explicit ErrorMessage(LumoStringImpl& target) : ErrorMessage(target.text) {}
    /// Composes into the text `target`.
    explicit ErrorMessage(LumoText& target) : target_(target) {}

    /// Replaces the text with the UTF-16 literal `first`.
    ErrorMessage& set(const LumoChar* first);
    /// Replaces the text with the UTF-8 (in practice ASCII) literal `first`.
    ErrorMessage& set(std::string_view first);
    /// Appends a zero-terminated UTF-16 text (a literal or a file name as the host gave it).
    ErrorMessage& text(const LumoChar* piece);
    /// Appends a UTF-8 text converted to UTF-16, up to the first zero unit it converts to.
    ErrorMessage& utf8(std::string_view piece);
    /// Appends a UTF-8 name between double quotes.
    ErrorMessage& quoted(std::string_view name);
    /// Appends a zero-terminated UTF-16 text (a file name, a uuid text) between double quotes.
    ErrorMessage& quotedText(const LumoChar* text);
    /// Appends " in " and the file name between double quotes, the tail of most rule messages.
    ErrorMessage& inFile(const LumoChar* file);
    /// Appends a number in decimal.
    ErrorMessage& number(uint32_t value);
    /// Appends one byte widened to one unit (the closing quote of some messages).
    ErrorMessage& character(char c);

private:
    LumoText& target_;
};

}  // namespace ZEMRA
