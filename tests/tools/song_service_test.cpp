// The song-service binary, run as a child process and asked with the program's
// own HTTP client and song-search protocol, as the program will ask it.
#include <httplib.h>

#include <chrono>
#include <fstream>
#include <future>
#include <set>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "mpeg_frames.h"
#include "platform/http_client.h"
#include "platform/settings.h"
#include "png_check.h"
#include "search/song_search_service.h"
#include "support/song_service_process.h"
#include "support/temp_directory.h"
#include "text/text.h"
#include "text/text_search.h"

namespace songservice::testing {
namespace {

using sp::FetchResult;
using sp::FetchStatus;
using sp::gbkFromUtf8;
using sp::Text;
namespace service = sp::SongSearchService;

constexpr std::uint64_t kMiB = 1024 * 1024;
const Text kMarker = gbkFromUtf8("播放链接：");

sp::HttpOptions clientOptions() {
  sp::HttpOptions options;
  options.extraCaFile = std::string(SONGPICKER_CERT_DIR) + "/ca.pem";
  options.connectTimeout = std::chrono::seconds(5);
  // Short, so that the silent faults end the fetch quickly.
  options.stallTimeout = std::chrono::seconds(2);
  return options;
}

FetchResult fetch(const Text& url, const sp::HttpOptions& options = clientOptions()) {
  return sp::httpFetch(url, options);
}

std::string bodyOf(const FetchResult& result) {
  return result.body.str();
}

// The "name" members of a search answer as the service wrote them (UTF-8, JSON
// escapes undone), in order.
std::vector<std::string> listedNames(std::string_view json) {
  std::vector<std::string> names;
  constexpr std::string_view key = "\"name\":\"";
  for (std::size_t at = json.find(key); at != std::string_view::npos; at = json.find(key, at)) {
    at += key.size();
    std::string name;
    while (at < json.size() && json[at] != '"') {
      if (json[at] == '\\' && at + 1 < json.size()) ++at;
      name += json[at++];
    }
    names.push_back(name);
  }
  return names;
}

// One service with its fault modes on, logging into a temporary folder, and the
// protocol's host pointed at it.
class SongServiceTest : public ::testing::Test {
 protected:
  SongServiceTest() : service_(arguments(folder_)) {
    sp::settings().songServiceHost = service_.host();
  }

  static std::vector<std::string> arguments(const sp::testing::TempDirectory& folder) {
    std::vector<std::string> all = standardArguments();
    all.insert(all.end(), {"--log", folder.path() + "/requests.log", "--faults"});
    return all;
  }

