// Recognises a picture's format from its first bytes, the way a picture box decides
// whether it can show them.
#pragma once

#include "text/text.h"

namespace sp {

enum class ImageFormat { Unknown, Jpeg, Png, Gif, Bmp, Ico, Cur, Pcx };

// Unknown for empty bytes, fewer than 8 bytes or a signature not listed.
ImageFormat sniffImageFormat(const ByteBuffer& bytes);

}  // namespace sp
