// The PNG reader through libpng's simplified interface, from memory.
#include "ui/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>

namespace sp {
namespace {

std::string encodePng(uint32_t width, uint32_t height, png_uint_32 format,
                      const std::vector<uint8_t>& pixels) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, nullptr));
  std::string bytes(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr));
  bytes.resize(size);
  return bytes;
}

TEST(PngDecoder, ColourAndGreyPicturesComeOutAsRgba) {
  struct Case {
    const char* name;
    png_uint_32 format;
    std::vector<uint8_t> stored;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {"RGBA", PNG_FORMAT_RGBA, {255, 0, 0, 255, 0, 0, 255, 128}, {255, 0, 0, 255, 0, 0, 255, 128}},
      {"RGB", PNG_FORMAT_RGB, {1, 2, 3, 4, 5, 6}, {1, 2, 3, 255, 4, 5, 6, 255}},
      {"grey", PNG_FORMAT_GRAY, {0, 255}, {0, 0, 0, 255, 255, 255, 255, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<RgbaImage> image =
        decodePng(ByteBuffer(encodePng(2, 1, c.format, c.stored)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 1);
    EXPECT_EQ(image->pixels, c.expected);
  }
}

TEST(PngDecoder, APngCutShortOrMangledGivesNothing) {
  const std::string png = encodePng(3, 3, PNG_FORMAT_RGB, std::vector<uint8_t>(27, 90));
  ASSERT_TRUE(decodePng(ByteBuffer(png)));
  for (std::size_t length = 0; length < png.size() - 12; ++length) {  // the end chunk may go
    SCOPED_TRACE(length);
    EXPECT_FALSE(decodePng(ByteBuffer(png.substr(0, length))));
  }
  std::string mangled = png;
  mangled[mangled.size() / 2] ^= 0x55;  // breaks a checksum
  EXPECT_FALSE(decodePng(ByteBuffer(mangled)));
}

TEST(PngDecoder, HugeDimensionsAreRefusedWithoutAllocating) {
  std::string png = encodePng(1, 1, PNG_FORMAT_GRAY, {7});
  // IHDR's width and height sit at bytes 16..23; its CRC follows the chunk data.
  const unsigned char huge[8] = {0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x00};  // 32768 x 32768
  std::memcpy(png.data() + 16, huge, sizeof huge);
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
  for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
  EXPECT_FALSE(decodePng(ByteBuffer(png)));
}

}  // namespace
}  // namespace sp
