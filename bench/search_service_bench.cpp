// A search end to end against the local song service: from the click on the
// search button to the filled list and status line, with the real Qt platform,
// HTTP client and script engine. The references fetch the same address with
// libcurl in-process: a fresh handle trusting only the service's authority (as
// the curl tool with --cacert does), and the program's own HTTP client alone.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <QApplication>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "local_service.h"
#include "platform/http_client.h"
#include "platform/linux_platform.h"
#include "platform/settings.h"
#include "running_program.h"
#include "search/song_search_service.h"
#include "ui/qt_platform.h"

namespace sp::bench {
namespace {

constexpr const char* kSongName = "many-100";

QtPlatform* platform = nullptr;

std::string searchAddress() {
  return SongSearchService::searchUrl(Text(kSongName)).str();
}

size_t discardBody(char*, size_t size, size_t count, void* received) {
  *static_cast<size_t*>(received) += size * count;
  return size * count;
}

// What `curl -s -0 --cacert ca.pem URL -o /dev/null` does, without starting a process.
void libcurlFetch(benchmark::State& state) {
  const std::string url = searchAddress();
  const std::string ca = serviceCaFile();
  size_t received = 0;
  for (auto _ : state) {
    CURL* handle = curl_easy_init();
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(handle, CURLOPT_CAINFO, ca.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, discardBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &received);
    if (curl_easy_perform(handle) != CURLE_OK) state.SkipWithError("libcurl could not fetch");
    curl_easy_cleanup(handle);
  }
  state.counters["bytes"] = static_cast<double>(received) / static_cast<double>(state.iterations());
}

// The program's client alone: its request, its limits, its trust store.
void programHttpFetch(benchmark::State& state) {
  const Text url(searchAddress());
  const HttpOptions options = httpOptionsFrom(settings());
  for (auto _ : state) {
    const FetchResult result = httpFetch(url, options);
    if (!result.complete()) state.SkipWithError("the program's client could not fetch");
  }
}

// From the click to the filled list and status line, then the event loop's turn
// that paints them.
void clickToFilledList(benchmark::State& state) {
  MainWindow& window = *platform->mainWindow();
  window.writeText(Control::SongNameBox, Text(kSongName));
  auto* searchButton = window.findChild<QPushButton*>(QString::fromUtf8("按钮1"));
  const Text expectedStatus = joinTexts(gbkFromUtf8("搜索到了"), "100", gbkFromUtf8("个歌曲"));
  for (auto _ : state) {
    searchButton->click();
    QApplication::processEvents();
  }
  if (window.rowCount() != 100 || window.readText(Control::StatusLabel) != expectedStatus) {
    state.SkipWithError("the search did not list 100 hits");
  }
}

BENCHMARK(libcurlFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(programHttpFetch)->Unit(benchmark::kMillisecond);
BENCHMARK(clickToFilledList)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace sp::bench

int main(int argc, char** argv) {
  const int port = sp::bench::servicePort();
  if (port == 0) {
    std::fprintf(stderr, "set SONGPICKER_SERVICE_PORT to the local song service's port\n");
    return 2;
  }
  sp::bench::useLocalService(port);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);

  sp::bench::RunningProgram program;
  sp::bench::platform = &program.platform;

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
