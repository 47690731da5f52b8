#include "reserved_songs.h"

#include <set>

#include "gtest/gtest.h"

namespace songservice {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

TEST(BigSongBytes, ReadsTheSizeFromTheName) {
  const struct {
    const char* name;
    std::optional<std::uint64_t> bytes;
  } cases[] = {
      {"big-1mb", 1 * kMiB},
      {"big-5mb", 5 * kMiB},
      {"big-100mb", 100 * kMiB},
      {"big-2048mb", 2048 * kMiB},
      {"big-2049mb", {}},
      {"big-0mb", {}},
      {"big-05mb", {}},
      {"big-5MB", {}},
      {"big-mb", {}},
      {"big--5mb", {}},
      {"big-+5mb", {}},
      {"xbig-5mb", {}},
      {"big-5mbx", {}},
      {"big-99999mb", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(bigSongBytes(c.name), c.bytes) << c.name;
}

TEST(FaultSongs, EveryFaultHasOneNameThatFindsIt) {
  std::set<std::string_view> names;
  for (const FaultSong& song : faultSongs()) {
    EXPECT_TRUE(names.insert(song.name).second) << song.name;
    EXPECT_EQ(faultByName(song.name), song.fault) << song.name;
    EXPECT_TRUE(song.name.starts_with("fault-")) << song.name;
  }
  EXPECT_EQ(faultSongs().size(), 14u);
  EXPECT_EQ(faultByName("fault-"), std::nullopt);
  EXPECT_EQ(faultByName("FAULT-SILENT"), std::nullopt);
}

TEST(FaultSongs, OnlyPlayLinkAndSongFaultsAreListedByTheSearch) {
  const struct {
    Fault fault;
    bool listed;
  } cases[] = {
      {Fault::NotJson, false},  {Fault::QuotedString, false},     {Fault::Script, false},
      {Fault::DeepJson, false}, {Fault::HugeAnswer, false},       {Fault::Silent, false},
      {Fault::Broken, false},   {Fault::RedirectToFile, false},   {Fault::NoMarker, true},
      {Fault::FileLink, true},  {Fault::Mp3NotFound, true},       {Fault::Mp3Broken, true},
      {Fault::Mp3Silent, true}, {Fault::Mp3RedirectToFile, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(searchesNormally(c.fault), c.listed) << static_cast<int>(c.fault);
  }
}

TEST(ReservedSong, UsesItsNameAsAudioKey) {
  const Song big = reservedSong("big-5mb", 7);
  EXPECT_EQ(big.id, 7);
  EXPECT_EQ(big.name, "big-5mb");
  EXPECT_EQ(big.audioKey, "big-5mb");
  EXPECT_NE(big.singer, reservedSong("fault-silent", 7).singer);
}

}  // namespace
}  // namespace songservice
