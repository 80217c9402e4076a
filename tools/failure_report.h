// How the tool reports files that the library rejects.
#pragma once

#include <string>

#include "tools/inputs.h"
#include "tools/options.h"

namespace lumoidl::tool {

/// Reports the library's failure `message` (file names already as the user gave them): on
/// standard error and, with --format json, as the error document where the listing would have
/// gone. Returns the exit status, 1 for the failure (or for output that cannot be written).
int reportFailure(const std::string& message, const InputSet& inputs, const Options& options);

}  // namespace lumoidl::tool
