#include "ui/qt_platform.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QUrl>
#include <utility>

#include "search/download_command.h"
#include "search/search_command.h"
#include "search/sync_song_name.h"
#include "ui/developers_commands.h"
#include "ui/qt_text.h"

namespace sp {

namespace {

// QApplication keeps references to these for its whole life.
int applicationArgc = 1;
char applicationName[] = "songpicker";
char* applicationArgv[] = {applicationName, nullptr};

QMessageBox::Icon iconFor(int32_t style) {
  switch (style) {
    case kStopIcon:
      return QMessageBox::Critical;
    case kInformationIcon:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

QtPlatform::QtPlatform(ProgramState& state) : state_(state) {}

QtPlatform::~QtPlatform() {
  // A main window still open when the platform goes (the loop never ran) goes with it.
  const std::unique_ptr<MainWindow> leftOpen(mainWindow_.data());
  runExitRoutines();
}

void QtPlatform::initialise() {
  LinuxPlatform::initialise();
  if (QApplication::instance() == nullptr) {
    application_ = std::make_unique<QApplication>(applicationArgc, applicationArgv);
  }
  useChineseApplicationFont();
}

void QtPlatform::registerExitRoutine(std::function<void()> routine) {
  exitRoutines_.push_back(std::move(routine));
}

std::unique_ptr<MainWindow> QtPlatform::createMainWindow() {
  auto window = std::make_unique<MainWindow>();
  MainWindow* controls = window.get();
  QObject::connect(controls, &MainWindow::searchClicked, controls,
                   [this, controls] { searchCommand(state_, *controls, *this); });
  QObject::connect(controls, &MainWindow::downloadClicked, controls,
                   [this, controls] { downloadCommand(state_, *controls, *this); });
  QObject::connect(controls, &MainWindow::resultListClicked, controls,
                   [controls] { syncSongName(*controls); });
  QObject::connect(controls, &MainWindow::developersClicked, controls,
                   [this] { openDevelopersWindow(*this); });
  return window;
}

std::unique_ptr<DevelopersWindow> QtPlatform::createDevelopersWindow() {
  auto window = std::make_unique<DevelopersWindow>();
  QObject::connect(window.get(), &DevelopersWindow::pageControlPressed, window.get(),
                   [this](PageControl control) { onPageControlPressed(*this, control); });
  // The created event: the avatars are in place before the window is shown.
  loadAvatars(*this, *window);
  return window;
}

std::unique_ptr<FixedFrameWindow> QtPlatform::createWindow(WindowId window) {
  switch (window) {
    case WindowId::Main: {
      std::unique_ptr<MainWindow> main = createMainWindow();
      mainWindow_ = main.get();
      return main;
    }
    case WindowId::Developers:
      return createDevelopersWindow();
  }
  return nullptr;
}

bool QtPlatform::loadWindow(WindowId id, bool modal) {
  std::unique_ptr<FixedFrameWindow> window = createWindow(id);
  if (!window) return false;
  window->show();
  if (modal) {
    runModal(*window);
  } else {
    // Closing the window destroys it; Qt owns it from here.
    window->setAttribute(Qt::WA_DeleteOnClose);
    window.release();  // NOLINT(bugprone-unused-return-value)
  }
  return true;
}

void QtPlatform::runModal(FixedFrameWindow& window) {
  std::vector<std::pair<QPointer<QWidget>, bool>> others;
  for (QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || !other->isVisible()) continue;
    others.emplace_back(other, other->isEnabled());
    other->setEnabled(false);
  }
  QEventLoop loop;
  QObject::connect(&window, &FixedFrameWindow::closed, &loop, &QEventLoop::quit);
  if (window.isVisible()) loop.exec();
  for (const auto& [other, wasEnabled] : others) {
    if (other) other->setEnabled(wasEnabled);
  }
}

void QtPlatform::messageLoop() {
  bool anyWindowOpen = false;
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    anyWindowOpen = anyWindowOpen || window->isVisible();
  }
  if (anyWindowOpen && QApplication::instance() != nullptr) QApplication::exec();
  runExitRoutines();
}

void QtPlatform::runExitRoutines() {
  std::vector<std::function<void()>> routines = std::exchange(exitRoutines_, {});
  for (const std::function<void()>& routine : routines) routine();
}

void QtPlatform::openUrl(const Text& url) {
  // A page that cannot be opened is ignored.
  QDesktopServices::openUrl(QUrl(toQString(url)));
}

void QtPlatform::messageBox(const Text& text, int32_t style, const Text& caption) {
  QMessageBox box(iconFor(style), toQString(caption), toQString(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace sp
