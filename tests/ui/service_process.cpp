#include "service_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string_view>
#include <vector>

namespace sp::testing {

namespace {

constexpr std::string_view kListening = "listening on ";
constexpr auto kStartTimeout = std::chrono::seconds(10);

}  // namespace

ServiceProcess::ServiceProcess(const std::string& binary, const std::string& certDirectory,
                               const std::string& logFile) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  std::vector<std::string> arguments = {binary,
                                        "--port",
                                        "0",
                                        "--cert",
                                        certDirectory + "/localhost.pem",
                                        "--key",
                                        certDirectory + "/localhost-key.pem",
                                        "--log",
                                        logFile};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const int spawned = posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  output_ = pipeEnds[0];
  if (spawned != 0) {
    pid_ = -1;
    return;
  }

  // Read up to the first line end, within the time limit.
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd waiting{output_, POLLIN, 0};
    if (poll(&waiting, 1, 100) <= 0) continue;
    char chunk[128];
    const ssize_t got = read(output_, chunk, sizeof chunk);
    if (got <= 0) break;
    line.append(chunk, static_cast<std::size_t>(got));
  }
  const std::size_t at = line.find(kListening);
  if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + kListening.size());
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    // A service that does not stop within five seconds is killed.
    for (int tries = 0; tries < 50 && waitpid(pid_, &status, WNOHANG) == 0; ++tries) {
      usleep(100'000);
    }
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  if (output_ >= 0) close(output_);
}

}  // namespace sp::testing
