// What a search costs in the JSON document: engine creation, parsing the answer,
// and reading the hits by path.
#include <benchmark/benchmark.h>

#include <string>

#include "json/json_document.h"

namespace sp {
namespace {

constexpr int kHits = 100;

// A search answer of about 100 KB with kHits songs, shaped like the service's.
Text searchAnswer() {
  std::string answer = R"({"code":200,"msg":"成功","list":[)";
  const std::string padding(800, 'p');
  for (int k = 0; k < kHits; ++k) {
    if (k > 0) answer += ",";
    const std::string n = std::to_string(k);
    answer += R"({"name":"歌名)" + n + R"(","singer":"歌手)" + n + R"(","album":"专辑)" + n +
              R"(","id":)" + n + R"(,"cover":"https://example.invalid/)" + padding + R"("})";
  }
  answer += "]}";
  return gbkFromUtf8(answer);
}

void createDocument(benchmark::State& state) {
  for (auto _ : state) {
    JsonDocument document;
    benchmark::DoNotOptimize(document.name());
  }
}
BENCHMARK(createDocument)->Unit(benchmark::kMillisecond);

void parseAnswer(benchmark::State& state) {
  const Text answer = searchAnswer();
  state.counters["bytes"] = answer.length();
  JsonDocument document;
  for (auto _ : state) benchmark::DoNotOptimize(document.parse(answer));
}
BENCHMARK(parseAnswer)->Unit(benchmark::kMillisecond);

void readOnePath(benchmark::State& state) {
  JsonDocument document;
  document.parse(searchAnswer());
  for (auto _ : state) benchmark::DoNotOptimize(document.getText("list[42].name"));
}
BENCHMARK(readOnePath)->Unit(benchmark::kMicrosecond);

// As the search command does it: parse, count through a sub-document, read two
// texts per hit.
void searchWithHundredHits(benchmark::State& state) {
  const Text answer = searchAnswer();
  JsonDocument songList;
  for (auto _ : state) {
    songList.parse(answer);
    auto list = songList.getDocument("list");
    const int32_t count = list->memberCount();
    list->destroy();
    for (int32_t k = 0; k < count; ++k) {
      const std::string index = std::to_string(k);
      benchmark::DoNotOptimize(songList.getText(Text("list[" + index + "].name")));
      benchmark::DoNotOptimize(songList.getText(Text("list[" + index + "].singer")));
    }
  }
}
BENCHMARK(searchWithHundredHits)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sp

BENCHMARK_MAIN();
