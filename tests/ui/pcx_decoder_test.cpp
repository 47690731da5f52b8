// The PCX reader: both kinds it supports decode to the right pixels, and no input,
// however cut or mangled, makes it read outside the bytes it was given.
#include "ui/pcx_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "test_pictures.h"

namespace sp {
namespace {

using testing::Rgb;

std::vector<uint8_t> rgba(std::initializer_list<Rgb> pixels) {
  std::vector<uint8_t> bytes;
  for (const Rgb& pixel : pixels)
    bytes.insert(bytes.end(), {pixel.red, pixel.green, pixel.blue, 255});
  return bytes;
}

const Rgb kRed{255, 0, 0};
const Rgb kGreen{0, 255, 0};
const Rgb kBlue{0, 0, 255};
const Rgb kWhite{255, 255, 255};

TEST(PcxDecoder, EightBitPictureTakesItsColoursFromTheClosingPalette) {
  // Three pixels a line: each line is padded to four bytes, the padding is not shown.
  const std::string file =
      testing::pcx8(3, 2, {1, 2, 3, 3, 3, 0xC5}, {{0, 0, 0}, kRed, kGreen, kBlue, {}, {}});
  const std::optional<RgbaImage> image = decodePcx(ByteBuffer(file));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels, rgba({kRed, kGreen, kBlue, kBlue, kBlue, {0, 0, 0}}));
}

TEST(PcxDecoder, TwentyFourBitPictureReadsItsThreePlanes) {
  const std::string file = testing::pcx24(2, 2, {kRed, kGreen, kBlue, kWhite});
  const std::optional<RgbaImage> image = decodePcx(ByteBuffer(file));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->pixels, rgba({kRed, kGreen, kBlue, kWhite}));
}

TEST(PcxDecoder, RunsMayCrossLineEndsAndAreCutAtThePictureEnd) {
  // 2 x 2, 8-bit: one run of 63 bytes of colour 1 covers both lines and more.
  std::string file = testing::pcxHeader(2, 2, 1, 2) + std::string("\xFF\x01", 2);
  file.push_back(0x0C);
  std::string palette(768, '\0');
  palette[3] = '\x10';
  palette[4] = '\x20';
  palette[5] = '\x30';
  const std::optional<RgbaImage> image = decodePcx(ByteBuffer(file + palette));
  ASSERT_TRUE(image);
  const Rgb colour{0x10, 0x20, 0x30};
  EXPECT_EQ(image->pixels, rgba({colour, colour, colour, colour}));
}

TEST(PcxDecoder, APictureCutShortAnywhereGivesNothing) {
  const std::string files[] = {
      testing::pcx8(5, 4, std::vector<uint8_t>(20, 7), {kRed}),
      testing::pcx24(5, 4, std::vector<Rgb>(20, kGreen)),
  };
  for (const std::string& file : files) {
    ASSERT_TRUE(decodePcx(ByteBuffer(file)));
    for (std::size_t length = 0; length < file.size(); ++length) {
      SCOPED_TRACE(length);
      // A copy of just that many bytes, so that a read past the end is caught.
      EXPECT_FALSE(decodePcx(ByteBuffer(file.substr(0, length))));
    }
  }
}

TEST(PcxDecoder, HeadersThatDoNotAddUpGiveNothing) {
  struct Case {
    const char* fault;
    std::size_t offset;
    uint8_t value;
  };
  const Case cases[] = {
      {"manufacturer", 0, 0x0B},
      {"not run-length encoded", 2, 0},
      {"4 bits per pixel", 3, 4},
      {"1 bit per pixel", 3, 1},
      {"two planes", 65, 2},
      {"four planes", 65, 4},
      {"right edge left of the left edge", 4, 0xFF},
      {"bytes per line shorter than a line", 66, 1},
      {"no palette marker", std::string::npos, 0x0B},
  };
  const std::string good = testing::pcx8(4, 2, std::vector<uint8_t>(8, 1), {kRed, kBlue});
  ASSERT_TRUE(decodePcx(ByteBuffer(good)));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    std::string bad = good;
    const std::size_t at = c.offset == std::string::npos ? bad.size() - 769 : c.offset;
    bad[at] = static_cast<char>(c.value);
    EXPECT_FALSE(decodePcx(ByteBuffer(bad)));
  }
}

TEST(PcxDecoder, HugeDimensionsAreRefusedWithoutAllocating) {
  // 65536 x 65536 pixels claimed by a 1 KiB file.
  std::string file = testing::pcxHeader(65536, 65536, 3, 65535);
  file[8] = '\xFF';
  file[9] = '\xFF';
  file[10] = '\xFF';
  file[11] = '\xFF';
  file += std::string(1024, '\xFF');
  EXPECT_FALSE(decodePcx(ByteBuffer(file)));
}

TEST(PcxDecoder, MangledDataNeverReadsOutOfBounds) {
  const std::string seeds[] = {
      testing::pcx8(7, 5, std::vector<uint8_t>(35, 0xC3), {kRed, kGreen}),
      testing::pcx24(6, 3, std::vector<Rgb>(18, kBlue)),
  };
  std::mt19937 random(20200720);
  int decoded = 0;
  for (const std::string& seed : seeds) {
    for (int round = 0; round < 2000; ++round) {
      std::string mangled = seed;
      const int flips = 1 + static_cast<int>(random() % 8);
      for (int i = 0; i < flips; ++i) {
        // Keep the manufacturer byte and most of the header, so the data are read.
        const std::size_t at = 4 + random() % (mangled.size() - 4);
        mangled[at] = static_cast<char>(random());
      }
      mangled.resize(mangled.size() - random() % 16);
      const std::optional<RgbaImage> image = decodePcx(ByteBuffer(mangled));
      if (image) {
        ++decoded;
        EXPECT_EQ(image->pixels.size(), static_cast<std::size_t>(image->width) *
                                            static_cast<std::size_t>(image->height) * 4);
      }
    }
  }
  EXPECT_GT(decoded, 0);  // some mangled files still decode: the data paths were exercised
}

}  // namespace
}  // namespace sp
