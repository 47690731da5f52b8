#include "search/download_command.h"

#include <array>
#include <string>
#include <string_view>

#include "search/song_search_service.h"
#include "text/text_search.h"

namespace sp {

namespace {

// Characters no file name may hold. The double quote is not among them.
constexpr std::array<std::string_view, 8> kForbiddenCharacters{"\\", "/", ":", "*",
                                                               "?",  "<", ">", "|"};

// The search steps over double-byte characters, so the second byte of 昞 (0x95 0x5C)
// is not taken for a backslash.
bool holdsForbiddenCharacter(const Text& fileName) {
  for (const std::string_view character : kForbiddenCharacters) {
    if (findText(fileName, Text(character)) > 0) return true;
  }
  return false;
}

void showStop(Platform& platform, std::string_view text, std::string_view caption) {
  platform.messageBox(gbkFromUtf8(text), kStopIcon, gbkFromUtf8(caption));
}

void reportOutcome(Platform& platform, FetchOutcome outcome) {
  switch (outcome) {
    case FetchOutcome::Saved:
      platform.messageBox(gbkFromUtf8("下载完成"), kInformationIcon, gbkFromUtf8("提示"));
      return;
    case FetchOutcome::NoPlayLink:
      showStop(platform, "下载失败：没有找到播放链接", "错误");
      return;
    case FetchOutcome::SongFetchFailed:
      showStop(platform, "下载失败：歌曲文件获取失败", "错误");
      return;
    case FetchOutcome::WriteFailed:
      showStop(platform, "下载失败：无法写入文件", "错误");
      return;
  }
}

}  // namespace

void downloadCommand(ProgramState& state, MainWindowControls& window, Platform& platform) {
  const int32_t selectedRow = window.selectedRow();
  if (selectedRow < 0) {
    showStop(platform, "请选择一个需要下载的歌", "提示");
    return;
  }
  if (window.readText(Control::FileNameBox).empty()) {
    showStop(platform, "不能没名字啊", "提示");
    return;
  }
  if (holdsForbiddenCharacter(window.readText(Control::FileNameBox))) {
    showStop(platform, "存在非法字符：/\\:*?:<>|", "错误");
    return;
  }
  state.downloadRowNumber = std::to_string(selectedRow + 1);
  const FetchOutcome outcome = fetchSong(state, window, platform, state.downloadRowNumber,
                                         window.readText(Control::FileNameBox));
  reportOutcome(platform, outcome);
}

FetchOutcome fetchSong(ProgramState& state, MainWindowControls& window, Platform& platform,
                       const Text& rowNumber, const Text& fileName) {
  // The box's text now, not the one the last search used.
  const Text songName = window.readText(Control::SongNameBox);
  const ByteBuffer answer = platform.httpGet(SongSearchService::playLinkUrl(songName, rowNumber));
  state.playLinkAnswer = SongSearchService::decodeAnswer(answer);
  if (findText(state.playLinkAnswer, gbkFromUtf8("播放链接：")) == 0) {
    // Without the marker there is no link to cut out, and nothing worth fetching.
    state.playLinkAnswer = Text();
    return FetchOutcome::NoPlayLink;
  }
  state.playLinkAnswer = SongSearchService::extractPlayLink(state.playLinkAnswer);

  const Text targetPath = joinTexts(platform.runDirectory(), "\\", fileName, ".mp3");
  switch (platform.saveUrlToFile(state.playLinkAnswer, targetPath)) {
    case SaveStatus::Saved:
      return FetchOutcome::Saved;
    case SaveStatus::FetchFailed:
      return FetchOutcome::SongFetchFailed;
    case SaveStatus::WriteFailed:
      break;
  }
  return FetchOutcome::WriteFailed;
}

}  // namespace sp
