// The program-wide state the commands share. The one instance lives in app/.
#pragma once

#include <cstdint>
#include <memory>

#include "json/json_document.h"
#include "text/text.h"

namespace sp {

struct ProgramState {
  Text downloadRowNumber;  // "n" of the last play-link request, from 1
  Text playLinkAnswer;     // the last decoded play-link answer, then the link cut from it
  Text searchAnswer;       // the decoded answer of the last search
  std::unique_ptr<JsonDocument> songList;  // root "da"; lives from start-up to the clean-up
  int32_t songCount = 0;
  int32_t songIndex = 0;
  Text currentSongName;
  Text currentSinger;
};

}  // namespace sp
