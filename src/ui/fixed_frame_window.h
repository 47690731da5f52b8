// A top-level window of fixed outer size (frame and title bar included), with a
// minimise but no maximise button, centred on the primary screen.
#pragma once

#include <QFont>
#include <QMargins>
#include <QSize>
#include <QWidget>

namespace sp {

// Every control of the program's windows draws its text in this font: 21 pixels
// high, normal weight, the application's (Chinese) face.
QFont windowFont();

// Makes fontconfig's face for Simplified Chinese the application's face; otherwise
// Han characters fall back to whichever CJK face comes first, perhaps with Japanese
// glyph shapes.
void useChineseApplicationFont();

class FixedFrameWindow : public QWidget {
  Q_OBJECT

 public:
  FixedFrameWindow(const QString& title, QSize outerSize);

  QSize outerSize() const { return outerSize_; }
  // left = (screen width - outer width) / 2, top likewise, on the full primary screen.
  QPoint centredPosition() const;

 signals:
  void closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The window manager may add its frame only after the window is shown: the client
  // size then shrinks so that the outer size stays, and the window is centred again.
  void fitToFrame();

  QSize outerSize_;
  QMargins fittedMargins_{-1, -1, -1, -1};
};

}  // namespace sp
