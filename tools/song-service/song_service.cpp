#include "song_service.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "answers.h"
#include "avatar_image.h"
#include "catalogue.h"
#include "developer_pages.h"
#include "many_songs.h"
#include "mpeg_audio.h"
#include "reserved_songs.h"
#include "streamed_body.h"

namespace songservice {
namespace {

constexpr const char* kJson = "application/json; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";
constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kMpeg = "audio/mpeg";
constexpr const char* kFileUrl = "file:///etc/passwd";
constexpr std::uint64_t kHugeAnswerBytes = 50ull * 1024 * 1024;
constexpr int kDeepJsonLevels = 100'000;
constexpr std::uint64_t kBrokenSongBytes = 1024 * 1024;
constexpr int kFaultSongIds = 1000;
constexpr int kBigSongId = 2000;

// The host the client reached us by, for the links we hand out; a Host header
// holding anything but a host name or address and a port is not echoed.
std::string linkHost(const httplib::Request& request, int port) {
  const std::string host = request.get_header_value("Host");
  const bool usable =
      !host.empty() && host.size() <= 255 && std::all_of(host.begin(), host.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '.' || c == '-' || c == ':' || c == '[' || c == ']';
      });
  return usable ? host : "127.0.0.1:" + std::to_string(port);
}

std::optional<Fault> activeFault(const ServiceSettings& settings, std::string_view name) {
  return settings.faults ? faultByName(name) : std::nullopt;
}

int faultSongId(Fault fault) {
  const auto& songs = faultSongs();
  const auto at = std::find_if(songs.begin(), songs.end(),
                               [fault](const FaultSong& song) { return song.fault == fault; });
  return kFaultSongIds + static_cast<int>(at - songs.begin());
}

std::vector<Song> hitsFor(const ServiceSettings& settings, const std::string& name) {
  if (bigSongBytes(name)) return {reservedSong(name, kBigSongId)};
  if (const auto count = manySongsCount(name)) return manySongs(*count);
  if (const auto fault = activeFault(settings, name)) {
    return {reservedSong(name, faultSongId(*fault))};
  }
  return findSongs(name);
}

// The 1-based hit number, when the text is one within the hits.
std::optional<std::size_t> hitIndex(const std::string& number, std::size_t hitCount) {
  std::size_t n = 0;
  const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), n);
  if (status != std::errc() || end != number.data() + number.size() || n < 1 || n > hitCount) {
    return std::nullopt;
  }
  return n - 1;
}

void sendStreamed(httplib::Response& response, std::shared_ptr<const StreamedBody> body,
                  const char* contentType, std::uint64_t breakAt) {
  response.set_content_provider(
      static_cast<std::size_t>(body->size()), contentType,
      [body, breakAt](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        // Returning false makes the server drop the connection mid-body.
        if (offset >= breakAt) return false;
        constexpr std::size_t kChunk = 64 * 1024;
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>({length, kChunk, breakAt - offset}));
        std::string chunk(count, '\0');
        body->read(offset, chunk.data(), count);
        return sink.write(chunk.data(), chunk.size());
      });
}

void sendStreamed(httplib::Response& response, std::shared_ptr<const StreamedBody> body,
                  const char* contentType) {
  const std::uint64_t size = body->size();
  sendStreamed(response, std::move(body), contentType, size);
}

void keepSilent(const ServiceSettings& settings, SilenceGate& gate, httplib::Response& response) {
  gate.wait(settings.silence);
  response.status = 504;
  response.set_content("gave up waiting\n", kText);
}

// The faults that replace the search and the play-link answer alike.
void answerWithFault(Fault fault, const ServiceSettings& settings, SilenceGate& gate,
                     httplib::Response& response) {
  switch (fault) {
    case Fault::NotJson:
      response.status = 502;
      response.set_content(
          "<html><head><title>502 Bad Gateway</title></head>\n"
          "<body><h1>502 Bad Gateway</h1><p>The song service is resting.</p></body></html>\n",
          kHtml);
      return;
    case Fault::QuotedString:
      // A client that read this string and then evaluated its content would list a song.
      response.set_content(jsonString(R"({"list":[{"name":"from a string","singer":"quoted"}]})"),
                           kJson);
      return;
    case Fault::Script:
      // Valid script, not JSON; run, it would build a song list.
      response.set_content(
          "(function(){var list=[];list.push({\"name\":\"injected by a script\",\"singer\":"
          "\"fault-script\"});return {\"list\":list};})()",
          kJson);
      return;
    case Fault::DeepJson: {
      // The root object is the first level; the "list" value holds the rest.
      const std::size_t arrays = kDeepJsonLevels - 1;
      response.set_content("{\"list\":" + std::string(arrays, '[') + std::string(arrays, ']') + "}",
                           kJson);
      return;
    }
    case Fault::HugeAnswer:
      sendStreamed(
          response,
          std::make_shared<PaddedJsonAnswer>(
              searchAnswer({reservedSong("fault-50mb", faultSongId(fault))}), kHugeAnswerBytes),
          kJson);
      return;
    case Fault::Silent:
      keepSilent(settings, gate, response);
      return;
    case Fault::Broken: {
      auto whole = std::make_shared<TextBody>(searchAnswer(catalogue()));
      const std::uint64_t half = whole->size() / 2;
      sendStreamed(response, std::move(whole), kJson, half);
      return;
    }
    case Fault::RedirectToFile:
      response.set_redirect(kFileUrl, 302);
      return;
    default:
      return;
  }
}

