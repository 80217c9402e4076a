// How the tool reports files that the library rejects.
#pragma once

#include <string>

#include "tools/inputs.h"
#include "tools/options.h"

namespace lumoidl::tool {

/// Reports the library's failure `message` (file names as handed to the library): each failure
/// found, located in the files, on standard error (the message alone with
/// --message-format=plain) and, with --format json, the library's own failure as the error
/// document where the listing would have gone. Returns the exit status: 1.
int reportFailure(const std::string& message, const InputSet& inputs, const Options& options);

}  // namespace lumoidl::tool
