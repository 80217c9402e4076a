// IDL declarations for the tests of the semantic passes, and a runner of {library body, exact message} tables.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/parse_sources.h"

namespace lumoidl::test {

/// The uuid text 5F0C2E61-7A3B-4C8D-9E1F- followed by `n` in twelve hexadecimal digits; 0 is the null uuid.
inline std::string uuidNo(unsigned n) {
    if (n == 0) return "00000000-0000-0000-0000-000000000000";
    char text[40];
    std::snprintf(text, sizeof text, "5F0C2E61-7A3B-4C8D-9E1F-%012X", n);
    return text;
}

/// The uuid of every library unless told otherwise; no pass compares library uuids.
inline const std::string kLibraryUuid = "6C1B3A10-2F4E-4D8A-9B1C-0E7F5A2D3C41";

/// The library `name` holding `body`.
inline std::string library(const std::string& name, const std::string& body, const std::string& uuid = kLibraryUuid) {
    return "[uuid(" + uuid + ")] library " + name + " {\n" + body + "};\n";
}

/// An interface; `header` is its name with any template parameters, as "IBox<T>".
inline std::string iface(const std::string& header, unsigned uuid, const std::string& methods = "") {
    return "[uuid(" + uuidNo(uuid) + ")] interface " + header + " {\n" + methods + "};\n";
}

/// An enumeration with the items `items`.
inline std::string enumeration(const std::string& name, unsigned uuid, const std::string& items = "R = 1") {
    return "[uuid(" + uuidNo(uuid) + ")] enum { " + items + " } " + name + ";\n";
}

/// A category ID.
inline std::string category(const std::string& name, unsigned uuid) {
    return "[uuid(" + uuidNo(uuid) + ")] category " + name + ";\n";
}

/// A body of the library L and its whole message, "" when it passes; "{file}" stands for the file's path.
struct RuleCase {
    std::string body;
    std::string message;
};

/// Parses each row. A failing row's body is followed by `tail`, a declaration that fails if it is reached, so
/// that every row also checks that its phase ends at its failure. The library is handed over all the same.
inline void expectRules(const std::string& tail, const std::vector<RuleCase>& rows,
                        const std::string& libraryUuid = kLibraryUuid) {
    for (const RuleCase& row : rows) {
        SCOPED_TRACE(row.body);
        ParsedSources parsed({library("L", row.body + (row.message.empty() ? "" : tail), libraryUuid)});
        std::string expected = row.message;
        if (const size_t at = expected.find("{file}"); at != std::string::npos) expected.replace(at, 6, parsed.file(0));
        EXPECT_EQ(parsed.error(), expected);
        EXPECT_EQ(parsed.result().libraries.size(), 1u);
    }
}

}  // namespace lumoidl::test
