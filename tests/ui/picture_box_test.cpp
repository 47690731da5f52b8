// Picture boxes: every recognised format shows, stretched over the box; nothing shows
// for bytes that are empty, too short or of no known format; a GIF plays.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTest>
#include <functional>

#include "test_pictures.h"
#include "ui/picture_box_widget.h"
#include "ui/picture_decoding.h"
#include "widget_test_support.h"

namespace sp {
namespace {

// A 32 x 16 picture, its left half red, its right half blue: JPEG codes 16-pixel
// blocks, so each half keeps its colour.
constexpr int kWidth = 32;
constexpr int kHeight = 16;

std::vector<testing::Rgb> redBluePixels() {
  std::vector<testing::Rgb> pixels;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      pixels.push_back(x < kWidth / 2 ? testing::Rgb{255, 0, 0} : testing::Rgb{0, 0, 255});
    }
  }
  return pixels;
}

std::string redBlueSavedAs(const char* format) {
  QImage picture(kWidth, kHeight, QImage::Format_ARGB32);
  picture.fill(QColor(0, 0, 255));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth / 2; ++x) picture.setPixelColor(x, y, QColor(255, 0, 0));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(picture.save(&buffer, format)) << format;
  return bytes.toStdString();
}

// The ICO bytes with the resource type changed to "cursor".
std::string redBlueCursor() {
  std::string bytes = redBlueSavedAs("ICO");
  bytes[2] = 2;
  return bytes;
}

std::string redBluePcx8() {
  std::vector<uint8_t> indexes;
  for (const testing::Rgb& pixel : redBluePixels()) indexes.push_back(pixel.red == 255 ? 1 : 2);
  return testing::pcx8(kWidth, kHeight, indexes, {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}});
}
std::string redBluePcx24() {
  return testing::pcx24(kWidth, kHeight, redBluePixels());
}

struct FormatCase {
  const char* name;
  std::function<std::string()> bytes;
  int tolerance;  // JPEG is lossy
};

class PictureBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box.resize(100, 100);
    testing::showAndExpose(box);
  }
  QColor shown(QPoint at) { return testing::paintedPixel(box, at); }
  PictureBoxWidget box;
};

TEST_F(PictureBoxTest, EveryRecognisedFormatShowsStretchedOverTheBox) {
  const FormatCase cases[] = {
      {"PNG through libpng", [] { return redBlueSavedAs("PNG"); }, 0},
      {"BMP", [] { return redBlueSavedAs("BMP"); }, 0},
      {"JPEG", [] { return redBlueSavedAs("JPEG"); }, 90},
      {"ICO", [] { return redBlueSavedAs("ICO"); }, 0},
      {"CUR", redBlueCursor, 0},
      {"PCX 8-bit", redBluePcx8, 0},
      {"PCX 24-bit", redBluePcx24, 0},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.name);
    box.setPicture(ByteBuffer(c.bytes()));
    ASSERT_FALSE(box.currentPicture().isNull());
    EXPECT_EQ(box.currentPicture().size(), QSize(kWidth, kHeight));
    // 32 x 16 pixels fill 100 x 100: the aspect ratio is not kept.
    for (const QPoint left : {QPoint(5, 5), QPoint(20, 50), QPoint(5, 95)}) {
      EXPECT_TRUE(testing::similarColours(shown(left), Qt::red, c.tolerance))
          << shown(left).name().toStdString();
    }
    for (const QPoint right : {QPoint(95, 5), QPoint(80, 50), QPoint(95, 95)}) {
      EXPECT_TRUE(testing::similarColours(shown(right), Qt::blue, c.tolerance))
          << shown(right).name().toStdString();
    }
  }
}

TEST_F(PictureBoxTest, PngIsDecodedWithItsAlpha) {
  QImage picture(1, 1, QImage::Format_ARGB32);
  picture.setPixelColor(0, 0, QColor(10, 20, 30, 128));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(picture.save(&buffer, "PNG"));
  const QImage decoded = decodeStillPicture(ByteBuffer(bytes.toStdString()));
  ASSERT_EQ(decoded.size(), QSize(1, 1));
  EXPECT_EQ(decoded.pixelColor(0, 0), QColor(10, 20, 30, 128));
}

TEST_F(PictureBoxTest, NothingShowsForBytesItCannotRead) {
  const std::string png = redBlueSavedAs("PNG");
  const std::string cases[] = {
      "",
      png.substr(0, 7),                                            // shorter than 8 bytes
      png.substr(0, 40),                                           // a PNG cut short
      "<html><body>502 Bad Gateway</body></html>",                 // an error page
      std::string("\x0A\x05\x01\x08", 4) + std::string(20, '\0'),  // a PCX header cut short
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes.size());
    box.setPicture(ByteBuffer(png));
    ASSERT_FALSE(box.currentPicture().isNull());
    box.setPicture(ByteBuffer(bytes));
    EXPECT_TRUE(box.currentPicture().isNull());
    EXPECT_FALSE(box.isAnimated());
    EXPECT_EQ(shown({50, 50}), box.palette().color(QPalette::Window));
  }
}

TEST_F(PictureBoxTest, AnAnimatedGifPlays) {
  box.setPicture(ByteBuffer(testing::twoFrameGif()));
  ASSERT_TRUE(box.isAnimated());
  bool sawRed = false;
  bool sawBlue = false;
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        const QColor colour = shown({50, 50});
        sawRed = sawRed || colour == QColor(Qt::red);
        sawBlue = sawBlue || colour == QColor(Qt::blue);
        return sawRed && sawBlue;
      },
      3000));
}

TEST_F(PictureBoxTest, ThePictureIsACopyOfTheBytes) {
  auto bytes = std::make_unique<ByteBuffer>(testing::twoFrameGif());
  box.setPicture(*bytes);
  bytes.reset();
  QTest::qWait(250);  // the movie goes on reading its own copy
  EXPECT_FALSE(box.currentPicture().isNull());
}

}  // namespace
}  // namespace sp
