// The download button's handler: checks the selection and the file name, then saves
// the selected hit's MP3 in the program's directory.
#pragma once

#include "platform/platform.h"
#include "search/main_window_controls.h"
#include "search/program_state.h"
#include "text/text.h"

namespace sp {

// How a download ended; only Saved means the file is there.
enum class FetchOutcome {
  Saved,
  NoPlayLink,       // the play-link answer holds no marker
  SongFetchFailed,  // the MP3 did not arrive whole, or the answer is not a song
  WriteFailed,
};

void downloadCommand(ProgramState& state, MainWindowControls& window, Platform& platform);

// Asks for the play link of hit `rowNumber` (from 1) of the song in the song-name box,
// fetches it and writes it as run directory + "\" + fileName + ".mp3". Shows nothing.
FetchOutcome fetchSong(ProgramState& state, MainWindowControls& window, Platform& platform,
                       const Text& rowNumber, const Text& fileName);

}  // namespace sp
