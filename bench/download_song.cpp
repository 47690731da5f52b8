// One download as the download button makes it, in a process of its own so that
// its wall time and peak memory can be set beside the curl tool's:
//   download_song SONG FOLDER
// asks the local song service (SONGPICKER_SERVICE_PORT) for the play link of
// SONG's first hit, fetches the MP3 through LinuxPlatform and writes it as
// FOLDER/SONG.mp3. Prints the wall time of that download and the peak resident
// memory of the process. As in the program, a search comes first (untimed): it
// pays the one-time costs a download never meets, such as parsing the trusted
// certificate authorities.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "local_service.h"
#include "platform/linux_platform.h"
#include "search/download_command.h"
#include "search/song_search_service.h"

namespace sp::bench {
namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The file goes into the folder given, not beside this program. The play-link
// request (fetch_ms) and the song streamed to disk (save_ms) are timed apart, to
// show where a download's time goes.
class DownloadPlatform : public LinuxPlatform {
 public:
  explicit DownloadPlatform(std::string folder) : folder_(std::move(folder)) {}
  FetchResult httpFetch(const Text& url) override {
    const Clock::time_point start = Clock::now();
    FetchResult result = LinuxPlatform::httpFetch(url);
    fetchMilliseconds += millisecondsSince(start);
    return result;
  }
  SaveStatus saveUrlToFile(const Text& url, const Text& path) override {
    const Clock::time_point start = Clock::now();
    const SaveStatus saved = LinuxPlatform::saveUrlToFile(url, path);
    saveMilliseconds += millisecondsSince(start);
    return saved;
  }
  void registerExitRoutine(std::function<void()>) override {}
  bool loadWindow(WindowId, bool) override { return false; }
  void messageLoop() override {}
  Text runDirectory() override { return Text(folder_); }
  void openUrl(const Text&) override {}
  void messageBox(const Text&, int32_t, const Text&) override {}

  double fetchMilliseconds = 0;
  double saveMilliseconds = 0;

 private:
  std::string folder_;
};

// Only the song-name box is read by a download.
class SongNameOnly : public MainWindowControls {
 public:
  explicit SongNameOnly(Text songName) : songName_(std::move(songName)) {}
  Text readText(Control box) override { return box == Control::SongNameBox ? songName_ : Text(); }
  void writeText(Control, const Text&) override {}
  int32_t checkState(Control) override { return 0; }
  int32_t rowCount() override { return 0; }
  void deleteRow(int32_t) override {}
  int32_t appendRow() override { return 0; }
  void setCellText(int32_t, int32_t, const Text&) override {}
  Text cellText(int32_t, int32_t) override { return {}; }
  int32_t selectedRow() override { return 0; }

 private:
  Text songName_;
};

const char* outcomeName(FetchOutcome outcome) {
  switch (outcome) {
    case FetchOutcome::Saved:
      return "saved";
    case FetchOutcome::NoPlayLink:
      return "no play link";
    case FetchOutcome::SongFetchFailed:
      return "song fetch failed";
    case FetchOutcome::WriteFailed:
      return "write failed";
  }
  return "?";
}

}  // namespace
}  // namespace sp::bench

int main(int argc, char** argv) {
  using namespace sp;
  const int port = bench::servicePort();
  if (argc != 3 || port == 0) {
    std::fprintf(stderr, "usage: SONGPICKER_SERVICE_PORT=PORT download_song SONG FOLDER\n");
    return 2;
  }
  bench::useLocalService(port);
  ProgramState state;
  bench::DownloadPlatform platform(argv[2]);
  bench::SongNameOnly window{Text(argv[1])};
  if (platform.httpGet(SongSearchService::searchUrl(Text(argv[1]))).empty()) {
    std::fprintf(stderr, "the song service did not answer the search\n");
    return 1;
  }
  platform.fetchMilliseconds = 0;
  const bench::Clock::time_point start = bench::Clock::now();
  const FetchOutcome outcome = fetchSong(state, window, platform, Text("1"), Text(argv[1]));
  const double milliseconds = bench::millisecondsSince(start);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%s wall_ms=%.1f fetch_ms=%.1f save_ms=%.1f max_rss_kb=%ld\n",
              bench::outcomeName(outcome), milliseconds, platform.fetchMilliseconds,
              platform.saveMilliseconds, usage.ru_maxrss);
  return outcome == FetchOutcome::Saved ? 0 : 1;
}
