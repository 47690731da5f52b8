#include "many_songs.h"

#include <string>

namespace songservice {

namespace {

constexpr int kFirstManySongId = 10'000;

}  // namespace

std::optional<std::size_t> manySongsCount(std::string_view name) {
  constexpr std::string_view prefix = "many-";
  if (!name.starts_with(prefix)) return std::nullopt;
  const std::string_view digits = name.substr(prefix.size());
  // One name per count: no sign, no leading zero, no more digits than the cap has.
  if (digits.empty() || digits.size() > 6 || digits.front() == '0') return std::nullopt;
  std::size_t count = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    count = count * 10 + static_cast<std::size_t>(c - '0');
  }
  if (count > kMaxManySongs) return std::nullopt;
  return count;
}

std::vector<Song> manySongs(std::size_t count) {
  const std::vector<Song>& known = catalogue();
  std::vector<Song> songs;
  songs.reserve(count);
  for (std::size_t k = 0; k < count; ++k) {
    const std::string number = std::to_string(k + 1);
    songs.push_back(Song{kFirstManySongId + static_cast<int>(k), "测试歌曲" + number,
                         "测试歌手" + number, "测试专辑", known[k % known.size()].audioKey});
  }
  return songs;
}

}  // namespace songservice