void answerSearch(const ServiceSettings& settings, SilenceGate& gate,
                  const httplib::Request& request, httplib::Response& response) {
  const std::string name = request.get_param_value("msg");
  const auto fault = activeFault(settings, name);
  if (fault && !searchesNormally(*fault)) {
    answerWithFault(*fault, settings, gate, response);
    return;
  }
  const std::vector<Song> hits = hitsFor(settings, name);
  if (request.get_param_value("type") != "text") {
    response.set_content(searchAnswer(hits), kJson);
    return;
  }
  const std::string number = request.get_param_value("n");
  const auto index = hitIndex(number, hits.size());
  if (!index) {
    response.set_content(missingHitAnswer(number), kText);
    return;
  }
  const Song& song = hits[*index];
  if (fault == Fault::NoMarker) {
    response.set_content("歌名：" + song.name + "\n歌手：" + song.singer + "\n该歌曲暂时无法播放。",
                         kText);
    return;
  }
  const std::string link =
      fault == Fault::FileLink
          ? std::string(kFileUrl)
          : "https://" + linkHost(request, settings.port) + "/mp3/" + song.audioKey + ".mp3";
  response.set_content(playLinkAnswer(song, link), kText);
}

void answerSong(const ServiceSettings& settings, SilenceGate& gate, const httplib::Request& request,
                httplib::Response& response) {
  const std::string key = request.matches[1];
  if (const Song* song = songByAudioKey(key)) {
    response.set_content(encodeTone(toneForSong(song->id)), kMpeg);
    return;
  }
  if (const auto bytes = bigSongBytes(key)) {
    sendStreamed(response, std::make_shared<FrameBody>(*FrameStream::ofSize(*bytes)), kMpeg);
    return;
  }
  switch (activeFault(settings, key).value_or(Fault::Mp3NotFound)) {
    case Fault::Mp3Broken:
      sendStreamed(response, std::make_shared<FrameBody>(*FrameStream::ofSize(kBrokenSongBytes)),
                   kMpeg, kBrokenSongBytes / 2);
      return;
    case Fault::Mp3Silent:
      keepSilent(settings, gate, response);
      return;
    case Fault::Mp3RedirectToFile:
      response.set_redirect(kFileUrl, 302);
      return;
    default:
      response.status = 404;  // the error handler writes the page
  }
}

bool isAccountNumber(const std::string& text) {
  return !text.empty() && text.size() <= 20 &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

void answerAvatar(const httplib::Request& request, httplib::Response& response) {
  const std::string account = request.get_param_value("qq");
  if (!isAccountNumber(account)) {
    response.status = 400;
    response.set_content(R"({"code":400,"msg":"qq must be a number"})", kJson);
    return;
  }
  const std::string png = avatarPng(account);
  if (png.empty()) {
    response.status = 500;
    response.set_content("could not draw the avatar\n", kText);
    return;
  }
  response.set_content(png, "image/png");
}

}  // namespace

void installRoutes(httplib::Server& server, const ServiceSettings& settings, RequestLog& log,
                   SilenceGate& gate) {
  // Logged before routing, so that requests that are never answered show up too.
  server.set_pre_routing_handler([&log](const httplib::Request& request, httplib::Response&) {
    log.write(request.method + " " + request.target + " " + request.version);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get("/API/yy_sq.php",
             [settings, &gate](const httplib::Request& request, httplib::Response& response) {
               answerSearch(settings, gate, request, response);
             });
  server.Get(R"(/mp3/([A-Za-z0-9-]+)\.mp3)",
             [settings, &gate](const httplib::Request& request, httplib::Response& response) {
               answerSong(settings, gate, request, response);
             });
  server.Get("/api/dm-qt", answerAvatar);
  server.Get(R"(/pages/([a-z]+)/([a-z]+)\.html)", [](const httplib::Request& request,
                                                     httplib::Response& response) {
    if (const auto page = developerPage(request.matches[1].str(), request.matches[2].str())) {
      response.set_content(*page, kHtml);
    } else {
      response.status = 404;
    }
  });
  // Only answers that have no body of their own get the plain error page.
  const httplib::Server::HandlerWithResponse notFoundPage = [](const httplib::Request&,
                                                               httplib::Response& response) {
    if (!response.body.empty() || response.status != 404) {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    response.set_content("<html><body><h1>404 Not Found</h1></body></html>\n", kHtml);
    return httplib::Server::HandlerResponse::Handled;
  };
  server.set_error_handler(notFoundPage);
}

}  // namespace songservice
