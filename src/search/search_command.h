// The search button's handler: asks the song service for the name in the song-name
// box and lists the hits.
#pragma once

#include "platform/platform.h"
#include "search/main_window_controls.h"
#include "search/program_state.h"

namespace sp {

void searchCommand(ProgramState& state, MainWindowControls& window, Platform& platform);

}  // namespace sp
