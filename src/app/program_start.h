// The entry routine: start-up, the message loop, and the clean-up after it.
#pragma once

#include "platform/platform.h"
#include "search/program_state.h"

namespace sp {

// Initialises the platform, creates the song-list document, registers the clean-up,
// shows the main window and runs the message loop. Returns 0 when the loop has ended.
int programStart(Platform& platform, ProgramState& state);

// The program as the user starts it: the Qt platform and the one global state.
int programStart();

}  // namespace sp
