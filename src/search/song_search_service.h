// The client side of the song-search service: the two request addresses, the
// decoding of an answer and the play link cut out of a text answer.
#pragma once

#include "text/text.h"

namespace sp::SongSearchService {

// "https://" + host + "/API/yy_sq.php?msg=" + the song name as UTF-8, percent-encoded.
Text searchUrl(const Text& songName);
// The search address + "&type=text&n=" + the 1-based row number, inserted as given.
Text playLinkUrl(const Text& songName, const Text& rowNumber);
// The body up to its first NUL, URL-decoded and read as UTF-8, as a GBK text.
Text decodeAnswer(const ByteBuffer& body);
// Everything after the first "播放链接：" marker, unchanged; empty without a marker.
Text extractPlayLink(const Text& answer);

}  // namespace sp::SongSearchService
