// The real libcurl client against real servers on 127.0.0.1.
#include "platform/http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/local_https_server.h"
#include "support/raw_socket_server.h"
#include "support/temp_directory.h"

namespace sp {
namespace {

using ::testing::ElementsAre;
using testing::LocalHttpsServer;
using ::testing::Pair;
using testing::RawSocketServer;
using testing::ScriptedReply;
using testing::Security;

constexpr const char* kUserAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

class HttpClientTest : public ::testing::Test {
 protected:
  HttpClientTest() {
    options.extraCaFile = testing::caFile();
    options.connectTimeout = std::chrono::milliseconds(2000);
    options.stallTimeout = std::chrono::seconds(1);
  }

  FetchResult fetch(const std::string& url) { return httpFetch(Text(url), options); }

  HttpOptions options;
};

void serveText(httplib::Server& routes, const std::string& path, const std::string& body,
               int status = 200) {
  routes.Get(path, [body, status](const httplib::Request&, httplib::Response& response) {
    response.status = status;
    response.set_content(body, "text/plain");
  });
}

void redirect(httplib::Server& routes, const std::string& from, const std::string& to) {
  routes.Get(from, [to](const httplib::Request&, httplib::Response& response) {
    response.set_redirect(to);
    response.set_content("moved", "text/plain");  // must not end up in the answer
  });
}

// --- The request on the wire -------------------------------------------------

TEST_F(HttpClientTest, SendsExactlyTheFixedRequest) {
  RawSocketServer server({"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"});
  const FetchResult result = fetch(server.url("/API/yy_sq.php?msg=a&n=1"));

  EXPECT_EQ(result.status, FetchStatus::Complete);
  EXPECT_EQ(result.body.str(), "ok");
  const std::string host = "127.0.0.1:" + std::to_string(server.port());
  EXPECT_THAT(server.requestHeads(), ElementsAre("GET /API/yy_sq.php?msg=a&n=1 HTTP/1.0\r\n"
                                                 "Host: " +
                                                 host +
                                                 "\r\n"
                                                 "User-Agent: " +
                                                 std::string(kUserAgent) +
                                                 "\r\n"
                                                 "Accept: */*\r\n"
                                                 "\r\n"));
}

TEST_F(HttpClientTest, SendsTheSameRequestOverTls) {
  LocalHttpsServer server([](httplib::Server& routes) { serveText(routes, "/a", "secure"); });
  const FetchResult result = fetch(server.url("/a"));

  EXPECT_EQ(result.body.str(), "secure");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[0].version, "HTTP/1.0");
  EXPECT_EQ(requests[0].target, "/a");
  EXPECT_THAT(
      requests[0].headers,
      ElementsAre(Pair("Accept", "*/*"), Pair("Host", "127.0.0.1:" + std::to_string(server.port())),
                  Pair("User-Agent", kUserAgent)));
}

TEST_F(HttpClientTest, SendsPathWithoutFragmentAndWithEscapes) {
  LocalHttpsServer server([](httplib::Server& routes) { serveText(routes, "/.*", "x"); });
  const struct {
    std::string path;
    std::string target;
  } cases[] = {
      {"/page#section", "/page"},
      {"/a b?msg=" + gbkFromUtf8("歌").str() + "#x", "/a%20b?msg=%E6%AD%8C"},
  };
  for (const auto& c : cases) fetch(server.url(c.path));

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), std::size(cases));
  for (std::size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].target, cases[i].target) << cases[i].path;
  }
}

