// Still pictures from bytes: the format comes from the first bytes; PNG and PCX are
// decoded by the program's own readers, the rest by Qt's image readers.
#pragma once

#include <QImage>

#include "text/text.h"
#include "ui/image_format.h"
#include "ui/rgba_image.h"

namespace sp {

QImage toQImage(const RgbaImage& image);

// A null image for bytes of no recognised format or that do not decode. A GIF gives
// its first frame; a picture box plays it with QMovie instead.
QImage decodeStillPicture(const ByteBuffer& bytes);

}  // namespace sp
