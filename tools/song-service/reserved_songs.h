// Song names the catalogue does not hold: big songs for download benchmarks and,
// when fault modes are on, songs whose answers misbehave on purpose.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "catalogue.h"

namespace songservice {

enum class Fault {
  // The search and play-link answers for the name misbehave.
  NotJson,         // an HTML error page
  QuotedString,    // a JSON string whose content is a song list
  Script,          // a script that would build a song list if it were run
  DeepJson,        // an object nested 100,000 deep
  HugeAnswer,      // a valid JSON answer of 50 MiB
  Silent,          // the request is read, then nothing is sent for a long time
  Broken,          // a Content-Length larger than what is sent, then the connection closes
  RedirectToFile,  // a redirect to a file: URL
  // The search lists the song normally; the play-link answer misbehaves.
  NoMarker,  // a text without the play-link marker
  FileLink,  // a play link that is a file: URL
  // Search and play link are normal; the MP3 address misbehaves.
  Mp3NotFound,
  Mp3Broken,
  Mp3Silent,
  Mp3RedirectToFile,
};

struct FaultSong {
  Fault fault;
  std::string_view name;
};

const std::vector<FaultSong>& faultSongs();
std::optional<Fault> faultByName(std::string_view name);

// True for the faults whose search answer lists the song like a catalogue song.
bool searchesNormally(Fault fault);

// "big-<N>mb" with N from 1 to kMaxBigSongMebibytes names a song whose MP3 is
// N MiB of valid frames; the size in bytes, or nothing for any other name.
inline constexpr std::uint64_t kMaxBigSongMebibytes = 2048;
std::optional<std::uint64_t> bigSongBytes(std::string_view name);

// The one-hit listing for a reserved name: its audio key is the name itself.
Song reservedSong(std::string_view name, int id);

}  // namespace songservice
