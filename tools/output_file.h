// Sending a listing to standard output or, whole or not at all, to a file.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace lumoidl::tool {

/// Runs `render` on standard output when `file` is empty; otherwise on a temporary file beside
/// `file` that then replaces it, so that `file` is never left half written. Returns the exit
/// status: 0, or 1 after a message on standard error when the output cannot be written.
int writeOutput(const std::string& file, const std::function<void(std::ostream&)>& render);

}  // namespace lumoidl::tool