  std::vector<std::string> loggedLines() const {
    std::ifstream log(folder_.path() + "/requests.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  std::string origin() const { return "https://" + service_.host(); }

  FetchResult search(std::string_view nameUtf8) {
    return fetch(service::searchUrl(gbkFromUtf8(nameUtf8)));
  }
  FetchResult playLinkAnswer(std::string_view nameUtf8, std::string_view row) {
    return fetch(service::playLinkUrl(gbkFromUtf8(nameUtf8), Text(row)));
  }
  Text playLink(std::string_view nameUtf8, std::string_view row) {
    return service::extractPlayLink(service::decodeAnswer(playLinkAnswer(nameUtf8, row).body));
  }

  sp::testing::TempDirectory folder_;
  ServiceProcess service_;
};

TEST_F(SongServiceTest, AnnouncesItsPortOnOneLine) {
  EXPECT_EQ(service_.firstLine(), "listening on " + std::to_string(service_.port()) + "\n");
}

TEST_F(SongServiceTest, SearchForAChineseNameFindsItThroughTheProgramsProtocol) {
  const FetchResult result = search("晴天");
  ASSERT_TRUE(result.complete());
  EXPECT_EQ(result.httpStatus, 200);
  const Text answer = service::decodeAnswer(result.body);
  EXPECT_GT(sp::findText(answer, gbkFromUtf8(R"({"list":[{"id":1,"name":"晴天","singer":)")), 0)
      << sp::utf8FromGbk(answer);
  EXPECT_EQ(listedNames(bodyOf(result)),
            (std::vector<std::string>{"晴天", "晴天日记", "雨后晴天"}));
}

TEST_F(SongServiceTest, SearchListsWhatTheNameContainsAndNothingForNoMatch) {
  const struct {
    const char* query;
    std::vector<std::string> names;
  } cases[] = {
      {"summer", {"SUMMER RAIN", "summer wind"}},
      // É has no place in code page 936, so the program can only send é.
      {"CAFé LATTE", {"Café Latte"}},
      {"a b", {}},
      {"+", {"1+1=我们", "Rock+Roll Tonight"}},
      {"%", {"100%纯度"}},
      {"'", {"Don't Look Back"}},
      {"\"", {"Say \"Hello\""}},
      {"\\", {"Back\\Slash Blues"}},
      {"/", {"Either/Or", "春の雨 / 秋の風"}},
      {"", {}},
      {"没有这首歌", {}},
      {"big", {}},
  };
  for (const auto& c : cases) {
    const FetchResult result = search(c.query);
    ASSERT_TRUE(result.complete()) << c.query;
    EXPECT_EQ(listedNames(bodyOf(result)), c.names) << c.query;
    EXPECT_TRUE(bodyOf(result).starts_with("{\"list\":[")) << c.query;
  }
}

TEST_F(SongServiceTest, AnswersReachTheProgramDecodedAsItsProtocolSays) {
  // The client URL-decodes whole answers: a "+" in a name arrives as a space.
  const Text answer = service::decodeAnswer(search("1+1").body);
  EXPECT_GT(sp::findText(answer, gbkFromUtf8("\"name\":\"1 1=我们\"")), 0)
      << sp::utf8FromGbk(answer);
}

TEST_F(SongServiceTest, EveryHitsPlayLinkGivesADifferentValidMp3) {
  std::set<std::string> songs;
  for (const char* row : {"1", "2", "3"}) {
    SCOPED_TRACE(row);
    const Text link = playLink("晴天", row);
    EXPECT_TRUE(link.view().starts_with(origin() + "/mp3/")) << link.view();
    const FetchResult song = fetch(link);
    ASSERT_TRUE(song.complete());
    EXPECT_EQ(song.httpStatus, 200);
    const std::string bytes = bodyOf(song);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]) & 0xE0, 0xE0) << "frame sync";
    const auto header = readFrameHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->layer, 2);
    EXPECT_EQ(header->sampleRate, 44100);
    const FrameScan scan = scanFrames(bytes);
    EXPECT_EQ(scan.validBytes, bytes.size());
    const double seconds = static_cast<double>(scan.frames) * 1152 / header->sampleRate;
    EXPECT_GE(seconds, 2.0);
    EXPECT_LE(seconds, 5.0);
    EXPECT_TRUE(readLayerTwoFrame(bytes.substr(header->length, scan.headers[1].length))->audible);
    songs.insert(bytes);
  }
  EXPECT_EQ(songs.size(), 3u);
}

TEST_F(SongServiceTest, PlayLinkAnswerEndsWithTheMarkerAndTheLink) {
  const FetchResult result = playLinkAnswer("晴天", "2");
  ASSERT_TRUE(result.complete());
  const Text answer = service::decodeAnswer(result.body);
  const Text expectedEnd = sp::joinTexts(kMarker, origin() + "/mp3/2.mp3");
  ASSERT_GE(answer.length(), expectedEnd.length());
  EXPECT_EQ(answer.view().substr(answer.view().size() - expectedEnd.view().size()),
            expectedEnd.view());
  EXPECT_GT(sp::findText(answer, gbkFromUtf8("晴天日记\n")), 0) << "several lines about the song";
}

TEST_F(SongServiceTest, HitNumbersOutsideTheSearchGiveATextWithoutTheMarker) {
  for (const char* row : {"0", "4", "12", "-1", "x", ""}) {
    const FetchResult result = playLinkAnswer("晴天", row);
    ASSERT_TRUE(result.complete()) << row;
    const Text answer = service::decodeAnswer(result.body);
    EXPECT_FALSE(answer.empty()) << row;
    EXPECT_EQ(sp::findText(answer, kMarker), 0) << row;
  }
}

TEST_F(SongServiceTest, TheLogShowsTheExactRequestLines) {
  search("晴天");
  playLinkAnswer("a b", "12");
  fetch(Text(origin() + "/api/dm-qt?qq=20200720#fragment"));
  EXPECT_EQ(loggedLines(), (std::vector<std::string>{
                               "GET /API/yy_sq.php?msg=%E6%99%B4%E5%A4%A9 HTTP/1.0",
                               "GET /API/yy_sq.php?msg=a+b&type=text&n=12 HTTP/1.0",
                               "GET /api/dm-qt?qq=20200720 HTTP/1.0",
                           }));
}

