// "many-<N>": a search that lists N made-up songs, for measuring how the client
// copes with long answers; the catalogue itself is far too small for that.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "catalogue.h"

namespace songservice {

inline constexpr std::size_t kMaxManySongs = 100'000;

// N for "many-<N>" with N from 1 to kMaxManySongs, no sign or leading zero.
std::optional<std::size_t> manySongsCount(std::string_view name);

// N songs with numbered Chinese names and singers; each plays a catalogue song's
// MP3 so that a download from the list works too.
std::vector<Song> manySongs(std::size_t count);

}  // namespace songservice
