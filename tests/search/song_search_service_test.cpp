#include "search/song_search_service.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/settings.h"
#include "text/text.h"

namespace sp {
namespace {

using namespace std::string_literals;

// Points the service at a fixed host for the test and restores the build's value.
class SongSearchServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedHost_ = std::exchange(settings().songServiceHost, "songs.example:47443");
  }
  void TearDown() override { settings().songServiceHost = savedHost_; }

 private:
  std::string savedHost_;
};

const std::string kPrefix = "https://songs.example:47443/API/yy_sq.php?msg=";

TEST_F(SongSearchServiceTest, SearchUrlSendsTheNameAsPercentEncodedUtf8) {
  struct Case {
    const char* name;
    Text songName;
    std::string expected;
  } const cases[] = {
      {"space as plus", "a b", kPrefix + "a+b"},
      {"晴天", gbkFromUtf8("晴天"), kPrefix + "%E6%99%B4%E5%A4%A9"},
      {"empty name", Text(), kPrefix},
      {"reserved characters", "1+1=2&x%#", kPrefix + "1%2B1%3D2%26x%25%23"},
      {"昞 and a backslash", "\x95\x5C\\", kPrefix + "%E6%98%9E%5C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SongSearchService::searchUrl(c.songName).str(), c.expected);
  }
}

TEST_F(SongSearchServiceTest, PlayLinkUrlAppendsTypeAndRowNumber) {
  struct Case {
    Text songName;
    Text rowNumber;
    std::string expected;
  } const cases[] = {
      {"a b", "1", kPrefix + "a+b&type=text&n=1"},
      {gbkFromUtf8("晴天"), "12", kPrefix + "%E6%99%B4%E5%A4%A9&type=text&n=12"},
      {Text(), "3", kPrefix + "&type=text&n=3"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SongSearchService::playLinkUrl(c.songName, c.rowNumber).str(), c.expected);
  }
}

TEST_F(SongSearchServiceTest, UrlsFollowTheHostSetting) {
  settings().songServiceHost = "localhost";
  EXPECT_EQ(SongSearchService::searchUrl("x").str(), "https://localhost/API/yy_sq.php?msg=x");
  settings().songServiceHost = "127.0.0.1:1";
  EXPECT_EQ(SongSearchService::playLinkUrl("x", "2").str(),
            "https://127.0.0.1:1/API/yy_sq.php?msg=x&type=text&n=2");
}

TEST(SongSearchServiceDecode, DecodesTheBodyUpToItsFirstNul) {
  struct Case {
    const char* name;
    std::string body;
    Text expected;
  } const cases[] = {
      {"empty body", "", Text()},
      {"escape", "x%41y", "xAy"},
      {"plus", "a+b", "a b"},
      {"NUL cuts the body", "{\"list\":[]}\0garbage"s, "{\"list\":[]}"},
      {"NUL first", "\0abc"s, Text()},
      {"UTF-8 becomes GBK", "{\"list\":[{\"name\":\"晴天\",\"singer\":\"无名+乐队\"}]}",
       gbkFromUtf8("{\"list\":[{\"name\":\"晴天\",\"singer\":\"无名 乐队\"}]}")},
      {"escaped UTF-8", "%E6%98%9E", "\x95\x5C"},
      {"invalid UTF-8 is replaced",
       "a\xFF"
       "b",
       "a?b"},
      {"an escaped NUL ends the answer", "ab%00cd", "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SongSearchService::decodeAnswer(ByteBuffer(c.body)), c.expected);
  }
}

TEST(SongSearchServiceExtract, TakesEverythingAfterTheFirstMarker) {
  const std::string marker = gbkFromUtf8("播放链接：").str();
  ASSERT_EQ(marker.size(), 10u);
  // The 40-byte example: the marker starts at byte 6, the link is bytes 16 to 40.
  const std::string link25 = "https://m.example/a/1.mp3";
  ASSERT_EQ(link25.size(), 25u);
  struct Case {
    const char* name;
    std::string answer;
    std::string expected;
  } const cases[] = {
      {"marker at byte 6", "hello" + marker + link25, link25},
      {"marker twice", "x" + marker + "a" + marker + "b", "a" + marker + "b"},
      {"marker at the end", "song" + marker, ""},
      {"marker only", marker, ""},
      {"no marker", "error: no such song", ""},
      {"empty answer", "", ""},
      {"spaces and line ends are kept", marker + " http://a/b \r\n", " http://a/b \r\n"},
      {"text before the marker is ignored",
       gbkFromUtf8("歌名：晴天\n").str() + marker + "http://a/1.mp3", "http://a/1.mp3"},
      {"a marker straddling characters does not count", "\x81" + marker, ""},
      {"the aligned marker after a straddling one", "\x81" + marker + "x" + marker + "L", "L"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SongSearchService::extractPlayLink(Text(c.answer)).str(), c.expected);
  }
}

TEST(SongSearchServiceExtract, WorksOnADecodedTextAnswer) {
  const Text answer = SongSearchService::decodeAnswer(
      ByteBuffer("歌名：晴天\n播放链接：http://m.example/a+b%20c.mp3"s));
  EXPECT_EQ(SongSearchService::extractPlayLink(answer).str(), "http://m.example/a b c.mp3");
}

}  // namespace
}  // namespace sp
