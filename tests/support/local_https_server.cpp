#include "support/local_https_server.h"

#include <chrono>
#include <stdexcept>

namespace sp::testing {

std::string certificateFile(std::string_view name) {
  return std::string(SONGPICKER_CERT_DIR) + "/" + std::string(name);
}

std::string caFile() {
  return certificateFile("ca.pem");
}

namespace {

std::unique_ptr<httplib::Server> makeServer(Security security) {
  switch (security) {
    case Security::TrustedCertificate:
      return std::make_unique<httplib::SSLServer>(certificateFile("localhost.pem").c_str(),
                                                  certificateFile("localhost-key.pem").c_str());
    case Security::UntrustedCertificate:
      return std::make_unique<httplib::SSLServer>(certificateFile("untrusted.pem").c_str(),
                                                  certificateFile("untrusted-key.pem").c_str());
    case Security::PlainHttp:
      break;
  }
  return std::make_unique<httplib::Server>();
}

}  // namespace

LocalHttpsServer::LocalHttpsServer(const Routes& routes, Security security)
    : server_(makeServer(security)), secure_(security != Security::PlainHttp) {
  if (!server_->is_valid()) throw std::runtime_error("test server: bad certificate files");
  server_->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    RecordedRequest recorded{request.method, request.target, request.version, {}};
    for (const auto& [name, value] : request.headers) {
      // httplib adds the peer's address as pseudo headers; they were not sent.
      if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
          name == "LOCAL_PORT") {
        continue;
      }
      recorded.headers.emplace_back(name, value);
    }
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(recorded));
    return httplib::Server::HandlerResponse::Unhandled;
  });
  routes(*server_);
  server_->set_read_timeout(5, 0);
  server_->set_write_timeout(5, 0);
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) throw std::runtime_error("test server: cannot bind");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  for (int wait = 0; wait < 500 && !server_->is_running(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

LocalHttpsServer::~LocalHttpsServer() {
  server_->stop();
  thread_.join();
}

std::string LocalHttpsServer::origin() const {
  return std::string(secure_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

std::string LocalHttpsServer::url(std::string_view path) const {
  return origin() + std::string(path);
}

std::vector<RecordedRequest> LocalHttpsServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

}  // namespace sp::testing
