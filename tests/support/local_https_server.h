// A real HTTP(S) server on 127.0.0.1 and a free port, serving from a background
// thread for the lifetime of the object. Every request it receives is recorded.
//
//   sp::testing::LocalHttpsServer server([](httplib::Server& routes) {
//     routes.Get("/song", [](const httplib::Request&, httplib::Response& res) {
//       res.set_content("bytes", "audio/mpeg");
//     });
//   });
//   fetch(server.url("/song"));
//
// The trusted certificate is signed by caFile(), which the HTTP client is told
// to trust; the untrusted one is self-signed and must be refused.
#pragma once

#include <httplib.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace sp::testing {

enum class Security { TrustedCertificate, UntrustedCertificate, PlainHttp };

struct RecordedRequest {
  std::string method;
  std::string target;                                        // path and query as sent
  std::string version;                                       // "HTTP/1.0"
  std::vector<std::pair<std::string, std::string>> headers;  // sorted by name
};

// The certificate authority that signed the trusted server certificate.
std::string caFile();
std::string certificateFile(std::string_view name);  // a file in the test certificate folder

class LocalHttpsServer {
 public:
  using Routes = std::function<void(httplib::Server&)>;

  explicit LocalHttpsServer(const Routes& routes, Security security = Security::TrustedCertificate);
  ~LocalHttpsServer();
  LocalHttpsServer(const LocalHttpsServer&) = delete;
  LocalHttpsServer& operator=(const LocalHttpsServer&) = delete;

  int port() const { return port_; }
  std::string origin() const;                    // scheme://127.0.0.1:port
  std::string url(std::string_view path) const;  // origin() + path
  std::vector<RecordedRequest> requests() const;

 private:
  std::unique_ptr<httplib::Server> server_;
  int port_ = -1;
  bool secure_ = true;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
  std::thread thread_;
};

}  // namespace sp::testing
