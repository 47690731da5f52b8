// searchCommand with a fake window and a fake platform, and the real JSON document.
#include "search/search_command.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "json/json_document.h"
#include "platform/settings.h"
#include "search/song_search_service.h"
#include "support/fakes/fake_main_window.h"
#include "support/fakes/fake_platform.h"

namespace sp {
namespace {

using testing::FakeMainWindow;
using testing::FakePlatform;

std::string utf8(const Text& text) {
  return utf8FromGbk(text);
}
Text gbk(std::string_view utf8Text) {
  return gbkFromUtf8(utf8Text);
}

const std::string kPrefix = "https://songs.test/API/yy_sq.php?msg=";

class SearchCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSettings_ = settings();
    settings().songServiceHost = "songs.test";
    state.songList = std::make_unique<JsonDocument>();
  }
  void TearDown() override { settings() = savedSettings_; }

  // Types the name, has the service answer `body` for it, and presses search.
  void searchFor(std::string_view nameUtf8, const std::string& body) {
    window.texts[Control::SongNameBox] = gbk(nameUtf8);
    platform.answerBody(SongSearchService::searchUrl(gbk(nameUtf8)), body);
    searchCommand(state, window, platform);
  }

  std::vector<std::vector<std::string>> shownRows() {
    std::vector<std::vector<std::string>> shown;
    for (const auto& row : window.rows) shown.push_back({utf8(row[0]), utf8(row[1])});
    return shown;
  }
  std::string statusLine() { return utf8(window.texts[Control::StatusLabel]); }

  ProgramState state;
  FakeMainWindow window;
  FakePlatform platform;

 private:
  Settings savedSettings_;
};

const std::string kThreeHits =
    R"({"code":200,"list":[{"name":"晴天","singer":"歌手甲"},)"
    R"json({"name":"晴天 (live)","singer":"歌手乙"},{"name":"雨天","singer":"歌手丙"}]})json";

// --- The request -------------------------------------------------------------

struct AddressCase {
  const char* nameUtf8;
  const char* expectedUrl;
};

TEST_F(SearchCommandTest, SendsTheBoxTextEncodedAsUtf8InTheSearchAddress) {
  const AddressCase cases[] = {
      {"", "https://songs.test/API/yy_sq.php?msg="},
      {"a b", "https://songs.test/API/yy_sq.php?msg=a+b"},
      {"晴天", "https://songs.test/API/yy_sq.php?msg=%E6%99%B4%E5%A4%A9"},
      {"x+y&n=2", "https://songs.test/API/yy_sq.php?msg=x%2By%26n%3D2"},
      {"Az09'()*-._", "https://songs.test/API/yy_sq.php?msg=Az09'()*-._"},
  };
  for (const AddressCase& c : cases) {
    SCOPED_TRACE(c.nameUtf8);
    platform.requests.clear();
    window.texts[Control::SongNameBox] = gbk(c.nameUtf8);
    searchCommand(state, window, platform);
    ASSERT_EQ(platform.requests.size(), 1u);
    EXPECT_EQ(platform.requests[0].str(), c.expectedUrl);
  }
}

// --- Filling the list --------------------------------------------------------

TEST_F(SearchCommandTest, ListsEveryHitInArrayOrderAndCountsThem) {
  searchFor("晴天", kThreeHits);
  const std::vector<std::vector<std::string>> expected = {
      {"晴天", "歌手甲"}, {"晴天 (live)", "歌手乙"}, {"雨天", "歌手丙"}};
  EXPECT_EQ(shownRows(), expected);
  EXPECT_EQ(statusLine(), "搜索到了3个歌曲");
}

TEST_F(SearchCommandTest, KeepsTheAnswerCountAndLastRowInTheGlobalState) {
  searchFor("晴天", kThreeHits);
  EXPECT_EQ(utf8(state.searchAnswer), kThreeHits);
  EXPECT_EQ(state.songCount, 3);
  EXPECT_EQ(state.songIndex, 4);  // the loop ends one past the last row
  EXPECT_EQ(utf8(state.currentSongName), "雨天");
  EXPECT_EQ(utf8(state.currentSinger), "歌手丙");
  EXPECT_EQ(state.songList->memberCount("list"), 3);
}

struct AnswerCase {
  const char* what;
  std::string body;
  std::vector<std::vector<std::string>> rows;
  const char* status;
};

TEST_F(SearchCommandTest, ShowsWhatTheAnswerHolds) {
  const AnswerCase cases[] = {
      {"empty list", R"({"list":[]})", {}, "搜索到了0个歌曲"},
      {"no list member", R"({"code":404})", {}, "搜索到了0个歌曲"},
      {"list not an array", R"({"list":{"name":"a"}})", {}, "搜索到了0个歌曲"},
      {"root is an array", R"([{"name":"a"}])", {}, "搜索到了0个歌曲"},
      {"hit without singer", R"({"list":[{"name":"晚风"}]})", {{"晚风", ""}}, "搜索到了1个歌曲"},
      {"null name", R"({"list":[{"name":null,"singer":"乙"}]})", {{"", "乙"}}, "搜索到了1个歌曲"},
      {"values that are not strings",
       R"({"list":[{"name":12,"singer":true}]})",
       {{"12", "true"}},
       "搜索到了1个歌曲"},
      {"plus reads as a space",
       R"({"list":[{"name":"a+b","singer":"c"}]})",
       {{"a b", "c"}},
       "搜索到了1个歌曲"},
      {"percent escapes are decoded",
       R"({"list":[{"name":"%41%E6%99%B4","singer":"c"}]})",
       {{"A晴", "c"}},
       "搜索到了1个歌曲"},
      {"cut at the first NUL",
       std::string(R"({"list":[{"name":"a"}]})") + '\0' + "junk",
       {{"a", ""}},
       "搜索到了1个歌曲"},
      {"surrounding white space",
       " \r\n{\"list\":[{\"name\":\"a\"}]}\n",
       {{"a", ""}},
       "搜索到了1个歌曲"},
      {"empty body", "", {}, "搜索到了0个歌曲"},
      {"an error page", "<html><body>502 Bad Gateway</body></html>", {}, "搜索到了0个歌曲"},
      {"plain text", "busy", {}, "搜索到了0个歌曲"},
  };
  for (const AnswerCase& c : cases) {
    SCOPED_TRACE(c.what);
    searchFor("晴天", c.body);
    EXPECT_EQ(shownRows(), c.rows);
    EXPECT_EQ(statusLine(), c.status);
    EXPECT_EQ(state.songCount, static_cast<int32_t>(c.rows.size()));
  }
}

