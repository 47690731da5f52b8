#include "mpeg_audio.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "bit_writer.h"

namespace songservice {
namespace {

// Bits of each subband's allocation field in the MPEG-1 Layer II table for
// 44.1 kHz at 96 to 192 kbit/s per channel.
constexpr std::array<int, kCodedSubbands> kAllocationBits = {
    4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2};

constexpr double kSubbandSampleRate = static_cast<double>(kSampleRate) / kSubbands;
// Bit rate index 8 is 128 kbit/s for Layer II; sampling index 0 is 44.1 kHz.
constexpr unsigned kBitRateIndex = 8;
// Every subband's highest allocation value selects 65535 quantisation steps, 16 bits.
constexpr int kSampleBits = 16;
// Scale factor select 2: one scale factor serves the frame's three parts.
constexpr unsigned kOneScaleFactor = 2;
// The fade in and out, in subband samples (about 20 ms).
constexpr int kFadeSamples = 28;

std::string header(bool padded) {
  std::string bytes(4, '\0');
  bytes[0] = static_cast<char>(0xFF);  // frame sync ...
  bytes[1] = static_cast<char>(0xFD);  // ... MPEG-1, Layer II, no CRC
  bytes[2] = static_cast<char>((kBitRateIndex << 4) | (padded ? 0x02 : 0x00));
  bytes[3] = static_cast<char>(0xC4);  // single channel, original, no emphasis
  return bytes;
}

// The 16-bit code whose dequantised value is nearest to the sample; the all-ones
// code is forbidden, so the codes run from 0 to 65534 with 32767 for silence.
std::uint32_t quantise(double sample) {
  const double clamped = std::clamp(sample, -1.0, 1.0);
  return static_cast<std::uint32_t>(std::lround((clamped + 1.0) * 32767.0));
}

struct SubbandTone {
  int subband;
  double subbandFrequencyHz;  // the frequency inside the subband's own sample stream
};

// A tone at f sits in subband k = f / width. The filter bank mirrors odd
// subbands, so there the subband stream must carry the distance from the top edge.
SubbandTone placeTone(double frequencyHz) {
  const int subband =
      std::clamp(static_cast<int>(frequencyHz / kSubbandWidthHz), 0, kCodedSubbands - 1);
  const double offset = frequencyHz - subband * kSubbandWidthHz;
  return {subband, subband % 2 == 0 ? offset : kSubbandWidthHz - offset};
}

}  // namespace

std::string encodeFrame(int subband, int scaleFactorIndex, const SubbandSamples& samples,
                        bool padded) {
  BitWriter bits;
  for (int sb = 0; sb < kCodedSubbands; ++sb) {
    const int width = kAllocationBits[static_cast<std::size_t>(sb)];
    bits.put(sb == subband ? (1u << width) - 1 : 0u, width);
  }
  bits.put(kOneScaleFactor, 2);
  bits.put(static_cast<std::uint32_t>(std::clamp(scaleFactorIndex, 0, 62)), 6);
  // Twelve granules of three samples each; only the one subband has any.
  for (double sample : samples) bits.put(quantise(sample), kSampleBits);

  std::string frame = header(padded) + bits.bytes();
  frame.resize(kFrameBytes + (padded ? 1 : 0), '\0');  // the rest is ancillary data
  return frame;
}

std::string encodeTone(const Tone& tone) {
  const auto frames = static_cast<int>(std::ceil(tone.seconds * kSampleRate / kSamplesPerFrame));
  const int total = frames * kSubbandSamplesPerFrame;
  const SubbandTone placed = placeTone(tone.frequencyHz);
  const double step = 2 * std::numbers::pi * placed.subbandFrequencyHz / kSubbandSampleRate;

  // 144 * bit rate / sample rate is 417.96 bytes: a padding byte whenever the
  // remainder has added up to a whole one.
  constexpr int remainderPerFrame = 144 * kBitRate % kSampleRate;
  int remainder = 0;
  std::string file;
  file.reserve(static_cast<std::size_t>(frames) * (kFrameBytes + 1));
  for (int f = 0; f < frames; ++f) {
    SubbandSamples samples{};
    for (int i = 0; i < kSubbandSamplesPerFrame; ++i) {
      const int n = f * kSubbandSamplesPerFrame + i;
      const double fade = std::min({1.0, static_cast<double>(n) / kFadeSamples,
                                    static_cast<double>(total - 1 - n) / kFadeSamples});
      samples[static_cast<std::size_t>(i)] = fade * std::cos(step * n);
    }
    remainder += remainderPerFrame;
    const bool padded = remainder >= kSampleRate;
    if (padded) remainder -= kSampleRate;
    file += encodeFrame(placed.subband, tone.scaleFactorIndex, samples, padded);
  }
  return file;
}

Tone toneForSong(int id) {
  // G4 A4 C5 A5 C6 D6 G6 A6: each well inside its subband.
  static constexpr std::array<double, 8> notes = {392.0,  440.0,   523.25, 880.0,
                                                  1046.5, 1174.66, 1568.0, 1760.0};
  const auto index = static_cast<unsigned>(std::max(id - 1, 0));
  return Tone{notes[index % notes.size()], 2.0 + (index / notes.size()) % 3,
              (index / (notes.size() * 3)) % 2 == 0 ? 9 : 12};
}

std::optional<FrameStream> FrameStream::ofSize(std::uint64_t totalBytes) {
  // total = plain * 417 + padded * 418 = frames * 417 + padded, padded <= frames.
  const std::uint64_t frames = totalBytes / kFrameBytes;
  const std::uint64_t padded = totalBytes % kFrameBytes;
  if (frames == 0 || padded > frames) return std::nullopt;
  return FrameStream(totalBytes, padded);
}

FrameStream::FrameStream(std::uint64_t totalBytes, std::uint64_t paddedFrames)
    : totalBytes_(totalBytes), paddedFrames_(paddedFrames) {
  // A quarter of the subband sample rate repeats every four samples, so every
  // frame carries the same samples and the tone runs on without a seam.
  SubbandSamples samples{};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    static constexpr std::array<double, 4> period = {1.0, 0.0, -1.0, 0.0};
    samples[i] = period[i % period.size()];
  }
  paddedFrame_ = encodeFrame(1, 12, samples, true);
  plainFrame_ = encodeFrame(1, 12, samples, false);
}

void FrameStream::read(std::uint64_t offset, char* out, std::size_t length) const {
  const std::uint64_t paddedBytes = paddedFrames_ * (kFrameBytes + 1);
  while (length > 0) {
    const std::string& frame = offset < paddedBytes ? paddedFrame_ : plainFrame_;
    const std::uint64_t inFrame =
        offset < paddedBytes ? offset % frame.size() : (offset - paddedBytes) % frame.size();
    const std::size_t count =
        std::min<std::size_t>(length, frame.size() - static_cast<std::size_t>(inFrame));
    std::copy_n(frame.data() + inFrame, count, out);
    out += count;
    offset += count;
    length -= count;
  }
}

}  // namespace songservice
