#include "mpeg_frames.h"

#include <array>
#include <cstdint>
#include <cstdlib>

namespace songservice::testing {
namespace {

// MPEG-1 bit rates in kbit/s by layer (rows) and bit rate index; 0 is free format.
constexpr std::array<std::array<int, 15>, 3> kBitRates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
}};
constexpr std::array<int, 3> kSampleRates = {44100, 48000, 32000};

class BitReader {
 public:
  explicit BitReader(std::string_view bytes) : bytes_(bytes) {}
  // Nothing when the bytes run out.
  std::optional<std::uint32_t> take(int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
      if (position_ / 8 >= bytes_.size()) return std::nullopt;
      const auto byte = static_cast<unsigned char>(bytes_[position_ / 8]);
      value = (value << 1) | ((byte >> (7 - position_ % 8)) & 1u);
      ++position_;
    }
    return value;
  }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

}  // namespace

std::optional<FrameHeader> readFrameHeader(std::string_view bytes) {
  if (bytes.size() < 4) return std::nullopt;
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0) return std::nullopt;
  if (((b(1) >> 3) & 3) != 3) return std::nullopt;  // MPEG-1 only
  const int layerBits = (b(1) >> 1) & 3;
  const int rateIndex = b(2) >> 4;
  const int sampleIndex = (b(2) >> 2) & 3;
  if (layerBits == 0 || rateIndex == 0 || rateIndex == 15 || sampleIndex == 3 || (b(3) & 3) == 2) {
    return std::nullopt;
  }
  FrameHeader header;
  header.layer = 4 - layerBits;
  header.bitRate =
      kBitRates[static_cast<std::size_t>(header.layer - 1)][static_cast<std::size_t>(rateIndex)] *
      1000;
  header.sampleRate = kSampleRates[static_cast<std::size_t>(sampleIndex)];
  header.padded = (b(2) >> 1) & 1;
  header.mono = (b(3) >> 6) == 3;
  if (header.layer == 2) {
    // Layer II forbids the highest rates for one channel and the lowest for two.
    const int kbits = header.bitRate / 1000;
    if (header.mono && kbits >= 224) return std::nullopt;
    if (!header.mono && (kbits == 32 || kbits == 48 || kbits == 56 || kbits == 80)) {
      return std::nullopt;
    }
  }
  header.length = header.layer == 1
                      ? static_cast<std::size_t>(
                            (12 * header.bitRate / header.sampleRate + (header.padded ? 1 : 0)) * 4)
                      : static_cast<std::size_t>(144 * header.bitRate / header.sampleRate +
                                                 (header.padded ? 1 : 0));
  return header;
}

FrameScan scanFrames(std::string_view bytes) {
  FrameScan scan;
  while (scan.validBytes < bytes.size()) {
    const auto header = readFrameHeader(bytes.substr(scan.validBytes));
    if (!header || scan.validBytes + header->length > bytes.size()) break;
    scan.validBytes += header->length;
    ++scan.frames;
    scan.headers.push_back(*header);
  }
  return scan;
}

std::optional<LayerTwoFrame> readLayerTwoFrame(std::string_view frame) {
  const auto header = readFrameHeader(frame);
  if (!header || header->layer != 2 || !header->mono || header->sampleRate != 44100 ||
      header->bitRate != 128000 || frame.size() != header->length) {
    return std::nullopt;
  }
  // ISO/IEC 11172-3 table B.2b: 30 subbands with 4, 3 and 2 allocation bits; in
  // every subband the highest allocation value means 65535 steps in 16 bits.
  const auto allocationBits = [](int subband) { return subband <= 10 ? 4 : subband <= 22 ? 3 : 2; };
  BitReader bits(frame.substr(4));  // no CRC: the protection bit says so
  LayerTwoFrame result;
  for (int sb = 0; sb < 30; ++sb) {
    const int width = allocationBits(sb);
    const auto value = bits.take(width);
    if (!value) return std::nullopt;
    if (*value == 0) continue;
    if (*value != (1u << width) - 1) return std::nullopt;  // a class this reader does not know
    result.allocatedSubbands.push_back(sb);
  }
  std::vector<int> factorCounts;
  for (std::size_t i = 0; i < result.allocatedSubbands.size(); ++i) {
    const auto select = bits.take(2);
    if (!select) return std::nullopt;
    factorCounts.push_back(*select == 0 ? 3 : *select == 2 ? 1 : 2);
  }
  for (int count : factorCounts) {
    for (int i = 0; i < count; ++i) {
      const auto factor = bits.take(6);
      if (!factor || *factor == 63) return std::nullopt;  // 63 is not a scale factor
      result.scaleFactors.push_back(static_cast<int>(*factor));
    }
  }
  for (int granule = 0; granule < 12; ++granule) {
    for (std::size_t sb = 0; sb < result.allocatedSubbands.size(); ++sb) {
      for (int i = 0; i < 3; ++i) {
        const auto code = bits.take(16);
        if (!code || *code == 0xFFFF) return std::nullopt;  // all ones is forbidden
        if (std::abs(static_cast<int>(*code) - 32767) > 1000) result.audible = true;
      }
    }
  }
  return result;
}

}  // namespace songservice::testing
