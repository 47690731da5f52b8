// The real developers window on the offscreen platform: layout, looks, and which
// press on which control opens which page.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "ui/developers_window.h"
#include "widget_test_support.h"

namespace sp {
namespace {

using testing::control;

struct DevelopersControl {
  const char* name;
  QRect geometry;
  const char* text;  // nullptr for a picture box
};

const DevelopersControl kPictureBoxes[] = {
    {"图片框2", {53, 16, 100, 100}, nullptr},
    {"图片框1", {302, 16, 100, 100}, nullptr},
};
const DevelopersControl kNameLabels[] = {
    {"标签6", {21, 138, 168, 32}, "Brontelwick"},
    {"标签1", {270, 138, 168, 32}, "Tamsel"},
};
const DevelopersControl kLinkLabels[] = {
    {"标签5", {37, 186, 136, 32}, "访问我的官网"},
    {"标签4", {21, 226, 176, 24}, "访问我的Bilibili"},
    {"标签2", {286, 186, 136, 32}, "访问他的官网"},
    {"标签3", {270, 226, 176, 24}, "访问他的Bilibili"},
};

class DevelopersWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::showAndExpose(window); }
  DevelopersWindow window;
};

TEST_F(DevelopersWindowTest, TitleOuterSizeFrameAndPlacement) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("开发者"));
  EXPECT_EQ(window.frameGeometry().size(), QSize(477, 298));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.parentWidget(), nullptr);
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(screen.left() + (screen.width() - 477) / 2,
                                                     screen.top() + (screen.height() - 298) / 2));
}

TEST_F(DevelopersWindowTest, PictureBoxesAreEmptyHandPointedAndTakeNoFocus) {
  for (const DevelopersControl& expected : kPictureBoxes) {
    SCOPED_TRACE(expected.name);
    const auto* box = control<PictureBoxWidget>(window, expected.name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->geometry(), expected.geometry);
    EXPECT_TRUE(box->currentPicture().isNull());
    EXPECT_EQ(box->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(DevelopersWindowTest, NameLabelsAreCentredPlainAndArrowPointed) {
  for (const DevelopersControl& expected : kNameLabels) {
    SCOPED_TRACE(expected.name);
    const QLabel* label = control<QLabel>(window, expected.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), expected.geometry);
    EXPECT_EQ(label->text(), QString::fromUtf8(expected.text));
    EXPECT_EQ(label->alignment(), Qt::AlignCenter);
    EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(label->font().pixelSize(), 21);
    EXPECT_FALSE(label->font().underline());
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(DevelopersWindowTest, LinkLabelsAreBlueUnderlinedAndHandPointed) {
  for (const DevelopersControl& expected : kLinkLabels) {
    SCOPED_TRACE(expected.name);
    const auto* link = control<LinkLabel>(window, expected.name);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->geometry(), expected.geometry);
    EXPECT_EQ(link->text(), QString::fromUtf8(expected.text));
    EXPECT_EQ(link->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(link->font().underline());
    EXPECT_EQ(link->font().pixelSize(), 21);
    EXPECT_EQ(link->font().weight(), QFont::Normal);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(DevelopersWindowTest, EveryLinkShowsItsUnderlineInsideTheLabel) {
  for (const DevelopersControl& expected : kLinkLabels) {
    SCOPED_TRACE(expected.name);
    auto* link = control<LinkLabel>(window, expected.name);
    const QImage painted = link->grab().toImage();
    const int textWidth = QFontMetrics(link->font()).horizontalAdvance(link->text());
    ASSERT_LE(textWidth, painted.width());
    // A line is a row of blue across (nearly) the whole text; glyphs never are.
    bool underlined = false;
    for (int y = 0; y < painted.height() && !underlined; ++y) {
      int blue = 0;
      for (int x = 0; x < textWidth; ++x) {
        blue += testing::similarColours(painted.pixelColor(x, y), QColor(0, 0, 255), 80) ? 1 : 0;
      }
      underlined = blue >= textWidth * 9 / 10;
    }
    EXPECT_TRUE(underlined);
  }
}

TEST_F(DevelopersWindowTest, LeftPressOnAPictureOrLinkReportsItsControl) {
  struct Case {
    const char* name;
    PageControl control;
  };
  const Case cases[] = {
      {"图片框2", PageControl::FirstAvatar},     {"标签5", PageControl::FirstHomeLink},
      {"标签4", PageControl::FirstBilibiliLink}, {"图片框1", PageControl::SecondAvatar},
      {"标签2", PageControl::SecondHomeLink},    {"标签3", PageControl::SecondBilibiliLink},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QSignalSpy presses(&window, &DevelopersWindow::pageControlPressed);
    QWidget* widget = control<QWidget>(window, c.name);
    // At the press, before any release.
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(presses.count(), 1);
    EXPECT_EQ(presses.first().first().value<PageControl>(), c.control);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(widget, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(widget, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(presses.count(), 1);
  }
}

TEST_F(DevelopersWindowTest, PressOnANameLabelDoesNothing) {
  QSignalSpy presses(&window, &DevelopersWindow::pageControlPressed);
  for (const DevelopersControl& label : kNameLabels) {
    QTest::mouseClick(control<QWidget>(window, label.name), Qt::LeftButton);
  }
  EXPECT_EQ(presses.count(), 0);
}

TEST_F(DevelopersWindowTest, SetPictureReachesTheNamedBox) {
  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(Qt::red);
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(red.save(&buffer, "BMP"));
  window.setPicture(PictureBox::SecondAvatar, ByteBuffer(bmp.toStdString()));
  EXPECT_FALSE(control<PictureBoxWidget>(window, "图片框1")->currentPicture().isNull());
  EXPECT_TRUE(control<PictureBoxWidget>(window, "图片框2")->currentPicture().isNull());
}

}  // namespace
}  // namespace sp
