#include "request_log.h"

namespace songservice {

void RequestLog::Closer::operator()(std::FILE* file) const {
  if (file != stdout) std::fclose(file);
}

std::unique_ptr<RequestLog> RequestLog::open(const std::string& path) {
  if (path == "-") return std::unique_ptr<RequestLog>(new RequestLog(stdout));
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return nullptr;
  return std::unique_ptr<RequestLog>(new RequestLog(file));
}

void RequestLog::write(std::string_view line) {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::fwrite(line.data(), 1, line.size(), file_.get());
  std::fputc('\n', file_.get());
  std::fflush(file_.get());
}

}  // namespace songservice
