// Running the language server over a pair of streams.
#pragma once

#include <istream>
#include <ostream>

namespace lumoidl::lsp {

/// Serves one client: reads frames from `in` on a thread of its own, handles them in order on
/// the calling thread, and re-checks the workspace once edits have paused. Returns the exit
/// status when the client sends `exit` or `in` ends.
int runServer(std::istream& in, std::ostream& out);

}  // namespace lumoidl::lsp
