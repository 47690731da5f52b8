#include "ui/picture_box_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/image_format.h"
#include "ui/picture_decoding.h"

namespace sp {

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
}

void PictureBoxWidget::clearPicture() {
  movie_.reset();
  movieBuffer_.reset();
  movieBytes_.clear();
  still_ = QImage();
}

void PictureBoxWidget::setPicture(const ByteBuffer& bytes) {
  clearPicture();
  if (sniffImageFormat(bytes) == ImageFormat::Gif) {
    movieBytes_ = QByteArray(bytes.view().data(), bytes.length());
    movieBuffer_ = std::make_unique<QBuffer>(&movieBytes_);
    auto movie = std::make_unique<QMovie>(movieBuffer_.get(), QByteArray("gif"));
    if (movie->isValid()) {
      connect(movie.get(), &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
      movie_ = std::move(movie);
      movie_->start();
    } else {
      movieBuffer_.reset();
      movieBytes_.clear();
    }
  } else {
    still_ = decodeStillPicture(bytes);
  }
  update();
}

QImage PictureBoxWidget::currentPicture() const {
  return movie_ ? movie_->currentImage() : still_;
}

void PictureBoxWidget::paintEvent(QPaintEvent*) {
  const QImage picture = currentPicture();
  if (picture.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), picture);  // stretched: the aspect ratio is not kept
}

void PictureBoxWidget::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit pressed();
}

}  // namespace sp
