// The songs the service knows, and the search over their names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace songservice {

struct Song {
  int id = 0;
  std::string name;      // UTF-8
  std::string singer;    // UTF-8
  std::string album;     // UTF-8
  std::string audioKey;  // the MP3 lives at /mp3/<audioKey>.mp3
};

const std::vector<Song>& catalogue();

// The catalogue songs whose name contains the query, in catalogue order. Latin
// letters match without regard to case; an empty query matches nothing.
std::vector<Song> findSongs(std::string_view query);

// The catalogue song behind an audio key, or nullptr.
const Song* songByAudioKey(std::string_view audioKey);

}  // namespace songservice
