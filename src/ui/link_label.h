// A one-line label that looks like a web link and reports a left-button press.
#pragma once

#include <QLabel>

namespace sp {

class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  // A CJK face's line is taller than some of these labels, so the font's own underline
  // would fall below the label; the line is drawn where it stays visible.
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace sp