TEST_F(SongServiceTest, AvatarsArePngsThatDifferPerAccount) {
  const auto avatar = [&](const char* account) {
    const FetchResult result = fetch(Text(origin() + "/api/dm-qt?qq=" + account));
    EXPECT_TRUE(result.complete()) << account;
    EXPECT_EQ(result.httpStatus, 200) << account;
    return bodyOf(result);
  };
  const auto first = decodePng(avatar("20200720"));
  const auto second = decodePng(avatar("20200721"));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->width, 100u);
  EXPECT_EQ(first->height, 100u);
  EXPECT_NE(first->rgba, second->rgba);
  EXPECT_EQ(avatar("20200720"), avatar("20200720"));
}

TEST_F(SongServiceTest, AvatarRequestsWithoutANumberGetAnErrorThatIsNoImage) {
  for (const char* query : {"", "?qq=", "?qq=abc", "?qq=12a", "?other=1"}) {
    const FetchResult result = fetch(Text(origin() + "/api/dm-qt" + query));
    EXPECT_EQ(result.httpStatus, 400) << query;
    EXPECT_FALSE(decodePng(bodyOf(result))) << query;
  }
}

TEST_F(SongServiceTest, ServesTheDevelopersFourPages) {
  const struct {
    const char* path;
    long status;
    const char* holds;
  } cases[] = {
      {"/pages/brontelwick/home.html", 200, "Brontelwick"},
      {"/pages/brontelwick/bilibili.html", 200, "Brontelwick"},
      {"/pages/tamsel/home.html", 200, "Tamsel"},
      {"/pages/tamsel/bilibili.html", 200, "Tamsel"},
      {"/pages/tamsel/other.html", 404, "404"},
      {"/no/such/thing", 404, "404"},
  };
  for (const auto& c : cases) {
    const FetchResult result = fetch(Text(origin() + c.path));
    EXPECT_EQ(result.httpStatus, c.status) << c.path;
    EXPECT_NE(bodyOf(result).find(c.holds), std::string::npos) << c.path;
  }
}

TEST_F(SongServiceTest, BigSongsAreExactlyThatManyBytesOfValidFrames) {
  const FetchResult listing = search("big-5mb");
  EXPECT_EQ(listedNames(bodyOf(listing)), std::vector<std::string>{"big-5mb"});
  const Text link = playLink("big-5mb", "1");
  EXPECT_EQ(link.view(), origin() + "/mp3/big-5mb.mp3");
  const FetchResult song = fetch(link);
  ASSERT_TRUE(song.complete());
  EXPECT_EQ(song.body.length(), static_cast<int32_t>(5 * kMiB));
  EXPECT_EQ(scanFrames(bodyOf(song)).validBytes, 5 * kMiB);
}

TEST_F(SongServiceTest, ManySongsListsThatManyHitsWhoseLinksPlay) {
  const std::vector<std::string> names = listedNames(bodyOf(search("many-100")));
  ASSERT_EQ(names.size(), 100u);
  EXPECT_EQ(names.front(), "测试歌曲1");
  EXPECT_EQ(names.back(), "测试歌曲100");
  const FetchResult song = fetch(playLink("many-100", "100"));
  ASSERT_TRUE(song.complete());
  EXPECT_EQ(song.httpStatus, 200);
  EXPECT_GT(scanFrames(bodyOf(song)).validBytes, 0u);
}

// The faults: where in a download's road each one strikes, and what the client sees there.
enum class Stage { SearchAnswer, PlayLinkAnswer, Song };

struct FaultCase {
  const char* name;
  Stage stage;
  FetchStatus status;
  long httpStatus;
  bool (*bodyIsRight)(const std::string& body);
};

void PrintTo(const FaultCase& c, std::ostream* out) {
  *out << c.name;
}

