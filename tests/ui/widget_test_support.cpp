#include "widget_test_support.h"

#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

namespace sp::testing {

void showAndExpose(QWidget& window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  (void)QTest::qWaitForWindowExposed(&window);
}

void typeText(QWidget& target, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(&target, &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
  QApplication::sendEvent(&target, &release);
}

QColor paintedPixel(QWidget& widget, QPoint position) {
  return widget.grab().toImage().pixelColor(position);
}

bool similarColours(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

void pollUntil(std::function<bool()> attempt) {
  // Owned by the application, so that a watcher still running at exit is freed.
  auto* timer = new QTimer(QCoreApplication::instance());
  const QDeadlineTimer deadline(10'000);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, attempt, deadline] {
    if (attempt() || deadline.hasExpired()) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(20);
}

void dismissNextMessageBox(ShownMessageBox& record) {
  pollUntil([&record] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return false;
    record.shown = true;
    record.text = box->text();
    record.title = box->windowTitle();
    record.icon = box->icon();
    record.buttonCount = static_cast<int>(box->buttons().size());
    record.modality = box->windowModality();
    box->button(QMessageBox::Ok)->click();
    return true;
  });
}

}  // namespace sp::testing
