// Whether a text is JSON data and nothing else, before it is handed to a script engine.
#pragma once

#include "text/text.h"

namespace sp {

// True only for a syntactically valid JSON text whose root is an object or an
// array, with white space around it allowed. The text is GBK: inside strings a
// double-byte character is content, and its trail byte never ends the string
// or starts an escape. Iterative and linear, so any nesting depth is safe.
bool isJsonContainerText(const Text& text);

}  // namespace sp
