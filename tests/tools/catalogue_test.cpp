#include "catalogue.h"

#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "latin_case.h"
#include "text/text.h"

namespace songservice {
namespace {

std::vector<std::string> namesOf(const std::vector<Song>& songs) {
  std::vector<std::string> names;
  for (const Song& s : songs) names.push_back(s.name);
  return names;
}

bool anyName(bool (*test)(const std::string&)) {
  for (const Song& s : catalogue()) {
    if (test(s.name)) return true;
  }
  return false;
}

TEST(Catalogue, HoldsEnoughSongsWithUniqueIdsAndAudioKeys) {
  EXPECT_GE(catalogue().size(), 30u);
  std::set<int> ids;
  std::set<std::string> keys;
  for (const Song& s : catalogue()) {
    EXPECT_TRUE(ids.insert(s.id).second) << s.id;
    EXPECT_TRUE(keys.insert(s.audioKey).second) << s.audioKey;
    EXPECT_FALSE(s.name.empty() || s.singer.empty() || s.album.empty()) << s.id;
    EXPECT_EQ(songByAudioKey(s.audioKey), &s);
  }
  EXPECT_EQ(songByAudioKey("no-such-key"), nullptr);
}

TEST(Catalogue, NamesHoldTheCharactersThatMatterToTheClient) {
  for (const std::string needle : {"晴天", "+", "%", "'", "\"", "\\", "/"}) {
    EXPECT_FALSE(findSongs(needle).empty()) << needle;
  }
  // Chinese, Japanese kana and Latin names.
  EXPECT_TRUE(anyName([](const std::string& n) { return n.find("的") != std::string::npos; }));
  EXPECT_TRUE(anyName([](const std::string& n) { return n.find("の") != std::string::npos; }));
  EXPECT_TRUE(anyName([](const std::string& n) { return n == "Morning Light"; }));
  // A name that code page 936 cannot hold does not survive the round trip.
  EXPECT_TRUE(anyName(
      [](const std::string& n) { return sp::utf8FromGbk(sp::utf8ToGbk(sp::ByteBuffer(n))) != n; }));
}

struct SearchCase {
  const char* query;
  std::vector<std::string> names;
};

class FindSongs : public ::testing::TestWithParam<SearchCase> {};

TEST_P(FindSongs, ListsTheNamesThatContainTheQueryInCatalogueOrder) {
  EXPECT_EQ(namesOf(findSongs(GetParam().query)), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, FindSongs,
    ::testing::Values(SearchCase{"晴天", {"晴天", "晴天日记", "雨后晴天"}},
                      SearchCase{"summer", {"SUMMER RAIN", "summer wind"}},
                      SearchCase{"SUMMER R", {"SUMMER RAIN"}}, SearchCase{"CAFÉ", {"Café Latte"}},
                      SearchCase{"+", {"1+1=我们", "Rock+Roll Tonight"}},
                      SearchCase{"/", {"Either/Or", "春の雨 / 秋の風"}},
                      SearchCase{"\\", {"Back\\Slash Blues"}}, SearchCase{"'", {"Don't Look Back"}},
                      SearchCase{"\"", {"Say \"Hello\""}}, SearchCase{"桜", {"桜の歌"}},
                      SearchCase{"", {}}, SearchCase{"no such song", {}},
                      // Singers are not searched.
                      SearchCase{"Neon Orchard", {}},
                      // Reserved names stay out of ordinary searches.
                      SearchCase{"big-5mb", {}}, SearchCase{"fault-", {}}));

struct FoldCase {
  const char* utf8;
  std::u32string folded;
};

TEST(FoldLatinCase, LowersLatinCapitalsAndKeepsEverythingElse) {
  const FoldCase cases[] = {
      {"ABC xyz", U"abc xyz"},
      {"ÀÉÖØÞ", U"àéöøþ"},
      {"×", U"×"},  // the multiplication sign has no lower case
      {"晴天Ä", U"晴天ä"},
      {"ΑΒ", U"ΑΒ"},  // Greek is not Latin
  };
  for (const FoldCase& c : cases) EXPECT_EQ(foldLatinCase(c.utf8), c.folded) << c.utf8;
}

TEST(FoldLatinCase, BrokenUtf8NeverMatchesARealCharacter) {
  // A lone lead byte, a lone continuation byte, an overlong "/" and a surrogate.
  for (const char* broken : {"\xE6", "\x99", "\xC0\xAF", "\xED\xA0\x80"}) {
    EXPECT_FALSE(containsIgnoringLatinCase("Either/Or 晴天", broken)) << broken;
    EXPECT_EQ(foldLatinCase(broken).size(), std::string(broken).size()) << broken;
  }
  EXPECT_TRUE(containsIgnoringLatinCase("a\xE6z", "\xE6"));
}

}  // namespace
}  // namespace songservice
