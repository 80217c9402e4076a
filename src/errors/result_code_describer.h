// The host architecture's result-code describer, as registered by the host.
#pragma once

#include "lumoidl/lumoidl.h"

namespace ZEMRA {

/// A describer writes the standard description of `code` into `text`.
using ResultCodeDescriber = void (*)(LUMORESULT code, ILumoString* text);

/// Registers the describer used by every lumora_error composed in this module from now on;
/// null goes back to the fixed text. Registering while texts are composed is not safe.
void setResultCodeDescriber(ResultCodeDescriber describer);

/// Writes the description of `code` into `text`: the registered describer's, or else the
/// fixed text "Result code N" with N in decimal.
void describeResultCode(LUMORESULT code, ILumoString* text);

}  // namespace ZEMRA
