// Decoded pixels in a form that needs no GUI library: rows top-down, four bytes
// (red, green, blue, alpha) per pixel, no padding.
#pragma once

#include <cstdint>
#include <vector>

namespace sp {

struct RgbaImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes

  bool empty() const { return width <= 0 || height <= 0; }
};

// Pictures larger than this are refused rather than allocated: an avatar is small,
// and a hostile header must not make the program ask for gigabytes.
inline constexpr int64_t kMaxDecodedPixels = int64_t{16} * 1024 * 1024;

}  // namespace sp
