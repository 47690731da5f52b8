// The local song service as a child process on a free port, stopped on destruction.
#pragma once

#include <sys/types.h>

#include <string>

namespace sp::testing {

class ServiceProcess {
 public:
  // Starts `binary --port 0 --cert ... --key ... --log logFile` and waits (at most ten
  // seconds) for its "listening on PORT" line; port() is 0 when it did not come.
  ServiceProcess(const std::string& binary, const std::string& certDirectory,
                 const std::string& logFile);
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
};

}  // namespace sp::testing
