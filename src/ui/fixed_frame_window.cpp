#include "ui/fixed_frame_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

namespace sp {

namespace {

constexpr int kFontPixelSize = 21;

QMargins frameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

}  // namespace

QFont windowFont() {
  QFont font = QApplication::font();
  font.setPixelSize(kFontPixelSize);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

void useChineseApplicationFont() {
  const QStringList families = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  for (const QString& family : families) {
    if (family.contains(QLatin1String("CJK SC")) && !family.contains(QLatin1String("Mono"))) {
      QFont font = QApplication::font();
      font.setFamily(family);
      QApplication::setFont(font);
      return;
    }
  }
}

FixedFrameWindow::FixedFrameWindow(const QString& title, QSize outerSize)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      outerSize_(outerSize) {
  setWindowTitle(title);
  setFont(windowFont());
  setAutoFillBackground(true);
  fitToFrame();
}

QPoint FixedFrameWindow::centredPosition() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect area = screen->geometry();
  return {area.left() + (area.width() - outerSize_.width()) / 2,
          area.top() + (area.height() - outerSize_.height()) / 2};
}

bool FixedFrameWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
      fitToFrame();
      break;
    default:
      break;
  }
  return handled;
}

void FixedFrameWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

void FixedFrameWindow::fitToFrame() {
  const QMargins margins = frameMargins(*this);
  if (margins == fittedMargins_) return;
  fittedMargins_ = margins;
  setFixedSize(outerSize_.width() - margins.left() - margins.right(),
               outerSize_.height() - margins.top() - margins.bottom());
  // For a window, move() places the outer frame's top-left corner.
  move(centredPosition());
}

}  // namespace sp
