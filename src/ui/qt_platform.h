// The platform services on Qt Widgets: the application object, the windows and
// their event bindings, the message loop, the browser and message boxes. Network
// and files come from LinuxPlatform.
#pragma once

#include <QApplication>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "platform/linux_platform.h"
#include "search/program_state.h"
#include "ui/developers_window.h"
#include "ui/main_window.h"

namespace sp {

class QtPlatform : public LinuxPlatform {
 public:
  // The commands bound to the main window work on `state`.
  explicit QtPlatform(ProgramState& state);
  ~QtPlatform() override;
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

  // Makes the program's directory current, creates the application object unless
  // one exists, and picks the platform's face for Chinese text.
  void initialise() override;
  void registerExitRoutine(std::function<void()> routine) override;
  bool loadWindow(WindowId window, bool modal) override;
  // Runs until no window is left, then the exit routines, once each, in order.
  void messageLoop() override;
  void openUrl(const Text& url) override;
  void messageBox(const Text& text, int32_t style, const Text& caption) override;

  // The main window while it is open.
  MainWindow* mainWindow() const { return mainWindow_.data(); }

 private:
  std::unique_ptr<FixedFrameWindow> createWindow(WindowId window);
  std::unique_ptr<MainWindow> createMainWindow();
  std::unique_ptr<DevelopersWindow> createDevelopersWindow();
  void runModal(FixedFrameWindow& window);
  void runExitRoutines();

  ProgramState& state_;
  std::unique_ptr<QApplication> application_;
  std::vector<std::function<void()>> exitRoutines_;
  QPointer<MainWindow> mainWindow_;
};

}  // namespace sp
