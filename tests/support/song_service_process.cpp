#include "support/song_service_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "gtest/gtest.h"

extern char** environ;

namespace songservice::testing {
namespace {

constexpr auto kStartTimeout = std::chrono::seconds(10);
constexpr auto kStopTimeout = std::chrono::seconds(10);

// Closes a descriptor when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

pid_t spawn(const std::vector<std::string>& arguments, int stdoutFd, int stderrFd = -1) {
  std::vector<std::string> argv = {SONG_SERVICE_BINARY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  if (stderrFd >= 0) posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
  // The child starts with no signal blocked, whatever this process blocks.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  if (posix_spawn(&pid, pointers[0], &actions, &attributes, pointers.data(), environ) != 0) {
    pid = -1;
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit code as stop() reports it, once the child has ended within the time.
int awaitExit(pid_t pid, std::chrono::steady_clock::duration timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  return -1;
}

}  // namespace

std::vector<std::string> standardArguments() {
  const std::string certs = SONGPICKER_CERT_DIR;
  return {"--port", "0", "--cert", certs + "/localhost.pem", "--key", certs + "/localhost-key.pem"};
}

ServiceProcess::ServiceProcess(const std::vector<std::string>& arguments) {
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe failed";
    return;
  }
  Descriptor readEnd(ends[0]);
  Descriptor writeEnd(ends[1]);
  pid_ = spawn(arguments, writeEnd.get());
  writeEnd.reset();
  if (pid_ < 0) {
    ADD_FAILURE() << "cannot start " << SONG_SERVICE_BINARY;
    return;
  }
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (firstLine_.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd wanted{readEnd.get(), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&wanted, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[256];
    const ssize_t count = ::read(readEnd.get(), buffer, sizeof buffer);
    if (count <= 0) break;
    firstLine_.append(buffer, static_cast<std::size_t>(count));
  }
  constexpr std::string_view prefix = "listening on ";
  if (firstLine_.starts_with(prefix) && firstLine_.ends_with("\n")) {
    port_ = std::atoi(firstLine_.c_str() + prefix.size());
  }
  if (port_ <= 0) ADD_FAILURE() << "the service announced no port: \"" << firstLine_ << "\"";
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) stop();
}

int ServiceProcess::stop(int signal) {
  if (pid_ <= 0) return -1;
  ::kill(pid_, signal);
  const int code = awaitExit(pid_, kStopTimeout);
  pid_ = -1;
  return code;
}

int runToExit(const std::vector<std::string>& arguments) {
  const Descriptor devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
  const pid_t pid = spawn(arguments, devNull.get(), devNull.get());
  return pid < 0 ? -1 : awaitExit(pid, kStopTimeout);
}

}  // namespace songservice::testing
