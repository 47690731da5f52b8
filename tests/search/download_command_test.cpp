// downloadCommand and fetchSong with a fake window and a fake platform.
#include "search/download_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/settings.h"
#include "support/fakes/fake_main_window.h"
#include "support/fakes/fake_platform.h"

namespace sp {
namespace {

using testing::FakeMainWindow;
using testing::FakePlatform;
using testing::RecordedMessageBox;

std::string utf8(const Text& text) {
  return utf8FromGbk(text);
}
Text gbk(std::string_view utf8Text) {
  return gbkFromUtf8(utf8Text);
}

const std::string kQingtian = "%E6%99%B4%E5%A4%A9";  // 晴天 as sent
const std::string kSongLink = "https://cdn.test/qingtian.mp3";
const std::string kPlayLinkAnswer = "歌名：晴天\n播放链接：" + kSongLink;
const std::string kMp3 =
    std::string("ID3\x03\x00\x00\x00\x00\x00\x21\xFF\xFB\x90\x00", 14) + "frames";
const Text kRunDirectory = "C:\\songpicker";

std::string playLinkAddress(const std::string& encodedName, const std::string& rowNumber) {
  return "https://songs.test/API/yy_sq.php?msg=" + encodedName + "&type=text&n=" + rowNumber;
}

RecordedMessageBox box(std::string_view textUtf8, int32_t style, std::string_view captionUtf8) {
  return {gbk(textUtf8), style, gbk(captionUtf8)};
}

class DownloadCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSettings_ = settings();
    settings().songServiceHost = "songs.test";
    platform.runDirectoryValue = kRunDirectory;
    window.addRows({{gbk("晴天"), gbk("歌手甲")}, {gbk("晴天 (live)"), gbk("歌手乙")}});
    window.texts[Control::SongNameBox] = gbk("晴天");
  }
  void TearDown() override { settings() = savedSettings_; }

  // A selected first row, the file name typed, and a service that serves the song.
  void prepare(const Text& fileName, int32_t selectedRow = 0) {
    window.selected = selectedRow;
    window.texts[Control::FileNameBox] = fileName;
    const std::string n = std::to_string(selectedRow + 1);
    platform.answerBody(playLinkAddress(kQingtian, n), kPlayLinkAnswer);
    platform.answerBody(kSongLink, kMp3);
  }

  std::vector<std::string> fetched() {
    std::vector<std::string> urls;
    for (const Text& url : platform.requests) urls.push_back(url.str());
    return urls;
  }
  bool wroteAnything() {
    for (const std::string& call : platform.calls) {
      if (call.starts_with("write ")) return true;
    }
    return false;
  }

  ProgramState state;
  FakeMainWindow window;
  FakePlatform platform;

 private:
  Settings savedSettings_;
};

// --- The checks, in their order ----------------------------------------------

struct CheckCase {
  int32_t selectedRow;
  const char* fileNameUtf8;
  RecordedMessageBox expected;
};

TEST_F(DownloadCommandTest, RefusesWithTheFirstFailingCheckAndAsksNothing) {
  const RecordedMessageBox noRow = box("请选择一个需要下载的歌", 16, "提示");
  const RecordedMessageBox noName = box("不能没名字啊", 16, "提示");
  const RecordedMessageBox forbidden = box("存在非法字符：/\\:*?:<>|", 16, "错误");
  const CheckCase cases[] = {
      {-1, "", noRow},  // no row wins even with an empty name
      {-1, "a:b", noRow},      {-1, "good", noRow},   {0, "", noName},       {1, "", noName},
      {0, "a\\b", forbidden},  {0, "a/b", forbidden}, {0, "a:b", forbidden}, {0, "a*b", forbidden},
      {0, "a?b", forbidden},   {0, "a<b", forbidden}, {0, "a>b", forbidden}, {0, "a|b", forbidden},
      {0, "晴天|", forbidden}, {0, "/", forbidden},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.selectedRow) + " " + c.fileNameUtf8);
    platform.messageBoxes.clear();
    window.selected = c.selectedRow;
    window.texts[Control::FileNameBox] = gbk(c.fileNameUtf8);
    state.downloadRowNumber = "7";
    downloadCommand(state, window, platform);
    EXPECT_EQ(platform.messageBoxes, std::vector<RecordedMessageBox>{c.expected});
    EXPECT_TRUE(platform.requests.empty());
    EXPECT_FALSE(wroteAnything());
    EXPECT_EQ(state.downloadRowNumber.str(), "7");  // untouched by a refused download
  }
}

// --- The file's path and name --------------------------------------------------

struct PathCase {
  const char* what;
  Text runDirectory;
  Text fileName;
  Text expectedPath;
};

