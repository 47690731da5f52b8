#include "search/sync_song_name.h"

namespace sp {

namespace {
constexpr int32_t kTicked = 1;
constexpr int32_t kSongNameColumn = 0;
}  // namespace

void syncSongName(MainWindowControls& window) {
  if (window.checkState(Control::AutoSyncCheck) != kTicked) return;
  // No selection reads row -1, whose text is empty: the box is emptied.
  window.writeText(Control::FileNameBox, window.cellText(window.selectedRow(), kSongNameColumn));
}

}  // namespace sp
