// The program as it starts: its state, the Qt platform and the main window shown,
// for the benchmarks that drive the real windows.
#pragma once

#include <QApplication>
#include <memory>

#include "json/json_document.h"
#include "search/program_state.h"
#include "ui/qt_platform.h"

namespace sp::bench {

struct RunningProgram {
  RunningProgram() {
    state.songList = std::make_unique<JsonDocument>();
    platform.initialise();
    platform.loadWindow(WindowId::Main, false);
    QApplication::processEvents();
  }

  ProgramState state;  // before the platform, which works on it
  QtPlatform platform{state};
};

}  // namespace sp::bench
