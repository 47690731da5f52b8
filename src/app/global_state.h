// The program-wide state: one instance for the whole run, and its release at the end.
#pragma once

#include "search/program_state.h"

namespace sp {

ProgramState& globalState();

// Frees the texts and destroys the song-list document, in the order the program's
// clean-up has always used. Registered as the exit routine.
void releaseGlobals(ProgramState& state);
void releaseGlobals();

}  // namespace sp
