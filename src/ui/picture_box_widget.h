// A picture box: shows a picture given as bytes stretched over the whole box (an
// animated GIF plays), and reports a left-button press.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMovie>
#include <QWidget>
#include <memory>

#include "text/text.h"

namespace sp {

class PictureBoxWidget : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBoxWidget(QWidget* parent = nullptr);

  // Takes a copy of the bytes; shows nothing for bytes it cannot read.
  void setPicture(const ByteBuffer& bytes);
  // The picture now shown, null when the box is empty.
  QImage currentPicture() const;
  bool isAnimated() const { return movie_ != nullptr; }

 signals:
  void pressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void clearPicture();

  QImage still_;
  // The movie reads from the buffer, which reads from the bytes: destroyed in reverse.
  QByteArray movieBytes_;
  std::unique_ptr<QBuffer> movieBuffer_;
  std::unique_ptr<QMovie> movie_;
};

}  // namespace sp
