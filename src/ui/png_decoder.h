// PNG pictures through libpng's simplified reading interface, straight from memory.
#pragma once

#include <optional>

#include "text/text.h"
#include "ui/rgba_image.h"

namespace sp {

// Nothing when the bytes are not a PNG that libpng can read whole, or when the
// picture is larger than kMaxDecodedPixels.
std::optional<RgbaImage> decodePng(const ByteBuffer& bytes);

}  // namespace sp
