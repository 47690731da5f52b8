#include "ui/developers_window.h"

namespace sp {

namespace {

constexpr QSize kOuterSize(477, 298);

template <typename Widget>
Widget* place(Widget* widget, const char* name, QRect geometry) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(geometry);
  return widget;
}

QLabel* makeNameLabel(QWidget* parent, const QString& name) {
  auto* label = new QLabel(name, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignCenter);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

}  // namespace

DevelopersWindow::DevelopersWindow()
    : FixedFrameWindow(QStringLiteral("开发者"), kOuterSize),
      firstAvatar_(place(new PictureBoxWidget(this), "图片框2", {53, 16, 100, 100})),
      firstName_(
          place(makeNameLabel(this, QStringLiteral("Brontelwick")), "标签6", {21, 138, 168, 32})),
      firstHomeLink_(
          place(new LinkLabel(QStringLiteral("访问我的官网"), this), "标签5", {37, 186, 136, 32})),
      firstBilibiliLink_(place(new LinkLabel(QStringLiteral("访问我的Bilibili"), this), "标签4",
                               {21, 226, 176, 24})),
      secondAvatar_(place(new PictureBoxWidget(this), "图片框1", {302, 16, 100, 100})),
      secondName_(
          place(makeNameLabel(this, QStringLiteral("Tamsel")), "标签1", {270, 138, 168, 32})),
      secondHomeLink_(
          place(new LinkLabel(QStringLiteral("访问他的官网"), this), "标签2", {286, 186, 136, 32})),
      secondBilibiliLink_(place(new LinkLabel(QStringLiteral("访问他的Bilibili"), this), "标签3",
                                {270, 226, 176, 24})) {
  forwardPress(firstAvatar_, PageControl::FirstAvatar);
  forwardPress(firstHomeLink_, PageControl::FirstHomeLink);
  forwardPress(firstBilibiliLink_, PageControl::FirstBilibiliLink);
  forwardPress(secondAvatar_, PageControl::SecondAvatar);
  forwardPress(secondHomeLink_, PageControl::SecondHomeLink);
  forwardPress(secondBilibiliLink_, PageControl::SecondBilibiliLink);
}

template <typename PressableControl>
void DevelopersWindow::forwardPress(PressableControl* control, PageControl page) {
  connect(control, &PressableControl::pressed, this,
          [this, page] { emit pageControlPressed(page); });
}

PictureBoxWidget& DevelopersWindow::pictureBox(PictureBox box) const {
  return box == PictureBox::FirstAvatar ? *firstAvatar_ : *secondAvatar_;
}

void DevelopersWindow::setPicture(PictureBox box, const ByteBuffer& bytes) {
  pictureBox(box).setPicture(bytes);
}

}  // namespace sp
