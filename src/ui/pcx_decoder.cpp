#include "ui/pcx_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace sp {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr uint8_t kManufacturer = 0x0A;
constexpr uint8_t kRunLengthEncoding = 1;
// An 8-bit picture ends with this marker and 256 RGB triples.
constexpr uint8_t kPaletteMarker = 0x0C;
constexpr std::size_t kPaletteSize = 256 * 3;

struct PcxHeader {
  uint8_t bitsPerPixel = 0;
  uint8_t planes = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytesPerLine = 0;
};

uint16_t littleEndian16(std::span<const uint8_t> bytes, std::size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::optional<PcxHeader> readHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  if (bytes[0] != kManufacturer || bytes[2] != kRunLengthEncoding) return std::nullopt;
  const int32_t xMin = littleEndian16(bytes, 4);
  const int32_t yMin = littleEndian16(bytes, 6);
  const int32_t xMax = littleEndian16(bytes, 8);
  const int32_t yMax = littleEndian16(bytes, 10);
  PcxHeader header;
  header.bitsPerPixel = bytes[3];
  header.planes = bytes[65];
  header.bytesPerLine = littleEndian16(bytes, 66);
  if (xMax < xMin || yMax < yMin) return std::nullopt;
  header.width = xMax - xMin + 1;
  header.height = yMax - yMin + 1;
  const bool supported = header.bitsPerPixel == 8 && (header.planes == 1 || header.planes == 3);
  if (!supported || header.bytesPerLine < header.width) return std::nullopt;
  if (int64_t{header.width} * header.height > kMaxDecodedPixels) return std::nullopt;
  return header;
}

// Expands the run-length coded scan lines into exactly `size` bytes; runs may cross
// the end of a line. Nothing when the data end first.
std::optional<std::vector<uint8_t>> expandRuns(std::span<const uint8_t> encoded, std::size_t size) {
  // Two bytes of data give at most 63, so data fill at most 32 bytes per byte: a
  // header claiming more must not make us reserve gigabytes before finding out.
  if (size / 32 > encoded.size()) return std::nullopt;
  std::vector<uint8_t> plain;
  plain.reserve(size);
  std::size_t position = 0;
  while (plain.size() < size) {
    if (position >= encoded.size()) return std::nullopt;
    const uint8_t code = encoded[position++];
    if ((code & 0xC0) != 0xC0) {
      plain.push_back(code);
      continue;
    }
    if (position >= encoded.size()) return std::nullopt;
    const uint8_t value = encoded[position++];
    const std::size_t count = std::min<std::size_t>(code & 0x3F, size - plain.size());
    plain.insert(plain.end(), count, value);
  }
  return plain;
}

}  // namespace

std::optional<RgbaImage> decodePcx(const ByteBuffer& buffer) {
  const std::span<const uint8_t> bytes(buffer.data(), buffer.view().size());
  const std::optional<PcxHeader> header = readHeader(bytes);
  if (!header) return std::nullopt;

  std::span<const uint8_t> encoded = bytes.subspan(kHeaderSize);
  std::span<const uint8_t> palette;
  if (header->planes == 1) {
    if (encoded.size() < kPaletteSize + 1) return std::nullopt;
    const std::size_t markerAt = encoded.size() - kPaletteSize - 1;
    if (encoded[markerAt] != kPaletteMarker) return std::nullopt;
    palette = encoded.subspan(markerAt + 1);
    encoded = encoded.first(markerAt);
  }

  const std::size_t lineSize = std::size_t{header->planes} * std::size_t(header->bytesPerLine);
  const std::optional<std::vector<uint8_t>> plain =
      expandRuns(encoded, lineSize * std::size_t(header->height));
  if (!plain) return std::nullopt;

  RgbaImage image;
  image.width = header->width;
  image.height = header->height;
  image.pixels.resize(std::size_t(image.width) * std::size_t(image.height) * 4);
  const std::size_t planeSize = std::size_t(header->bytesPerLine);
  for (std::size_t y = 0; y < std::size_t(image.height); ++y) {
    const uint8_t* line = plain->data() + y * lineSize;
    uint8_t* out = image.pixels.data() + y * std::size_t(image.width) * 4;
    for (std::size_t x = 0; x < std::size_t(image.width); ++x, out += 4) {
      if (header->planes == 1) {
        const std::size_t entry = std::size_t{line[x]} * 3;
        out[0] = palette[entry];
        out[1] = palette[entry + 1];
        out[2] = palette[entry + 2];
      } else {
        out[0] = line[x];
        out[1] = line[planeSize + x];
        out[2] = line[2 * planeSize + x];
      }
      out[3] = 0xFF;
    }
  }
  return image;
}

}  // namespace sp
