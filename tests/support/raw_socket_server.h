// A plain TCP server on 127.0.0.1 for behaviours a real HTTP server library will
// not produce: accepting and then saying nothing, or sending half a body and
// hanging up. Each connection gets the same scripted reply after its request
// head has arrived; the raw request heads are recorded byte for byte.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sp::testing {

struct ScriptedReply {
  std::string bytes;   // sent once the request head is in; may be empty
  bool hangUp = true;  // false: keep the connection open and silent
};

class RawSocketServer {
 public:
  explicit RawSocketServer(ScriptedReply reply);
  ~RawSocketServer();
  RawSocketServer(const RawSocketServer&) = delete;
  RawSocketServer& operator=(const RawSocketServer&) = delete;

  int port() const { return port_; }
  std::string url(std::string_view path) const;   // http://127.0.0.1:port + path
  std::vector<std::string> requestHeads() const;  // up to and with the blank line

  // A port on which nothing listens: bound, then released.
  static int closedPort();

 private:
  void serve();
  void answer(int connection);

  ScriptedReply reply_;
  int listener_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  int port_ = -1;
  std::vector<int> silentConnections_;
  mutable std::mutex mutex_;
  std::vector<std::string> heads_;
  std::thread thread_;
};

}  // namespace sp::testing
