// A small PCX reader for the two kinds a picture box meets: 8 bits per pixel with a
// 256-colour palette at the end of the file, and 24-bit colour in three planes,
// both run-length encoded. It reads only inside the given bytes, whatever they hold.
#pragma once

#include <optional>

#include "text/text.h"
#include "ui/rgba_image.h"

namespace sp {

// Nothing for another kind of PCX, a header that does not add up, pixel data or a
// palette cut short, or a picture larger than kMaxDecodedPixels.
std::optional<RgbaImage> decodePcx(const ByteBuffer& bytes);

}  // namespace sp
