// Small pictures in the formats a picture box meets, built in code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sp::testing {

struct Rgb {
  uint8_t red, green, blue;
};

// Run-length codes one plane line the way PCX writers do (runs of 1 to 63; a single
// byte with both top bits set still needs a run of one).
inline std::string pcxRuns(const std::vector<uint8_t>& plain) {
  std::string encoded;
  for (std::size_t i = 0; i < plain.size();) {
    std::size_t run = 1;
    while (i + run < plain.size() && plain[i + run] == plain[i] && run < 63) ++run;
    if (run > 1 || (plain[i] & 0xC0) == 0xC0) {
      encoded.push_back(static_cast<char>(0xC0 | run));
    }
    encoded.push_back(static_cast<char>(plain[i]));
    i += run;
  }
  return encoded;
}

inline std::string pcxHeader(int width, int height, uint8_t planes, int bytesPerLine) {
  std::string header(128, '\0');
  header[0] = 0x0A;
  header[1] = 5;
  header[2] = 1;
  header[3] = 8;
  const auto put16 = [&](std::size_t at, int value) {
    header[at] = static_cast<char>(value & 0xFF);
    header[at + 1] = static_cast<char>((value >> 8) & 0xFF);
  };
  put16(8, width - 1);
  put16(10, height - 1);
  header[65] = static_cast<char>(planes);
  put16(66, bytesPerLine);
  return header;
}

// An 8-bit picture: `indexes` row by row, lines padded to an even length, then the
// palette marker and 256 colours (those not given are black).
inline std::string pcx8(int width, int height, const std::vector<uint8_t>& indexes,
                        const std::vector<Rgb>& palette) {
  const int bytesPerLine = width + (width % 2);
  std::string file = pcxHeader(width, height, 1, bytesPerLine);
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> line(indexes.begin() + y * width, indexes.begin() + (y + 1) * width);
    line.resize(static_cast<std::size_t>(bytesPerLine), 0);
    file += pcxRuns(line);
  }
  file.push_back(0x0C);
  std::string colours(768, '\0');
  for (std::size_t i = 0; i < palette.size(); ++i) {
    colours[i * 3] = static_cast<char>(palette[i].red);
    colours[i * 3 + 1] = static_cast<char>(palette[i].green);
    colours[i * 3 + 2] = static_cast<char>(palette[i].blue);
  }
  return file + colours;
}

// A 24-bit picture in three planes per line.
inline std::string pcx24(int width, int height, const std::vector<Rgb>& pixels) {
  const int bytesPerLine = width + (width % 2);
  std::string file = pcxHeader(width, height, 3, bytesPerLine);
  for (int y = 0; y < height; ++y) {
    for (int plane = 0; plane < 3; ++plane) {
      std::vector<uint8_t> line(static_cast<std::size_t>(bytesPerLine), 0);
      for (int x = 0; x < width; ++x) {
        const Rgb& pixel = pixels[static_cast<std::size_t>(y * width + x)];
        line[static_cast<std::size_t>(x)] = plane == 0   ? pixel.red
                                            : plane == 1 ? pixel.green
                                                         : pixel.blue;
      }
      file += pcxRuns(line);
    }
  }
  return file;
}

// A 1 x 1 GIF with two frames, red then blue, a tenth of a second each, looping.
inline std::string twoFrameGif() {
  const std::string header("GIF89a\x01\x00\x01\x00\x80\x00\x00", 13);
  const std::string colours("\xFF\x00\x00\x00\x00\xFF", 6);
  const std::string loop("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
  const std::string delay("\x21\xF9\x04\x00\x0A\x00\x00\x00", 8);
  const std::string descriptor("\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
  // LZW, minimum code size 2: clear, the colour index, end.
  const std::string redPixel("\x02\x02\x44\x01\x00", 5);
  const std::string bluePixel("\x02\x02\x4C\x01\x00", 5);
  return header + colours + loop + delay + descriptor + redPixel + delay + descriptor + bluePixel +
         "\x3B";
}

}  // namespace sp::testing