TEST_F(DownloadCommandTest, SavesAsRunDirectoryBackslashNameDotMp3) {
  const Text bing("\x95\x5C");  // 昞: its second byte is a backslash's
  const PathCase cases[] = {
      {"plain", kRunDirectory, "song", "C:\\songpicker\\song.mp3"},
      {"extension kept in the name", kRunDirectory, "x.mp3", "C:\\songpicker\\x.mp3.mp3"},
      {"trailing space kept", kRunDirectory, "song ", "C:\\songpicker\\song .mp3"},
      {"leading space kept", kRunDirectory, " song", "C:\\songpicker\\ song.mp3"},
      {"double-byte character ending in 0x5C", kRunDirectory, joinTexts("a", bing, "b"),
       joinTexts("C:\\songpicker\\a", bing, "b.mp3")},
      {"double quote is not refused", kRunDirectory, "a\"b", "C:\\songpicker\\a\"b.mp3"},
      {"Chinese name", kRunDirectory, gbk("晴天"),
       joinTexts("C:\\songpicker\\", gbk("晴天"), ".mp3")},
      {"run directory at a drive's root", "C:", "x", "C:\\x.mp3"},
      {"run directory at the root", "", "x", "\\x.mp3"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.what);
    platform.messageBoxes.clear();
    platform.runDirectoryValue = c.runDirectory;
    prepare(c.fileName);
    downloadCommand(state, window, platform);
    ASSERT_TRUE(platform.hasFile(c.expectedPath));
    EXPECT_EQ(platform.file(c.expectedPath).str(), kMp3);
    EXPECT_EQ(platform.messageBoxes, std::vector<RecordedMessageBox>{box("下载完成", 64, "提示")});
  }
}

// --- The requests ----------------------------------------------------------------

TEST_F(DownloadCommandTest, AsksForTheSelectedRowCountedFromOneThenFetchesTheLink) {
  struct RowCase {
    int32_t selectedRow;
    const char* n;
  };
  const RowCase cases[] = {{0, "1"}, {1, "2"}, {11, "12"}};
  window.addRows(std::vector<FakeMainWindow::Row>(10));
  for (const RowCase& c : cases) {
    SCOPED_TRACE(c.n);
    platform.requests.clear();
    prepare("song", c.selectedRow);
    downloadCommand(state, window, platform);
    EXPECT_EQ(fetched(), (std::vector<std::string>{playLinkAddress(kQingtian, c.n), kSongLink}));
    EXPECT_EQ(state.downloadRowNumber.str(), c.n);
  }
}

TEST_F(DownloadCommandTest, UsesTheSongNameBoxAsItIsNowNotAsSearched) {
  prepare("song");
  window.texts[Control::SongNameBox] = "a b";
  platform.answerBody(playLinkAddress("a+b", "1"), kPlayLinkAnswer);
  downloadCommand(state, window, platform);
  ASSERT_FALSE(platform.requests.empty());
  EXPECT_EQ(platform.requests[0].str(), playLinkAddress("a+b", "1"));
}

TEST_F(DownloadCommandTest, FetchesTheLinkExactlyAsCutOut) {
  struct LinkCase {
    const char* what;
    std::string answer;  // as the service sends it
    std::string link;    // what is fetched next
  };
  const LinkCase cases[] = {
      {"text before the marker ignored", "xyz播放链接：https://cdn.test/a.mp3",
       "https://cdn.test/a.mp3"},
      {"trailing white space kept", "播放链接：https://cdn.test/a.mp3 \r\n",
       "https://cdn.test/a.mp3 \r\n"},
      {"plus decoded to a space", "播放链接：https://cdn.test/a+b.mp3", "https://cdn.test/a b.mp3"},
      {"second marker kept", "播放链接：x播放链接：y", "x播放链接：y"},
  };
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.what);
    prepare("song");
    platform.answerBody(playLinkAddress(kQingtian, "1"), c.answer);
    platform.requests.clear();
    downloadCommand(state, window, platform);
    ASSERT_EQ(platform.requests.size(), 2u);
    EXPECT_EQ(utf8(platform.requests[1]), c.link);
    EXPECT_EQ(utf8(state.playLinkAnswer), c.link);
  }
}

// --- Success and the state it leaves ----------------------------------------------

TEST_F(DownloadCommandTest, WritesTheSongAndLeavesTheWindowAsItWas) {
  prepare("song", 1);
  window.texts[Control::StatusLabel] = gbk("搜索到了2个歌曲");
  const FakeMainWindow before = window;
  downloadCommand(state, window, platform);
  EXPECT_EQ(platform.file("C:\\songpicker\\song.mp3").str(), kMp3);
  EXPECT_EQ(state.downloadRowNumber.str(), "2");
  EXPECT_EQ(state.playLinkAnswer.str(), kSongLink);
  EXPECT_EQ(window.rows, before.rows);
  EXPECT_EQ(window.selected, before.selected);
  EXPECT_EQ(window.texts, before.texts);
  EXPECT_EQ(platform.messageBoxes, std::vector<RecordedMessageBox>{box("下载完成", 64, "提示")});
}

TEST_F(DownloadCommandTest, ASecondDownloadUnderTheSameNameReplacesTheFirst) {
  prepare("song");
  downloadCommand(state, window, platform);
  platform.answerBody(kSongLink, "second take");
  downloadCommand(state, window, platform);
  EXPECT_EQ(platform.file("C:\\songpicker\\song.mp3").str(), "second take");
  EXPECT_EQ(platform.messageBoxes.size(), 2u);
}

