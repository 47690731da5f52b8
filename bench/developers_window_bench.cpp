// Opening the developers window with both avatars already cached in the documents
// folder: from the click on the developers button until the window has been
// exposed and painted with its avatars. The first, unmeasured opening fetches the
// avatars from the local song service and caches them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "local_service.h"
#include "running_program.h"
#include "ui/developers_window.h"
#include "ui/qt_platform.h"

namespace sp::bench {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

QtPlatform* platform = nullptr;

// Sees the developers window's first expose; once that has been handled (the
// window painted), notes the time and closes it, which ends its modal loop.
class ExposeThenClose : public QObject {
 public:
  ExposeThenClose() {
    // A window that never shows must not keep the bench waiting for ever.
    giveUp_.setSingleShot(true);
    giveUp_.setInterval(10'000);
    QObject::connect(&giveUp_, &QTimer::timeout, [] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<DevelopersWindow*>(widget) != nullptr) widget->close();
      }
    });
  }
  void arm() {
    armed_ = true;
    shownAt_.reset();
    avatarsShown_ = false;
    giveUp_.start();
  }
  std::optional<Clock::time_point> shownAt() const { return shownAt_; }
  bool avatarsShown() const { return avatarsShown_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = qobject_cast<QWindow*>(watched);
    if (armed_ && event->type() == QEvent::Expose && window != nullptr && window->isExposed()) {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* developers = qobject_cast<DevelopersWindow*>(widget);
        if (developers == nullptr || developers->windowHandle() != window) continue;
        armed_ = false;
        giveUp_.stop();
        QTimer::singleShot(0, developers, [this, developers] {
          shownAt_ = Clock::now();
          avatarsShown_ =
              !developers->pictureBox(PictureBox::FirstAvatar).currentPicture().isNull() &&
              !developers->pictureBox(PictureBox::SecondAvatar).currentPicture().isNull();
          developers->close();
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool armed_ = false;
  bool avatarsShown_ = false;
  std::optional<Clock::time_point> shownAt_;
  QTimer giveUp_;
};

ExposeThenClose* watch = nullptr;

QPushButton* developersButton() {
  return platform->mainWindow()->findChild<QPushButton*>(QString::fromUtf8("按钮3"));
}

void openDevelopersWindowCached(benchmark::State& state) {
  QPushButton* button = developersButton();
  for (auto _ : state) {
    watch->arm();
    const Clock::time_point clicked = Clock::now();
    button->click();  // returns when the window has been closed
    if (!watch->shownAt() || !watch->avatarsShown()) {
      state.SkipWithError("the window did not show both avatars");
      return;
    }
    state.SetIterationTime(std::chrono::duration<double>(*watch->shownAt() - clicked).count());
    QApplication::processEvents();
  }
}

BENCHMARK(openDevelopersWindowCached)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sp::bench

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const int port = sp::bench::servicePort();
  if (port == 0) {
    std::fprintf(stderr, "set SONGPICKER_SERVICE_PORT to the local song service's port\n");
    return 2;
  }
  sp::bench::useLocalService(port);
  // A home of our own, so that the avatars are cached in a documents folder we own.
  char homeTemplate[] = "/tmp/songpicker-bench-home-XXXXXX";
  if (mkdtemp(homeTemplate) == nullptr) return 2;
  const fs::path home = homeTemplate;
  fs::create_directories(home / "Documents");
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }

  int status = 0;
  {
    sp::bench::RunningProgram program;
    sp::bench::platform = &program.platform;
    sp::bench::ExposeThenClose watch;
    qApp->installEventFilter(&watch);
    sp::bench::watch = &watch;

    // The first opening fetches and caches both avatars.
    watch.arm();
    sp::bench::developersButton()->click();
    if (!fs::exists(home / "Documents" / "tamsel.png") ||
        !fs::exists(home / "Documents" / "brontelwick.png")) {
      std::fprintf(stderr, "the avatars were not cached\n");
      status = 1;
    } else {
      benchmark::Initialize(&argc, argv);
      if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
      benchmark::RunSpecifiedBenchmarks();
      benchmark::Shutdown();
    }
    qApp->removeEventFilter(&watch);
  }
  fs::remove_all(home);
  return status;
}
