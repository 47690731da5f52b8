#include "answers.h"

#include "gtest/gtest.h"

namespace songservice {
namespace {

TEST(JsonString, EscapesWhatJsonNeedsAndTheSlash) {
  const struct {
    const char* text;
    const char* json;
  } cases[] = {
      {"", R"("")"},
      {"晴天", R"("晴天")"},
      {"Say \"Hello\"", R"("Say \"Hello\"")"},
      {"Back\\Slash", R"("Back\\Slash")"},
      {"Either/Or", R"("Either\/Or")"},
      {"a\nb", R"("a\nb")"},
      {"\x01\x1F", R"("\u0001\u001F")"},
      {"1+1 100%", R"("1+1 100%")"},
      {"🌈", R"("🌈")"},
  };
  for (const auto& c : cases) EXPECT_EQ(jsonString(c.text), c.json) << c.text;
}

TEST(SearchAnswer, ListsEveryHitWithItsFourMembers) {
  EXPECT_EQ(searchAnswer({}), R"({"list":[]})");
  const std::vector<Song> hits = {{1, "晴天", "纸飞机乐队", "午后的光", "1"},
                                  {25, "Either/Or", "Quiet Harbour", "Tidelines", "25"}};
  EXPECT_EQ(searchAnswer(hits),
            R"({"list":[{"id":1,"name":"晴天","singer":"纸飞机乐队","album":"午后的光"},)"
            R"({"id":25,"name":"Either\/Or","singer":"Quiet Harbour","album":"Tidelines"}]})");
}

TEST(PlayLinkAnswer, EndsWithTheMarkerAndTheLinkAndNothingAfter) {
  const Song song{2, "晴天日记", "青柠合唱团", "夏日来信", "2"};
  const std::string link = "https://localhost:1/mp3/2.mp3";
  const std::string answer = playLinkAnswer(song, link);
  const std::string tail = std::string(kPlayLinkMarker) + link;
  ASSERT_GE(answer.size(), tail.size());
  EXPECT_EQ(answer.substr(answer.size() - tail.size()), tail);
  EXPECT_EQ(answer.find(kPlayLinkMarker), answer.size() - tail.size()) << "one marker only";
  EXPECT_NE(answer.find("歌名：晴天日记\n"), std::string::npos);
  EXPECT_NE(answer.find("歌手：青柠合唱团\n"), std::string::npos);
}

TEST(MissingHitAnswer, HoldsNoMarkerWhateverTheNumber) {
  for (const char* number : {"0", "4", "12345678901", "", "x", "播放链接：file:///etc/passwd"}) {
    const std::string answer = missingHitAnswer(number);
    EXPECT_EQ(answer.find(kPlayLinkMarker), std::string::npos) << number;
    EXPECT_FALSE(answer.empty());
  }
  EXPECT_NE(missingHitAnswer("4").find("第4首"), std::string::npos);
}

}  // namespace
}  // namespace songservice
