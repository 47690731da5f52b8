// Finding a text inside a GBK text without matching across a double-byte character.
#pragma once

#include "text/text.h"

namespace sp {

// The 1-based byte position of needle's first occurrence in haystack, or 0 when
// there is none (an empty needle is never found). Bytes compare exactly; a match
// starts only at a character boundary as the code-page converter reads the text
// (a lead byte 0x81-0xFE with a trail byte 0x40-0xFE but 0x7F is one character),
// so the trail byte 0x5C of a character such as 0x95 0x5C is never taken for a
// backslash, and a backslash after a lone 0x80 is.
int32_t findText(const Text& haystack, const Text& needle);

}  // namespace sp
