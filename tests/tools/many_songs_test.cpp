#include "many_songs.h"

#include <set>
#include <string>

#include "gtest/gtest.h"

namespace songservice {
namespace {

TEST(ManySongsCount, ReadsTheCountFromTheName) {
  const struct {
    const char* name;
    std::optional<std::size_t> count;
  } cases[] = {
      {"many-1", 1},
      {"many-100", 100},
      {"many-10000", 10'000},
      {"many-100000", 100'000},
      {"many-100001", {}},
      {"many-0", {}},
      {"many-0100", {}},
      {"many-", {}},
      {"many-+5", {}},
      {"many--5", {}},
      {"many-5x", {}},
      {"MANY-5", {}},
      {"xmany-5", {}},
      {"many-9999999", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(manySongsCount(c.name), c.count) << c.name;
}

TEST(ManySongs, GivesThatManyDistinctSongsThatPlayCatalogueMp3s) {
  std::set<std::string> knownKeys;
  for (const Song& song : catalogue()) knownKeys.insert(song.audioKey);

  for (const std::size_t count : {std::size_t{1}, std::size_t{100}, std::size_t{1000}}) {
    const std::vector<Song> songs = manySongs(count);
    ASSERT_EQ(songs.size(), count);
    std::set<std::string> names;
    std::set<int> ids;
    for (const Song& song : songs) {
      names.insert(song.name);
      ids.insert(song.id);
      EXPECT_FALSE(song.singer.empty());
      EXPECT_TRUE(knownKeys.contains(song.audioKey)) << song.audioKey;
    }
    EXPECT_EQ(names.size(), count);
    EXPECT_EQ(ids.size(), count);
  }
  EXPECT_EQ(manySongs(3)[2].name, "测试歌曲3");
}

}  // namespace
}  // namespace songservice
