// Small helpers for driving the real widgets on the offscreen platform.
#pragma once

#include <QApplication>
#include <QColor>
#include <QMessageBox>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <functional>

#include "text/text.h"

namespace sp::testing {

// The child named `utf8Name` (its objectName), or nullptr.
template <typename Widget>
Widget* control(const QWidget& window, const char* utf8Name) {
  return window.findChild<Widget*>(QString::fromUtf8(utf8Name));
}

// Shows the window and waits until the platform has exposed it.
void showAndExpose(QWidget& window);

// Types text the way an input method commits it: QTest::keyClicks cannot send
// Chinese characters here.
void typeText(QWidget& target, const QString& text);

// The colour of one pixel as the widget paints itself now.
QColor paintedPixel(QWidget& widget, QPoint position);

// Each channel within `tolerance` of the other's.
bool similarColours(const QColor& a, const QColor& b, int tolerance);

inline Text gbk(const char* utf8) {
  return gbkFromUtf8(utf8);
}

// Calls `attempt` every 20 ms from whatever event loop runs, until it returns true or
// ten seconds have passed. Returns at once.
void pollUntil(std::function<bool()> attempt);

// What a message box showed before the test dismissed it.
struct ShownMessageBox {
  bool shown = false;
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  Qt::WindowModality modality = Qt::NonModal;
};

// Watches for the next message box, records it and presses its OK button.
void dismissNextMessageBox(ShownMessageBox& record);

// Runs `action` on the first visible top-level Window, from inside the event loop
// that runs when it shows (a modal window's own loop, say).
template <typename Window>
void whenWindowShows(std::function<void(Window&)> action) {
  pollUntil([action] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* window = qobject_cast<Window*>(widget);
      if (window != nullptr && window->isVisible()) {
        action(*window);
        return true;
      }
    }
    return false;
  });
}

}  // namespace sp::testing