TEST_F(HttpClientTest, IgnoresProxiesNamedByTheEnvironment) {
  const std::string deadProxy = "http://127.0.0.1:" + std::to_string(RawSocketServer::closedPort());
  std::vector<std::unique_ptr<testing::ScopedEnvironment>> proxies;
  for (const char* name : {"http_proxy", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
    proxies.push_back(std::make_unique<testing::ScopedEnvironment>(name, deadProxy.c_str()));
  }
  LocalHttpsServer server([](httplib::Server& routes) { serveText(routes, "/", "direct"); });
  EXPECT_EQ(fetch(server.url("/")).body.str(), "direct");
}

// --- Bodies --------------------------------------------------------------------

TEST_F(HttpClientTest, ReturnsTheBodyWhateverTheStatus) {
  const struct {
    int status;
    std::string body;
  } cases[] = {{200, "found"}, {404, "not here"}, {500, "broken server"}, {204, ""}};
  LocalHttpsServer server([&](httplib::Server& routes) {
    for (const auto& c : cases) serveText(routes, "/" + std::to_string(c.status), c.body, c.status);
  });
  for (const auto& c : cases) {
    const FetchResult result = fetch(server.url("/" + std::to_string(c.status)));
    EXPECT_EQ(result.status, FetchStatus::Complete) << c.status;
    EXPECT_EQ(result.httpStatus, c.status);
    EXPECT_EQ(result.body.str(), c.body) << c.status;
  }
}

TEST_F(HttpClientTest, ReturnsLargeBinaryBodiesIntact) {
  std::string song(5'000'000, '\0');
  for (std::size_t i = 0; i < song.size(); ++i) song[i] = static_cast<char>(i * 7 + i / 4096);
  LocalHttpsServer server([&](httplib::Server& routes) {
    routes.Get("/song.mp3", [&](const httplib::Request&, httplib::Response& response) {
      response.set_content(song, "audio/mpeg");
    });
  });
  const FetchResult result = fetch(server.url("/song.mp3"));
  EXPECT_EQ(result.status, FetchStatus::Complete);
  EXPECT_EQ(result.body.length(), static_cast<int32_t>(song.size()));
  EXPECT_TRUE(result.body.str() == song);
  // The announced length sized the buffer once instead of growing it by doubling.
  EXPECT_EQ(result.body.str().capacity(), song.size());
}

TEST_F(HttpClientTest, CapsTheBodySize) {
  options.maxBodyBytes = 10;
  // Announced length and a body that simply runs until the connection closes.
  const struct {
    const char* name;
    std::string reply;
    FetchStatus status;
    std::string body;
  } cases[] = {
      {"announced, at the cap", "HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789",
       FetchStatus::Complete, "0123456789"},
      {"announced, over the cap", "HTTP/1.0 200 OK\r\nContent-Length: 11\r\n\r\n0123456789A",
       FetchStatus::TooLarge, ""},
      {"until close, at the cap", "HTTP/1.0 200 OK\r\n\r\n0123456789", FetchStatus::Complete,
       "0123456789"},
      {"until close, over the cap", "HTTP/1.0 200 OK\r\n\r\n0123456789A", FetchStatus::TooLarge,
       ""},
  };
  for (const auto& c : cases) {
    RawSocketServer server({c.reply});
    const FetchResult result = fetch(server.url("/"));
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_EQ(result.body.str(), c.body) << c.name;
  }
}

// --- Redirects -------------------------------------------------------------------

TEST_F(HttpClientTest, FollowsRedirectsUpToTheLimit) {
  options.maxRedirects = 3;
  LocalHttpsServer plain([](httplib::Server& routes) { serveText(routes, "/end", "plain end"); },
                         Security::PlainHttp);
  LocalHttpsServer server([&](httplib::Server& routes) {
    serveText(routes, "/end", "secure end");
    for (int hop = 1; hop <= 4; ++hop) {
      redirect(routes, "/hop" + std::to_string(hop),
               hop == 1 ? "/end" : "/hop" + std::to_string(hop - 1));
    }
    redirect(routes, "/to-plain", plain.url("/end"));
    redirect(routes, "/loop", "/loop");
  });
  const struct {
    const char* path;
    FetchStatus status;
    std::string body;
  } cases[] = {
      {"/hop1", FetchStatus::Complete, "secure end"},
      {"/hop3", FetchStatus::Complete, "secure end"},
      {"/hop4", FetchStatus::TooManyRedirects, ""},
      {"/loop", FetchStatus::TooManyRedirects, ""},
      {"/to-plain", FetchStatus::Complete, "plain end"},
  };
  for (const auto& c : cases) {
    const FetchResult result = fetch(server.url(c.path));
    EXPECT_EQ(result.status, c.status) << c.path;
    EXPECT_EQ(result.body.str(), c.body) << c.path;
  }
}

// --- Only http and https ------------------------------------------------------------

TEST_F(HttpClientTest, NeverReadsLocalFiles) {
  testing::TempDirectory folder;
  const std::string secret = folder.path() + "/secret.txt";
  std::ofstream(secret) << "local secret";
  const std::string fileUrl = "file://" + secret;
  LocalHttpsServer server([&](httplib::Server& routes) { redirect(routes, "/to-file", fileUrl); });

  const struct {
    const char* name;
    std::string url;
    FetchStatus status;
  } cases[] = {
      {"file url", fileUrl, FetchStatus::BadUrl},
      {"redirect to a file url", server.url("/to-file"), FetchStatus::Refused},
      {"other scheme", "ftp://127.0.0.1:" + std::to_string(server.port()) + "/",
       FetchStatus::BadUrl},
      {"no scheme at all", "127.0.0.1:" + std::to_string(server.port()) + "/to-file",
       FetchStatus::BadUrl},
      {"empty", "", FetchStatus::BadUrl},
  };
  for (const auto& c : cases) {
    const FetchResult result = fetch(c.url);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_TRUE(result.body.empty()) << c.name;
  }
  EXPECT_EQ(server.requests().size(), 1u) << "only the redirect itself was asked for";
}

// --- Certificates ------------------------------------------------------------------

TEST_F(HttpClientTest, VerifiesCertificates) {
  LocalHttpsServer trusted([](httplib::Server& routes) { serveText(routes, "/", "trusted"); });
  LocalHttpsServer untrusted([](httplib::Server& routes) { serveText(routes, "/", "untrusted"); },
                             Security::UntrustedCertificate);
  const std::string localhostUrl = "https://localhost:" + std::to_string(trusted.port()) + "/";
  const std::string ca = testing::caFile();
  const std::string other = testing::certificateFile("untrusted.pem");
  const struct {
    const char* name;
    std::string systemBundle;
    std::string extraCa;
    std::string url;
    std::string body;
  } cases[] = {
      {"extra ca trusted", options.systemCaBundle, ca, trusted.url("/"), "trusted"},
      {"host name checked too", options.systemCaBundle, ca, localhostUrl, "trusted"},
      {"unknown issuer refused", options.systemCaBundle, ca, untrusted.url("/"), ""},
      {"no extra ca: private ca refused", options.systemCaBundle, "", trusted.url("/"), ""},
      {"missing extra ca file: private ca refused", options.systemCaBundle, ca + ".missing",
       trusted.url("/"), ""},
      // A stand-in system bundle shows that the system's authorities stay trusted.
      {"system bundle kept beside the extra", ca, other, trusted.url("/"), "trusted"},
      {"extra beside the system bundle", ca, other, untrusted.url("/"), "untrusted"},
  };
  for (const auto& c : cases) {
    options.systemCaBundle = c.systemBundle;
    options.extraCaFile = c.extraCa;
    const FetchResult result = fetch(c.url);
    EXPECT_EQ(result.body.str(), c.body) << c.name;
    EXPECT_EQ(result.status, c.body.empty() ? FetchStatus::TlsError : FetchStatus::Complete)
        << c.name;
  }
}

// --- Failures ------------------------------------------------------------------------

TEST_F(HttpClientTest, RefusedConnectionGivesNothing) {
  const int port = RawSocketServer::closedPort();
  for (const char* scheme : {"http", "https"}) {
    const FetchResult result =
        fetch(std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + "/");
    EXPECT_EQ(result.status, FetchStatus::Refused) << scheme;
    EXPECT_TRUE(result.body.empty()) << scheme;
  }
}

TEST_F(HttpClientTest, BrokenTransferKeepsTheBytesRead) {
  const struct {
    const char* name;
    std::string reply;
    std::string body;
  } cases[] = {
      {"cut inside an announced body",
       "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nfirst forty bytes of a song.............",
       "first forty bytes of a song............."},
      {"cut inside a chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nhalf",
       "half"},
      {"closed before any answer", "", ""},
      {"cut inside the header", "HTTP/1.0 200 OK\r\nContent-Le", ""},
  };
  for (const auto& c : cases) {
    RawSocketServer server({c.reply});
    const FetchResult result = fetch(server.url("/"));
    EXPECT_EQ(result.status, FetchStatus::Broken) << c.name;
    EXPECT_EQ(result.body.str(), c.body) << c.name;
  }
}

TEST_F(HttpClientTest, BrokenTlsTransferKeepsTheBytesRead) {
  const std::string half(32 * 1024, 's');
  LocalHttpsServer server([&](httplib::Server& routes) {
    routes.Get("/song.mp3", [&](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(half.size() * 2, "audio/mpeg",
                                    [&](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                      if (offset >= half.size()) return false;  // hang up
                                      sink.write(half.data(), half.size());
                                      return true;
                                    });
    });
  });
  const FetchResult result = fetch(server.url("/song.mp3"));
  EXPECT_EQ(result.status, FetchStatus::Broken);
  EXPECT_TRUE(result.body.str() == half) << result.body.length();
}

TEST_F(HttpClientTest, SilentServerEndsWithinTheStallTimeout) {
  const struct {
    const char* name;
    std::string reply;
    std::string body;
  } cases[] = {
      {"silent after accepting", "", ""},
      {"silent after the header", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n", ""},
      {"silent mid-body", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nbeginning", "beginning"},
  };
  for (const auto& c : cases) {
    RawSocketServer server({c.reply, /*hangUp=*/false});
    const FetchResult result = fetch(server.url("/"));
    EXPECT_EQ(result.status, FetchStatus::Stalled) << c.name;
    EXPECT_EQ(result.body.str(), c.body) << c.name;
  }
}

TEST_F(HttpClientTest, SilentTlsServerGivesNothing) {
  options.connectTimeout = std::chrono::milliseconds(500);
  RawSocketServer server({"", /*hangUp=*/false});
  const FetchResult result = fetch("https://127.0.0.1:" + std::to_string(server.port()) + "/");
  EXPECT_NE(result.status, FetchStatus::Complete);
  EXPECT_TRUE(result.body.empty());
}

}  // namespace
}  // namespace sp
