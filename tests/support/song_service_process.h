// The song-service binary run as a child process for one test: started with
// the given arguments, ready once it has printed its "listening on" line, and
// stopped with a signal when the object goes.
#pragma once

#include <sys/types.h>

#include <csignal>
#include <string>
#include <vector>

namespace songservice::testing {

// The test certificate folder's localhost certificate and key, on port 0.
std::vector<std::string> standardArguments();

class ServiceProcess {
 public:
  // Fails the current test (and leaves port() 0) when the service does not
  // announce its port within a few seconds.
  explicit ServiceProcess(const std::vector<std::string>& arguments);
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  int port() const { return port_; }
  std::string host() const { return "localhost:" + std::to_string(port_); }
  const std::string& firstLine() const { return firstLine_; }

  // Sends the signal and waits up to ten seconds for the exit. The exit code,
  // 128 + the signal's number when a signal ended it, or -1 when it had to be killed.
  int stop(int signal = SIGTERM);

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string firstLine_;
};

// Runs the binary with the arguments to its end (bounded) and returns its exit code.
int runToExit(const std::vector<std::string>& arguments);

}  // namespace songservice::testing
