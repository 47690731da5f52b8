#include "ui/png_decoder.h"

#include <png.h>

#include <cstring>

namespace sp {

namespace {

// png_image holds libpng's reading state until png_image_free releases it.
class PngReader {
 public:
  PngReader() {
    std::memset(&image_, 0, sizeof image_);
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngReader() { png_image_free(&image_); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  png_image& image() { return image_; }

 private:
  png_image image_;
};

}  // namespace

std::optional<RgbaImage> decodePng(const ByteBuffer& bytes) {
  if (bytes.empty()) return std::nullopt;
  PngReader reader;
  png_image& image = reader.image();
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.view().size())) {
    return std::nullopt;
  }
  if (image.width == 0 || image.height == 0 ||
      int64_t{image.width} * int64_t{image.height} > kMaxDecodedPixels) {
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage decoded;
  decoded.width = static_cast<int32_t>(image.width);
  decoded.height = static_cast<int32_t>(image.height);
  decoded.pixels.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.pixels.data(), 0, nullptr)) {
    return std::nullopt;
  }
  return decoded;
}

}  // namespace sp
