// The log of request lines, one per line, flushed at once so that a test can
// read what the client sent while the service keeps running.
#pragma once

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace songservice {

class RequestLog {
 public:
  // "-" logs to standard output; any other path is created or truncated.
  // Nothing when the file cannot be opened.
  static std::unique_ptr<RequestLog> open(const std::string& path);

  // Safe to call from the server's worker threads.
  void write(std::string_view line);

 private:
  struct Closer {
    void operator()(std::FILE* file) const;
  };
  explicit RequestLog(std::FILE* file) : file_(file) {}

  std::mutex mutex_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace songservice