// The answer is data: an answer that is not an object or array never runs as script.
TEST_F(SearchCommandTest, NeverRunsAnAnswerThatIsNotAJsonContainer) {
  const std::string scripts[] = {
      R"("x")",
      R"(da = {"list":[{"name":"injected"}]})",
      R"((function(){ da = {list:[{name:"injected"}]}; return 1; })())",
      R"({list:[{name:"injected"}]})",  // a script object literal, not JSON
      R"({"list":[{"name":"injected"}]}; da = {list:[{name:"x"},{name:"y"}]})",
  };
  for (const std::string& body : scripts) {
    SCOPED_TRACE(body);
    searchFor("晴天", body);
    EXPECT_TRUE(window.rows.empty());
    EXPECT_EQ(statusLine(), "搜索到了0个歌曲");
    EXPECT_EQ(state.songList->getText("list[0].name").str(), "");
    EXPECT_EQ(utf8(state.searchAnswer), body);  // kept as received, just not loaded
  }
}

// --- Failures ----------------------------------------------------------------

struct FetchCase {
  const char* what;
  FetchResult result;
  const char* status;
};

TEST_F(SearchCommandTest, SaysTheSearchFailedWhenTheAnswerDidNotArriveWhole) {
  const FetchCase cases[] = {
      {"refused", {FetchStatus::Refused, 0, {}}, "搜索失败：无法连接到歌曲服务"},
      {"TLS error", {FetchStatus::TlsError, 0, {}}, "搜索失败：无法连接到歌曲服务"},
      {"stalled before a byte", {FetchStatus::Stalled, 200, {}}, "搜索失败：无法连接到歌曲服务"},
      {"reached, empty body", {FetchStatus::Complete, 200, {}}, "搜索到了0个歌曲"},
      {"reached, error status",
       {FetchStatus::Complete, 500, ByteBuffer("oops")},
       "搜索到了0个歌曲"},
      {"broken mid-body",
       {FetchStatus::Broken, 200, ByteBuffer(R"({"list":[{"na)")},
       "搜索失败：歌曲服务的回答不完整"},
      {"stalled after a whole list",
       {FetchStatus::Stalled, 200, ByteBuffer(R"({"list":[]})")},
       "搜索失败：歌曲服务的回答不完整"},
  };
  for (const FetchCase& c : cases) {
    SCOPED_TRACE(c.what);
    window.texts[Control::SongNameBox] = "a";
    platform.answer(kPrefix + "a", c.result);
    searchCommand(state, window, platform);
    EXPECT_TRUE(window.rows.empty());
    EXPECT_EQ(statusLine(), c.status);
    EXPECT_EQ(state.songCount, 0);
  }
}

TEST_F(SearchCommandTest, FailedSearchAfterAGoodOneLeavesNothingOfIt) {
  const FetchResult failures[] = {
      FakePlatform::unreachable(),
      {FetchStatus::Complete, 200, ByteBuffer("<html>maintenance</html>")},
      {FetchStatus::Complete, 200, ByteBuffer(R"("just a string")")},
  };
  for (const FetchResult& failure : failures) {
    SCOPED_TRACE(failure.body.str());
    searchFor("晴天", kThreeHits);
    ASSERT_EQ(window.rows.size(), 3u);
    window.texts[Control::SongNameBox] = "b";
    platform.answer(kPrefix + "b", failure);
    searchCommand(state, window, platform);
    EXPECT_TRUE(window.rows.empty());
    EXPECT_EQ(state.songCount, 0);
    EXPECT_EQ(state.songList->memberCount("list"), 0);
    EXPECT_EQ(utf8(state.searchAnswer), failure.body.str());
  }
}

// --- The list before and after ------------------------------------------------

TEST_F(SearchCommandTest, DeletesOldRowsFromTheLastUpBeforeAsking) {
  window.addRows({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  window.selected = 1;
  searchCommand(state, window, platform);  // the service cannot be reached
  EXPECT_EQ(window.deletedRows, (std::vector<int32_t>{2, 1, 0}));
  EXPECT_TRUE(window.rows.empty());
  EXPECT_EQ(platform.requests.size(), 1u);
}

TEST_F(SearchCommandTest, LeavesNoRowSelected) {
  window.addRows({{"a", "1"}, {"b", "2"}});
  window.selected = 0;
  searchFor("晴天", kThreeHits);
  EXPECT_EQ(window.selected, -1);
}

TEST_F(SearchCommandTest, AsksOnceAndTouchesNoFileOrMessageBox) {
  searchFor("晴天", kThreeHits);
  EXPECT_EQ(platform.requests.size(), 1u);
  EXPECT_TRUE(platform.messageBoxes.empty());
  EXPECT_TRUE(platform.files().empty());
}

}  // namespace
}  // namespace sp
