// A search without the network: the answer comes from memory, then the real
// search command decodes it, parses it into the song list, counts the hits and
// fills the real result list of MainWindow. The reference reads the same answer
// with a plain C++ JSON pass into the same list.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "answers.h"
#include "many_songs.h"
#include "memory_platform.h"
#include "plain_json_reader.h"
#include "search/search_command.h"
#include "text/url_codec.h"
#include "ui/main_window.h"

namespace sp::bench {
namespace {

MainWindow* resultWindow = nullptr;

// Exactly what the song service sends for "many-<hits>".
ByteBuffer answerWithHits(int64_t hits) {
  return ByteBuffer(songservice::searchAnswer(songservice::manySongs(static_cast<size_t>(hits))));
}

// The same list the command fills, from the plain reader: the answer is URL-decoded
// as the program does it, read as UTF-8 JSON, and each cell converted to GBK.
void plainSearch(MainWindow& window, const ByteBuffer& body) {
  while (window.rowCount() >= 1) window.deleteRow(window.rowCount() - 1);
  const Text decoded = urlDecode(bytesToText(body), false);
  const std::vector<PlainHit> hits = readPlainHits(decoded.view());
  for (const PlainHit& hit : hits) {
    const int32_t row = window.appendRow();
    window.setCellText(row, 0, utf8ToGbk(ByteBuffer(hit.name)));
    window.setCellText(row, 1, utf8ToGbk(ByteBuffer(hit.singer)));
  }
  window.writeText(
      Control::StatusLabel,
      joinTexts(gbkFromUtf8("搜索到了"), std::to_string(hits.size()), gbkFromUtf8("个歌曲")));
}

// Seconds per hit, so that a flat cost per hit shows as a flat column.
void countPerHit(benchmark::State& state) {
  state.SetComplexityN(state.range(0));
  state.counters["per_hit"] = benchmark::Counter(
      static_cast<double>(state.range(0)),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Both ways must fill the list alike, or the comparison means nothing.
bool sameListBothWays(const ByteBuffer& body) {
  ProgramState state;
  state.songList = std::make_unique<JsonDocument>();
  MemoryPlatform platform(body);
  searchCommand(state, *resultWindow, platform);
  std::vector<Text> byCommand;
  for (int32_t row = 0; row < resultWindow->rowCount(); ++row) {
    byCommand.push_back(resultWindow->cellText(row, 0));
    byCommand.push_back(resultWindow->cellText(row, 1));
  }
  const Text statusByCommand = resultWindow->readText(Control::StatusLabel);
  plainSearch(*resultWindow, body);
  std::vector<Text> byReader;
  for (int32_t row = 0; row < resultWindow->rowCount(); ++row) {
    byReader.push_back(resultWindow->cellText(row, 0));
    byReader.push_back(resultWindow->cellText(row, 1));
  }
  return byCommand == byReader && !byCommand.empty() &&
         statusByCommand == resultWindow->readText(Control::StatusLabel);
}

// The command as the search button runs it, then the event loop's turn that lays
// out and paints the list, as the user sees it.
void searchCommandFill(benchmark::State& state) {
  const ByteBuffer body = answerWithHits(state.range(0));
  if (!sameListBothWays(body)) {
    state.SkipWithError("the command and the plain reader fill different lists");
    return;
  }
  ProgramState program;
  program.songList = std::make_unique<JsonDocument>();
  MemoryPlatform platform(body);
  for (auto _ : state) {
    searchCommand(program, *resultWindow, platform);
    QApplication::processEvents();
  }
  state.counters["bytes"] = static_cast<double>(body.length());
  countPerHit(state);
}

void plainReaderFill(benchmark::State& state) {
  const ByteBuffer body = answerWithHits(state.range(0));
  for (auto _ : state) {
    plainSearch(*resultWindow, body);
    QApplication::processEvents();
  }
  countPerHit(state);
}

BENCHMARK(searchCommandFill)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(plainReaderFill)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace sp::bench

int main(int argc, char** argv) {
  // The real widgets, without a display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  sp::MainWindow window;
  window.show();
  QApplication::processEvents();
  sp::bench::resultWindow = &window;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
