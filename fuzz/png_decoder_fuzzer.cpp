// Picture bytes as an avatar service might send them: the format sniffing and the
// PNG reader the picture boxes use (libpng's simplified interface, from memory).
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz_check.h"
#include "text/text.h"
#include "ui/image_format.h"
#include "ui/png_decoder.h"
#include "ui/rgba_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const sp::ByteBuffer bytes(data, size);
  const sp::ImageFormat format = sp::sniffImageFormat(bytes);
  if (size < 8) FUZZ_CHECK(format == sp::ImageFormat::Unknown);

  const std::optional<sp::RgbaImage> image = sp::decodePng(bytes);
  if (!image) return 0;
  // libpng reads nothing without the full signature, which the sniffing knows.
  FUZZ_CHECK(format == sp::ImageFormat::Png);
  FUZZ_CHECK(image->width > 0 && image->height > 0);
  FUZZ_CHECK(int64_t{image->width} * image->height <= sp::kMaxDecodedPixels);
  FUZZ_CHECK(image->pixels.size() == std::size_t(image->width) * std::size_t(image->height) * 4);
  return 0;
}
