// Cutting a GBK text into the pieces between separators.
#pragma once

#include "text/text.h"

namespace sp {

// The pieces between separators, in order. The separator matches only where a
// character begins, so a double-byte character is never cut. An empty text gives
// no pieces, and the piece after the last separator only when it is not empty.
TextArray splitText(const Text& text, const Text& separator);

}  // namespace sp
