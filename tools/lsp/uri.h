// Conversion between file paths and the file URIs a language client names documents by.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumoidl::lsp {

/// The `file://` URI of the absolute path `path`: bytes other than unreserved ones and '/'
/// percent-encoded.
std::string pathToUri(std::string_view path);

/// The path a `file://` URI names, percent-escapes decoded; no value for another scheme, a
/// host other than empty or localhost, or a bad escape.
std::optional<std::string> uriToPath(std::string_view uri);

}  // namespace lumoidl::lsp