bool isEmpty(const std::string& body) {
  return body.empty();
}
bool isHtmlPage(const std::string& body) {
  return body.starts_with("<html>") && body.find('{') == std::string::npos;
}
bool isQuotedString(const std::string& body) {
  return body.size() > 2 && body.front() == '"' && body.back() == '"' &&
         body.find("\\\"list\\\"") != std::string::npos;
}
bool isScriptNotJson(const std::string& body) {
  return body.starts_with("(function") && body.find("\"list\"") != std::string::npos;
}
bool isNestedHundredThousandDeep(const std::string& body) {
  int depth = 0;
  int deepest = 0;
  for (char c : body) {
    depth += (c == '[' || c == '{') ? 1 : (c == ']' || c == '}') ? -1 : 0;
    deepest = std::max(deepest, depth);
  }
  return depth == 0 && deepest == 100'000 && body.starts_with("{\"list\":[");
}
bool isFiftyMebibytesOfJson(const std::string& body) {
  return body.size() == 50 * kMiB && body.starts_with("{\"list\":[{") && body.ends_with("\"}") &&
         listedNames(body) == std::vector<std::string>{"fault-50mb"};
}
bool isFirstPartOfASearchAnswer(const std::string& body) {
  return !body.empty() && body.starts_with("{\"list\":[") && !body.ends_with("]}");
}
bool hasNoMarker(const std::string& body) {
  return !body.empty() && body.find("播放链接：") == std::string::npos;
}
bool isNotMpeg(const std::string& body) {
  return !body.empty() && !readFrameHeader(body);
}
bool isHalfAMebibyteOfFrames(const std::string& body) {
  return body.size() == kMiB / 2 && scanFrames(body).frames > 0;
}

class FaultMode : public SongServiceTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultMode, BehavesAsNamed) {
  const FaultCase& c = GetParam();
  sp::HttpOptions options = clientOptions();
  options.maxBodyBytes = 64 * kMiB;

  FetchResult result = fetch(service::searchUrl(gbkFromUtf8(c.name)), options);
  if (c.stage != Stage::SearchAnswer) {
    ASSERT_TRUE(result.complete());
    EXPECT_EQ(listedNames(bodyOf(result)), std::vector<std::string>{c.name}) << "listed normally";
    result = fetch(service::playLinkUrl(gbkFromUtf8(c.name), "1"), options);
  }
  if (c.stage == Stage::Song) {
    ASSERT_TRUE(result.complete());
    const Text link = service::extractPlayLink(service::decodeAnswer(result.body));
    ASSERT_FALSE(link.empty()) << bodyOf(result);
    result = fetch(link, options);
  }
  EXPECT_EQ(result.status, c.status);
  EXPECT_EQ(result.httpStatus, c.httpStatus);
  EXPECT_TRUE(c.bodyIsRight(bodyOf(result)))
      << result.body.length() << " bytes: " << bodyOf(result).substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMode,
    ::testing::Values(
        FaultCase{"fault-not-json", Stage::SearchAnswer, FetchStatus::Complete, 502, isHtmlPage},
        FaultCase{"fault-quoted-string", Stage::SearchAnswer, FetchStatus::Complete, 200,
                  isQuotedString},
        FaultCase{"fault-script", Stage::SearchAnswer, FetchStatus::Complete, 200, isScriptNotJson},
        FaultCase{"fault-deep-json", Stage::SearchAnswer, FetchStatus::Complete, 200,
                  isNestedHundredThousandDeep},
        FaultCase{"fault-50mb", Stage::SearchAnswer, FetchStatus::Complete, 200,
                  isFiftyMebibytesOfJson},
        FaultCase{"fault-silent", Stage::SearchAnswer, FetchStatus::Stalled, 0, isEmpty},
        FaultCase{"fault-broken", Stage::SearchAnswer, FetchStatus::Broken, 200,
                  isFirstPartOfASearchAnswer},
        FaultCase{"fault-redirect-file", Stage::SearchAnswer, FetchStatus::Refused, 302, isEmpty},
        FaultCase{"fault-no-marker", Stage::PlayLinkAnswer, FetchStatus::Complete, 200,
                  hasNoMarker},
        // A play link that is a file: URL; the client refuses to fetch it.
        FaultCase{"fault-file-link", Stage::Song, FetchStatus::BadUrl, 0, isEmpty},
        FaultCase{"fault-mp3-404", Stage::Song, FetchStatus::Complete, 404, isNotMpeg},
        FaultCase{"fault-mp3-broken", Stage::Song, FetchStatus::Broken, 200,
                  isHalfAMebibyteOfFrames},
        FaultCase{"fault-mp3-silent", Stage::Song, FetchStatus::Stalled, 0, isEmpty},
        FaultCase{"fault-mp3-redirect-file", Stage::Song, FetchStatus::Refused, 302, isEmpty}),
    [](const ::testing::TestParamInfo<FaultCase>& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), '-', '_');
      return name;
    });

