#include "reserved_songs.h"

#include <string>

namespace songservice {

const std::vector<FaultSong>& faultSongs() {
  static const std::vector<FaultSong> songs = {
      {Fault::NotJson, "fault-not-json"},     {Fault::QuotedString, "fault-quoted-string"},
      {Fault::Script, "fault-script"},        {Fault::DeepJson, "fault-deep-json"},
      {Fault::HugeAnswer, "fault-50mb"},      {Fault::Silent, "fault-silent"},
      {Fault::Broken, "fault-broken"},        {Fault::RedirectToFile, "fault-redirect-file"},
      {Fault::NoMarker, "fault-no-marker"},   {Fault::FileLink, "fault-file-link"},
      {Fault::Mp3NotFound, "fault-mp3-404"},  {Fault::Mp3Broken, "fault-mp3-broken"},
      {Fault::Mp3Silent, "fault-mp3-silent"}, {Fault::Mp3RedirectToFile, "fault-mp3-redirect-file"},
  };
  return songs;
}

std::optional<Fault> faultByName(std::string_view name) {
  for (const FaultSong& song : faultSongs()) {
    if (song.name == name) return song.fault;
  }
  return std::nullopt;
}

bool searchesNormally(Fault fault) {
  switch (fault) {
    case Fault::NoMarker:
    case Fault::FileLink:
    case Fault::Mp3NotFound:
    case Fault::Mp3Broken:
    case Fault::Mp3Silent:
    case Fault::Mp3RedirectToFile:
      return true;
    default:
      return false;
  }
}

std::optional<std::uint64_t> bigSongBytes(std::string_view name) {
  constexpr std::string_view prefix = "big-";
  constexpr std::string_view suffix = "mb";
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) ||
      !name.ends_with(suffix)) {
    return std::nullopt;
  }
  const std::string_view digits =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  // No sign, no leading zero, so each size has exactly one name.
  if (digits.size() > 4 || digits.front() == '0') return std::nullopt;
  std::uint64_t mebibytes = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    mebibytes = mebibytes * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (mebibytes > kMaxBigSongMebibytes) return std::nullopt;
  return mebibytes * 1024 * 1024;
}

Song reservedSong(std::string_view name, int id) {
  const bool big = bigSongBytes(name).has_value();
  return Song{id, std::string(name), big ? "Benchmark Band" : "Fault Finders",
              big ? "Big Songs" : "Things That Break", std::string(name)};
}

}  // namespace songservice
