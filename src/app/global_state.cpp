#include "app/global_state.h"

namespace sp {

ProgramState& globalState() {
  static ProgramState state;
  return state;
}

void releaseGlobals(ProgramState& state) {
  state.downloadRowNumber = {};
  state.playLinkAnswer = {};
  state.searchAnswer = {};
  // The document always exists by now: start-up created it and nothing replaces it.
  state.songList->destroy();
  state.songList.reset();
  state.currentSongName = {};
  state.currentSinger = {};
}

void releaseGlobals() {
  releaseGlobals(globalState());
}

}  // namespace sp
