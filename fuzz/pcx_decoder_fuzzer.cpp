// Picture bytes as an avatar service might send them: the format sniffing and the
// program's own PCX reader, which must stay inside the bytes whatever they claim.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "fuzz_check.h"
#include "text/text.h"
#include "ui/image_format.h"
#include "ui/pcx_decoder.h"
#include "ui/rgba_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const sp::ByteBuffer bytes(data, size);
  const sp::ImageFormat format = sp::sniffImageFormat(bytes);
  if (size < 8) FUZZ_CHECK(format == sp::ImageFormat::Unknown);

  // Decoded whatever the sniffing says: the reader is only safe if it needs no gate.
  const std::optional<sp::RgbaImage> image = sp::decodePcx(bytes);
  if (!image) return 0;
  FUZZ_CHECK(data[0] == 0x0A);
  FUZZ_CHECK(image->width > 0 && image->height > 0);
  FUZZ_CHECK(int64_t{image->width} * image->height <= sp::kMaxDecodedPixels);
  FUZZ_CHECK(image->pixels.size() == std::size_t(image->width) * std::size_t(image->height) * 4);
  for (std::size_t alpha = 3; alpha < image->pixels.size(); alpha += 4) {
    FUZZ_CHECK(image->pixels[alpha] == 0xFF);  // PCX has no transparency
  }
  return 0;
}
