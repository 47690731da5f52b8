// A reader of MPEG-1 audio frames for the tests, written apart from the encoder
// so that it checks the encoder instead of repeating it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace songservice::testing {

struct FrameHeader {
  int layer = 0;       // 1, 2 or 3
  int bitRate = 0;     // bits per second
  int sampleRate = 0;  // Hz
  bool padded = false;
  bool mono = false;
  std::size_t length = 0;  // bytes, header included
};

// The header at the start of bytes, when it is a valid MPEG-1 audio header
// (frame sync 0xFFE, no reserved or free-format field, a bit rate the layer allows).
std::optional<FrameHeader> readFrameHeader(std::string_view bytes);

struct FrameScan {
  std::size_t frames = 0;
  std::size_t validBytes = 0;  // bytes covered by whole valid frames from the start
  std::vector<FrameHeader> headers;
};

// Walks whole frames from the start until a header is invalid or the bytes end.
FrameScan scanFrames(std::string_view bytes);

struct LayerTwoFrame {
  std::vector<int> allocatedSubbands;
  std::vector<int> scaleFactors;
  bool audible = false;  // some sample is well away from silence
};

// Reads the audio data of a mono 44.1 kHz 128 kbit/s Layer II frame whose
// allocated subbands all carry 16-bit samples; nothing when the data are not valid.
std::optional<LayerTwoFrame> readLayerTwoFrame(std::string_view frame);

}  // namespace songservice::testing
