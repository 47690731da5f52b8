// MPEG-1 Audio Layer II frames carrying a tone in one subband.
//
// Layer II rather than Layer III: a tone placed in one subband of the
// polyphase filter bank needs no psychoacoustic model, no MDCT and no Huffman
// tables, only a bit allocation, one scale factor and the subband samples, and
// the result is valid MPEG audio that MP3 players decode. Layer II rather than
// Layer I: its frames hold 1152 samples like Layer III's, its padding byte lets a
// stream reach any size exactly, and more decoders accept it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace songservice {

// Mono, 44.1 kHz, 128 kbit/s: frames of 417 bytes, 418 with the padding byte.
inline constexpr int kSampleRate = 44100;
inline constexpr int kBitRate = 128000;
inline constexpr int kSamplesPerFrame = 1152;
inline constexpr std::size_t kFrameBytes = 417;
inline constexpr int kSubbands = 32;
// The subbands that the bit allocation table of this rate and sample rate covers.
inline constexpr int kCodedSubbands = 30;
inline constexpr int kSubbandSamplesPerFrame = kSamplesPerFrame / kSubbands;  // 36
inline constexpr double kSubbandWidthHz = kSampleRate / 2.0 / kSubbands;      // 689.0625

using SubbandSamples = std::array<double, kSubbandSamplesPerFrame>;

// One frame whose only coded subband carries the given samples (each within
// [-1, 1]) at 16-bit precision, scaled by 2^(1 - scaleFactorIndex / 3).
std::string encodeFrame(int subband, int scaleFactorIndex, const SubbandSamples& samples,
                        bool padded);

struct Tone {
  double frequencyHz = 440;  // away from the edges of its subband, below 20 kHz
  double seconds = 2;
  int scaleFactorIndex = 9;  // 0 loudest, 62 quietest
};

// A whole file: the tone with a short fade in and out, padded the way an encoder
// pads 44.1 kHz streams so that the average bit rate is exact.
std::string encodeTone(const Tone& tone);

// The tone of a catalogue song: different for every id below 48.
Tone toneForSong(int id);

// Exactly a given number of bytes of valid frames of a steady tone, produced
// piecewise so that big files are never held in memory.
class FrameStream {
 public:
  // Every size from kFrameBytes * (kFrameBytes - 1) bytes on can be made of whole frames.
  static std::optional<FrameStream> ofSize(std::uint64_t totalBytes);

  std::uint64_t size() const { return totalBytes_; }
  // Copies the stream's bytes [offset, offset + length) to out; the range must lie inside.
  void read(std::uint64_t offset, char* out, std::size_t length) const;

 private:
  FrameStream(std::uint64_t totalBytes, std::uint64_t paddedFrames);

  std::uint64_t totalBytes_;
  std::uint64_t paddedFrames_;  // the stream starts with these, then plain frames follow
  std::string paddedFrame_;
  std::string plainFrame_;
};

}  // namespace songservice