TEST_F(DownloadCommandTest, FetchSongReportsSavedAndShowsNothing) {
  prepare("ignored", 1);  // the service answers for row number 2
  EXPECT_EQ(fetchSong(state, window, platform, "2", "direct"), FetchOutcome::Saved);
  EXPECT_EQ(platform.requests[0].str(), playLinkAddress(kQingtian, "2"));
  EXPECT_TRUE(platform.hasFile("C:\\songpicker\\direct.mp3"));
  EXPECT_TRUE(platform.messageBoxes.empty());
}

// --- Failures are told, and never cost an existing file ----------------------------

struct FailureCase {
  const char* what;
  std::string playLinkAnswer;
  FetchResult song;
  bool writable;
  FetchOutcome outcome;
  const char* message;
};

TEST_F(DownloadCommandTest, TellsWhatFailedAndKeepsTheExistingFile) {
  const std::string partial = kMp3.substr(0, 5);
  const FailureCase cases[] = {
      {"no marker in the answer",
       "error: song not found",
       {},
       true,
       FetchOutcome::NoPlayLink,
       "下载失败：没有找到播放链接"},
      {"no answer at all", "", {}, true, FetchOutcome::NoPlayLink, "下载失败：没有找到播放链接"},
      {"empty link", "播放链接：", FakePlatform::unreachable(), true, FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"song refused", kPlayLinkAnswer, FakePlatform::unreachable(), true,
       FetchOutcome::SongFetchFailed, "下载失败：歌曲文件获取失败"},
      {"link not http(s)",
       kPlayLinkAnswer,
       {FetchStatus::BadUrl, 0, {}},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"song broken mid-body",
       kPlayLinkAnswer,
       {FetchStatus::Broken, 200, ByteBuffer(partial)},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"song stalled",
       kPlayLinkAnswer,
       {FetchStatus::Stalled, 200, ByteBuffer(partial)},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"song too large",
       kPlayLinkAnswer,
       {FetchStatus::TooLarge, 200, ByteBuffer(partial)},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"a 404 page is not a song",
       kPlayLinkAnswer,
       {FetchStatus::Complete, 404, ByteBuffer("<html>Not Found</html>")},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"status just below success",
       kPlayLinkAnswer,
       {FetchStatus::Complete, 199, ByteBuffer(kMp3)},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"a 302 without a follow",
       kPlayLinkAnswer,
       {FetchStatus::Complete, 302, ByteBuffer("moved")},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"empty song",
       kPlayLinkAnswer,
       {FetchStatus::Complete, 200, {}},
       true,
       FetchOutcome::SongFetchFailed,
       "下载失败：歌曲文件获取失败"},
      {"file cannot be written",
       kPlayLinkAnswer,
       {FetchStatus::Complete, 200, ByteBuffer(kMp3)},
       false,
       FetchOutcome::WriteFailed,
       "下载失败：无法写入文件"},
  };
  const Text target = "C:\\songpicker\\song.mp3";
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    platform = FakePlatform();
    platform.runDirectoryValue = kRunDirectory;
    platform.putFile(target, "the earlier download");
    if (!c.writable) platform.refuseWritesTo(target);
    prepare("song");
    platform.answerBody(playLinkAddress(kQingtian, "1"), c.playLinkAnswer);
    platform.answer(kSongLink, c.song);
    platform.answer("", c.song);

    EXPECT_EQ(fetchSong(state, window, platform, "1", "song"), c.outcome);
    EXPECT_EQ(platform.file(target).str(), "the earlier download");

    downloadCommand(state, window, platform);
    EXPECT_EQ(platform.messageBoxes, std::vector<RecordedMessageBox>{box(c.message, 16, "错误")});
    EXPECT_EQ(platform.file(target).str(), "the earlier download");
    if (c.outcome != FetchOutcome::WriteFailed) {
      EXPECT_FALSE(wroteAnything());
    }
  }
}

TEST_F(DownloadCommandTest, WithoutAPlayLinkNothingIsFetchedAndNoLinkIsKept) {
  prepare("song");
  platform.answerBody(playLinkAddress(kQingtian, "1"), "service busy");
  downloadCommand(state, window, platform);
  EXPECT_EQ(fetched(), std::vector<std::string>{playLinkAddress(kQingtian, "1")});
  EXPECT_EQ(state.playLinkAnswer.str(), "");
  EXPECT_EQ(state.downloadRowNumber.str(), "1");
}

TEST_F(DownloadCommandTest, AnySuccessStatusIsASong) {
  for (const long status : {200L, 201L, 206L, 299L}) {
    SCOPED_TRACE(status);
    prepare("song");
    platform.answer(kSongLink, {FetchStatus::Complete, status, ByteBuffer(kMp3)});
    EXPECT_EQ(fetchSong(state, window, platform, "1", "song"), FetchOutcome::Saved);
  }
}

}  // namespace
}  // namespace sp
