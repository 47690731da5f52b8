#include "app/program_start.h"

#include <memory>

#include "app/global_state.h"
#include "json/json_document.h"
#include "ui/qt_platform.h"

namespace sp {

int programStart(Platform& platform, ProgramState& state) {
  platform.initialise();
  // The constructor names the root "da" and runs the document's init.
  state.songList = std::make_unique<JsonDocument>();
  platform.registerExitRoutine([&state] { releaseGlobals(state); });
  platform.loadWindow(WindowId::Main, false);
  platform.messageLoop();
  return 0;
}

int programStart() {
  QtPlatform platform(globalState());
  return programStart(platform, globalState());
}

}  // namespace sp
