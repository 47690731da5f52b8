#include "support/raw_socket_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <utility>

namespace sp::testing {
namespace {

constexpr int kHeadTimeoutMs = 5000;
constexpr std::size_t kMaxHead = 64 * 1024;

int listeningSocket(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("raw server: socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("raw server: bind");
  }
  port = ntohs(address.sin_port);
  return fd;
}

bool waitReadable(int fd, int timeoutMs) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, timeoutMs) > 0;
}

void sendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
}

}  // namespace

RawSocketServer::RawSocketServer(ScriptedReply reply) : reply_(std::move(reply)) {
  listener_ = listeningSocket(port_);
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    ::close(listener_);
    throw std::runtime_error("raw server: pipe");
  }
  wakeRead_ = pipeEnds[0];
  wakeWrite_ = pipeEnds[1];
  thread_ = std::thread([this] { serve(); });
}

RawSocketServer::~RawSocketServer() {
  const char stop = 1;
  [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &stop, 1);
  thread_.join();
  for (int fd : silentConnections_) ::close(fd);
  ::close(listener_);
  ::close(wakeRead_);
  ::close(wakeWrite_);
}

int RawSocketServer::closedPort() {
  int port = -1;
  ::close(listeningSocket(port));
  return port;
}

std::string RawSocketServer::url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawSocketServer::requestHeads() const {
  std::lock_guard lock(mutex_);
  return heads_;
}

void RawSocketServer::serve() {
  for (;;) {
    pollfd entries[2] = {{wakeRead_, POLLIN, 0}, {listener_, POLLIN, 0}};
    if (::poll(entries, 2, -1) < 0) continue;
    if (entries[0].revents != 0) return;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection >= 0) answer(connection);
  }
}

void RawSocketServer::answer(int connection) {
  std::string head;
  char chunk[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead &&
         waitReadable(connection, kHeadTimeoutMs)) {
    const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    head.append(chunk, static_cast<std::size_t>(got));
  }
  {
    std::lock_guard lock(mutex_);
    heads_.push_back(head);
  }
  sendAll(connection, reply_.bytes);
  if (reply_.hangUp) {
    ::close(connection);
  } else {
    silentConnections_.push_back(connection);
  }
}

}  // namespace sp::testing
