#include "ui/link_label.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace sp {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  QPalette blue = palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
  setPalette(blue);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit pressed();
}

void LinkLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFont plain = font();
  plain.setUnderline(false);
  painter.setFont(plain);
  const QColor colour = palette().color(QPalette::WindowText);
  painter.setPen(colour);
  const QFontMetrics metrics(plain);
  const QRect box = contentsRect();
  // Vertically centred, as QLabel places one line.
  const int baseline = box.top() + (box.height() + metrics.ascent() - metrics.descent()) / 2;
  painter.drawText(QPoint(box.left(), baseline), text());
  const int thickness = std::max(1, metrics.lineWidth());
  const int underline = std::min(baseline + metrics.underlinePos(), box.bottom() + 1 - thickness);
  painter.fillRect(QRect(box.left(), underline, metrics.horizontalAdvance(text()), thickness),
                   colour);
}

}  // namespace sp