TEST_F(SongServiceTest, FaultsThatThePlayLinkAnswerCarriesShowInItsText) {
  EXPECT_EQ(playLink("fault-file-link", "1").view(), "file:///etc/passwd");
  EXPECT_EQ(
      sp::findText(service::decodeAnswer(playLinkAnswer("fault-no-marker", "1").body), kMarker), 0);
}

TEST_F(SongServiceTest, RedirectsPointAtAFileUrl) {
  httplib::SSLClient client("localhost", service_.port());
  client.set_ca_cert_path((std::string(SONGPICKER_CERT_DIR) + "/ca.pem").c_str());
  client.enable_server_certificate_verification(true);
  for (const char* path :
       {"/API/yy_sq.php?msg=fault-redirect-file", "/mp3/fault-mp3-redirect-file.mp3"}) {
    const auto answer = client.Get(path);
    ASSERT_TRUE(answer) << path;
    EXPECT_EQ(answer->status, 302) << path;
    EXPECT_EQ(answer->get_header_value("Location"), "file:///etc/passwd") << path;
  }
}

TEST_F(SongServiceTest, ASizeCapStopsTheFiftyMebibyteAnswer) {
  sp::HttpOptions options = clientOptions();
  options.maxBodyBytes = kMiB;
  EXPECT_EQ(fetch(service::searchUrl("fault-50mb"), options).status, FetchStatus::TooLarge);
}

TEST(SongService, FaultNamesAreOrdinaryNamesWithoutTheFaultsFlag) {
  ServiceProcess service(standardArguments());
  sp::settings().songServiceHost = service.host();
  for (const char* name : {"fault-not-json", "fault-silent", "fault-no-marker"}) {
    const FetchResult result = fetch(service::searchUrl(name));
    ASSERT_TRUE(result.complete()) << name;
    EXPECT_EQ(bodyOf(result), R"({"list":[]})") << name;
  }
  const FetchResult song = fetch(Text("https://" + service.host() + "/mp3/fault-mp3-silent.mp3"));
  EXPECT_EQ(song.httpStatus, 404);
}

TEST(SongService, StopsCleanlyOnTerminationSignals) {
  for (const int signal : {SIGTERM, SIGINT}) {
    ServiceProcess service(standardArguments());
    ASSERT_GT(service.port(), 0);
    EXPECT_EQ(service.stop(signal), 0) << strsignal(signal);
  }
}

TEST(SongService, StopsAtOnceWhileASilentAnswerIsPending) {
  sp::testing::TempDirectory folder;
  const std::string logFile = folder.path() + "/requests.log";
  std::vector<std::string> arguments = standardArguments();
  arguments.insert(arguments.end(), {"--faults", "--log", logFile});
  ServiceProcess service(arguments);
  sp::settings().songServiceHost = service.host();
  sp::HttpOptions patient = clientOptions();
  patient.stallTimeout = std::chrono::seconds(60);
  auto pending = std::async(std::launch::async,
                            [&] { return fetch(service::searchUrl("fault-silent"), patient); });
  // Requests are logged as they arrive: wait (bounded) until this one has.
  const auto arrived = [&] {
    std::ifstream log(logFile);
    const std::string content((std::istreambuf_iterator<char>(log)), {});
    return content.find("msg=fault-silent") != std::string::npos;
  };
  for (int i = 0; i < 500 && !arrived(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(arrived());
  // Well before the silence would end by itself.
  EXPECT_EQ(service.stop(SIGTERM), 0);
  const FetchResult ended = pending.get();
  EXPECT_NE(ended.status, FetchStatus::Stalled);
  EXPECT_TRUE(listedNames(bodyOf(ended)).empty());
}

TEST(SongService, RefusesBadCommandLinesAndCertificates) {
  const std::string certs = SONGPICKER_CERT_DIR;
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
  } cases[] = {
      {{"--port", "0"}, 2},
      {{"--port", "0", "--cert", certs + "/localhost.pem", "--key", certs + "/localhost-key.pem",
        "--unknown"},
       2},
      {{"--port", "0", "--cert", certs + "/missing.pem", "--key", certs + "/localhost-key.pem"}, 1},
      {{"--port", "0", "--cert", certs + "/localhost.pem", "--key", certs + "/localhost-key.pem",
        "--log", certs + "/no/such/folder/log"},
       1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(runToExit(c.arguments), c.exitCode) << ::testing::PrintToString(c.arguments);
  }
}

}  // namespace
}  // namespace songservice::testing
