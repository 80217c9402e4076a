// UuidField: a uuid value as declarations hold it, with its text form built on demand.
#pragma once

#include <memory>

#include "lumoidl/lumoidl.h"

namespace ZEMRA::IDL::PARSER {

/// A 16-byte uuid (all zero on construction) and its cached 36-character text. The value is
/// the first member, so a pointer to the field is a pointer to its LumoUUID. Copying copies
/// the bytes only; the text belongs to each field alone.
class UuidField {
public:
    UuidField() = default;
    /// Copies the 16 bytes of `other`, not its text.
    UuidField(const UuidField& other) : value(other.value) {}
    /// Copies the 16 bytes of `other` and drops this field's text.
    UuidField& operator=(const UuidField& other);
    /// Stores `bytes` and drops the text.
    void assign(const LumoUUID& bytes);

    /// Parses 36 characters, or 38 with braces: hexadecimal digits with "-" at positions 8, 13,
    /// 18 and 23. Returns false and leaves the value unchanged when the text is malformed.
    bool parseUuid(const char* text);
    /// True when all 16 bytes are zero.
    bool isNullUuid() const;
    /// The 36 upper-case characters (zero-terminated, no braces), built on first request.
    const LumoChar* uuidText() const;

    /// The 16 bytes, in the order the text writes them.
    LumoUUID value{};

private:
    mutable std::unique_ptr<LumoChar[]> text_;
};

}  // namespace ZEMRA::IDL::PARSER
