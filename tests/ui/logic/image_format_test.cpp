// sniffImageFormat: the first bytes decide; too few bytes or an unknown start give Unknown.
#include "ui/image_format.h"

#include <gtest/gtest.h>

#include <string>

namespace sp {
namespace {

using namespace std::string_literals;

struct SniffCase {
  const char* what;
  std::string bytes;
  ImageFormat expected;
};

TEST(ImageFormatTest, RecognisesEachFormatByItsFirstBytes) {
  const std::string pad(8, 'x');
  const SniffCase cases[] = {
      {"JPEG", "\xFF\xD8\xFF\xE0"s + pad, ImageFormat::Jpeg},
      {"PNG", "\x89PNG\r\n\x1A\n"s, ImageFormat::Png},
      {"GIF87a", "GIF87a"s + pad, ImageFormat::Gif},
      {"GIF89a", "GIF89a"s + pad, ImageFormat::Gif},
      {"BMP", "BM"s + pad, ImageFormat::Bmp},
      {"ICO", "\0\0\1\0"s + pad, ImageFormat::Ico},
      {"CUR", "\0\0\2\0"s + pad, ImageFormat::Cur},
      {"PCX version 0", "\x0A\x00\x01\x08"s + pad, ImageFormat::Pcx},
      {"PCX version 2", "\x0A\x02\x01\x08"s + pad, ImageFormat::Pcx},
      {"PCX version 3", "\x0A\x03\x01\x08"s + pad, ImageFormat::Pcx},
      {"PCX version 4", "\x0A\x04\x01\x08"s + pad, ImageFormat::Pcx},
      {"PCX version 5", "\x0A\x05\x01\x08"s + pad, ImageFormat::Pcx},
  };
  for (const SniffCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(sniffImageFormat(ByteBuffer(c.bytes)), c.expected);
  }
}

TEST(ImageFormatTest, RefusesWhatOnlyLooksLikeAPicture) {
  const std::string pad(8, 'x');
  const SniffCase cases[] = {
      {"empty", "", ImageFormat::Unknown},
      {"PNG signature cut to 7 bytes", "\x89PNG\r\n\x1A"s, ImageFormat::Unknown},
      {"JPEG start, 7 bytes", "\xFF\xD8\xFF\xE0\0\x10J"s, ImageFormat::Unknown},
      {"BMP start, 7 bytes", "BMxxxxx"s, ImageFormat::Unknown},
      {"PNG with a wrong byte", "\x89PNG\r\n\x1A\r"s, ImageFormat::Unknown},
      {"JPEG with two marker bytes", "\xFF\xD8\x00\x00"s + pad, ImageFormat::Unknown},
      {"GIF88a", "GIF88a"s + pad, ImageFormat::Unknown},
      {"ICO type 3", "\0\0\3\0"s + pad, ImageFormat::Unknown},
      {"ICO reserved word not zero", "\1\0\1\0"s + pad, ImageFormat::Unknown},
      {"PCX version 1", "\x0A\x01\x01\x08"s + pad, ImageFormat::Unknown},
      {"PCX version 6", "\x0A\x06\x01\x08"s + pad, ImageFormat::Unknown},
      {"PCX not RLE", "\x0A\x05\x00\x08"s + pad, ImageFormat::Unknown},
      {"an HTML error page", "<html><body>404</body></html>", ImageFormat::Unknown},
      {"lower-case bm", "bm"s + pad, ImageFormat::Unknown},
  };
  for (const SniffCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(sniffImageFormat(ByteBuffer(c.bytes)), c.expected);
  }
}

}  // namespace
}  // namespace sp
