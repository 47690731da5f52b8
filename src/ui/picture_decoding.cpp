#include "ui/picture_decoding.h"

#include <optional>

#include "ui/pcx_decoder.h"
#include "ui/png_decoder.h"

namespace sp {

namespace {

// The name of Qt's image reader for a format that Qt reads.
const char* qtReaderFor(ImageFormat format) {
  switch (format) {
    case ImageFormat::Jpeg:
      return "jpeg";
    case ImageFormat::Gif:
      return "gif";
    case ImageFormat::Bmp:
      return "bmp";
    case ImageFormat::Ico:
      return "ico";
    case ImageFormat::Cur:
      return "cur";
    default:
      return nullptr;
  }
}

QImage fromDecoded(const std::optional<RgbaImage>& image) {
  return image ? toQImage(*image) : QImage();
}

}  // namespace

QImage toQImage(const RgbaImage& image) {
  if (image.empty()) return {};
  // The view on the vector is copied, so the QImage owns its pixels.
  return QImage(image.pixels.data(), image.width, image.height, image.width * 4,
                QImage::Format_RGBA8888)
      .copy();
}

QImage decodeStillPicture(const ByteBuffer& bytes) {
  const ImageFormat format = sniffImageFormat(bytes);
  switch (format) {
    case ImageFormat::Unknown:
      return {};
    case ImageFormat::Png:
      return fromDecoded(decodePng(bytes));
    case ImageFormat::Pcx:
      return fromDecoded(decodePcx(bytes));
    default:
      return QImage::fromData(QByteArray(bytes.view().data(), bytes.length()), qtReaderFor(format));
  }
}

}  // namespace sp
