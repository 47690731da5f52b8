#include "search/search_command.h"

#include <memory>
#include <string>

#include "json/json_text_check.h"
#include "search/song_search_service.h"

namespace sp {

namespace {

void emptyResultList(MainWindowControls& window) {
  // From the last row up, one at a time.
  while (window.rowCount() >= 1) window.deleteRow(window.rowCount() - 1);
}

// The answer is data, never code: only an object or array reaches the engine's
// eval. Anything else leaves the document as an empty answer would, so the count is 0
// and nothing of an earlier search is read again.
void loadAnswer(JsonDocument& songList, const Text& answer) {
  songList.parse(isJsonContainerText(answer) ? answer : Text());
}

int32_t countHits(JsonDocument& songList) {
  const std::unique_ptr<JsonDocument> hits = songList.getDocument("list");
  if (!hits) return 0;
  const int32_t count = hits->memberCount();
  hits->destroy();
  return count;
}

void fillResultList(ProgramState& state, MainWindowControls& window) {
  for (state.songIndex = 1; state.songIndex <= state.songCount; ++state.songIndex) {
    window.appendRow();
    const int32_t row = state.songIndex - 1;
    const std::string k = std::to_string(row);
    // Read from the global document: the "list" sub-document served only to count.
    state.currentSongName = state.songList->getText(joinTexts("list[", k, "].name"));
    state.currentSinger = state.songList->getText(joinTexts("list[", k, "].singer"));
    window.setCellText(row, 0, state.currentSongName);
    window.setCellText(row, 1, state.currentSinger);
  }
}

Text statusLine(const FetchResult& fetched, int32_t songCount) {
  // An answer that never arrived, or arrived only in part, is a failure, not a
  // search without hits.
  if (!fetched.complete()) {
    return gbkFromUtf8(fetched.body.empty() ? "搜索失败：无法连接到歌曲服务"
                                            : "搜索失败：歌曲服务的回答不完整");
  }
  return joinTexts(gbkFromUtf8("搜索到了"), std::to_string(songCount), gbkFromUtf8("个歌曲"));
}

}  // namespace

void searchCommand(ProgramState& state, MainWindowControls& window, Platform& platform) {
  emptyResultList(window);
  const FetchResult fetched =
      platform.httpFetch(SongSearchService::searchUrl(window.readText(Control::SongNameBox)));
  state.searchAnswer = SongSearchService::decodeAnswer(fetched.body);
  loadAnswer(*state.songList, state.searchAnswer);
  state.songCount = countHits(*state.songList);
  fillResultList(state, window);
  window.writeText(Control::StatusLabel, statusLine(fetched, state.songCount));
}

}  // namespace sp
