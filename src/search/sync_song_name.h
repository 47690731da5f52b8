// The result list's click handler: copies the clicked song's name into the file-name
// box while auto-sync is ticked.
#pragma once

#include "search/main_window_controls.h"

namespace sp {

void syncSongName(MainWindowControls& window);

}  // namespace sp
