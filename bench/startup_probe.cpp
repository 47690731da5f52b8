// Start-up to the main window shown, and resident memory when idle.
//   startup_probe [RUNS]
// starts itself RUNS times (default 10) as a child that runs the real start-up
// (programStart on the Qt platform); the child notes the moment its main window
// has been exposed and painted, waits a second with nothing to do, reads its
// resident memory and closes the window. Times are taken on the monotonic clock,
// which parent and child share, from just before the child is spawned.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/program_start.h"
#include "ui/qt_platform.h"

namespace sp::bench {
namespace {

constexpr const char* kChildFlag = "--child";
constexpr int kIdleMilliseconds = 1000;

long long monotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

// Watches the main window's first expose; after the event has been handled (the
// window painted), notes the time, idles, reports and closes the window.
class FirstExposeWatch : public QObject {
 public:
  explicit FirstExposeWatch(QWidget& window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Expose && window_.windowHandle() != nullptr &&
        window_.windowHandle()->isExposed()) {
      seen_ = true;
      QTimer::singleShot(0, this, [this] {
        const long long shown = monotonicNanoseconds();
        QTimer::singleShot(kIdleMilliseconds, this, [this, shown] {
          std::printf("%lld %ld\n", shown, residentKilobytes());
          std::fflush(stdout);
          window_.close();
        });
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  bool seen_ = false;
};

class ProbePlatform : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;
  bool loadWindow(WindowId window, bool modal) override {
    const bool loaded = QtPlatform::loadWindow(window, modal);
    if (window == WindowId::Main && mainWindow() != nullptr) {
      watch_ = std::make_unique<FirstExposeWatch>(*mainWindow());
      mainWindow()->windowHandle()->installEventFilter(watch_.get());
    }
    return loaded;
  }

 private:
  std::unique_ptr<FirstExposeWatch> watch_;
};

int runChild() {
  ProgramState state;
  ProbePlatform platform(state);
  return programStart(platform, state);
}

struct Run {
  double shownMs = 0;
  long idleRssKb = 0;
};

bool runOnce(const char* self, Run& run) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  char* argv[] = {const_cast<char*>(self), const_cast<char*>(kChildFlag), nullptr};
  pid_t child = -1;
  const long long spawned = monotonicNanoseconds();
  const int failed = posix_spawn(&child, self, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string line;
  char chunk[128];
  for (ssize_t got; !failed && (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
    line.append(chunk, static_cast<size_t>(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  if (!failed) waitpid(child, &status, 0);
  long long shown = 0;
  if (failed || std::sscanf(line.c_str(), "%lld %ld", &shown, &run.idleRssKb) != 2) return false;
  run.shownMs = static_cast<double>(shown - spawned) / 1e6;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace
}  // namespace sp::bench

int main(int argc, char** argv) {
  using namespace sp::bench;
  if (argc == 2 && std::strcmp(argv[1], kChildFlag) == 0) return runChild();
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 10;
  std::vector<double> shown;
  std::vector<double> rss;
  for (int i = 0; i < runs; ++i) {
    Run run;
    if (!runOnce("/proc/self/exe", run)) {
      std::fprintf(stderr, "run %d: the child did not report (is a display set?)\n", i + 1);
      return 1;
    }
    std::printf("run %2d: shown after %7.1f ms, idle RSS %6.1f MiB\n", i + 1, run.shownMs,
                static_cast<double>(run.idleRssKb) / 1024);
    shown.push_back(run.shownMs);
    rss.push_back(static_cast<double>(run.idleRssKb) / 1024);
  }
  std::printf("startup_shown_ms median=%.1f min=%.1f max=%.1f\n", median(shown),
              *std::min_element(shown.begin(), shown.end()),
              *std::max_element(shown.begin(), shown.end()));
  std::printf("idle_rss_mib median=%.1f min=%.1f max=%.1f\n", median(rss),
              *std::min_element(rss.begin(), rss.end()), *std::max_element(rss.begin(), rss.end()));
  return 0;
}
