#include "png_check.h"

#include <png.h>

namespace songservice::testing {

std::optional<DecodedImage> decodePng(std::string_view bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  DecodedImage decoded;
  decoded.width = image.width;
  decoded.height = image.height;
  decoded.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, decoded.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return decoded;
}

}  // namespace songservice::testing
