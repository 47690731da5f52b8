// Percent-encoding of query values and decoding of the song service's answers.
#pragma once

#include "text/text.h"

namespace sp {

// keepSafe sends A-Z a-z 0-9 ' ( ) * - . _ as they are; a space always becomes "+",
// zero bytes vanish, every other byte becomes "%XX". viaUtf8 encodes the text's
// UTF-8 form instead of its GBK bytes.
Text urlEncode(const Text& text, bool keepSafe, bool viaUtf8);
Text urlEncodeBytes(const ByteBuffer& bytes, bool keepSafe);

// "+" becomes a space and "%" with what follows becomes the byte that "%x" reads
// there; fromUtf8 reads the decoded bytes as UTF-8. A decoded zero byte ends the text.
Text urlDecode(const Text& text, bool fromUtf8);

}  // namespace sp
