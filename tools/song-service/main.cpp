// song-service: a local stand-in for the song-search and avatar services, on
// 127.0.0.1 over HTTPS, so that the program runs and is tested offline.
#include <httplib.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "options.h"
#include "request_log.h"
#include "silence_gate.h"
#include "song_service.h"

namespace {

// Blocks SIGINT and SIGTERM in this thread and every thread started after it,
// so that only the thread that waits for them with sigwait receives them.
sigset_t blockStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  return signals;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = songservice::parseOptions(std::vector<std::string>(argv + 1, argv + argc),
                                                 SONG_SERVICE_DEFAULT_PORT, error);
  if (!options) {
    std::fprintf(stderr, "song-service: %s\n%s", error.c_str(), songservice::kUsage);
    return 2;
  }
  // A client that hangs up mid-answer must not kill the service.
  std::signal(SIGPIPE, SIG_IGN);
  const sigset_t stopSignals = blockStopSignals();

  const auto log = songservice::RequestLog::open(options->logFile);
  if (!log) {
    std::fprintf(stderr, "song-service: cannot write the log %s\n", options->logFile.c_str());
    return 1;
  }
  httplib::SSLServer server(options->certificateFile.c_str(), options->keyFile.c_str());
  if (!server.is_valid()) {
    std::fprintf(stderr, "song-service: cannot use the certificate %s with the key %s\n",
                 options->certificateFile.c_str(), options->keyFile.c_str());
    return 1;
  }
  // Silent faults hold a worker each for a while; leave room for ordinary requests.
  server.new_task_queue = [] { return new httplib::ThreadPool(16); };

  songservice::SilenceGate gate;
  songservice::ServiceSettings settings;
  settings.faults = options->faults;
  const int port = options->port == 0 ? server.bind_to_any_port("127.0.0.1")
                   : server.bind_to_port("127.0.0.1", options->port) ? options->port
                                                                     : -1;
  if (port <= 0) {
    std::fprintf(stderr, "song-service: cannot listen on 127.0.0.1:%d\n", options->port);
    return 1;
  }
  settings.port = port;
  songservice::installRoutes(server, settings, *log, gate);

  std::atomic<bool> listening_done = false;
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    gate.open();
    // stop() only takes effect once listening has begun; repeat until it has ended.
    while (!listening_done) {
      server.stop();
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });

  std::printf("listening on %d\n", port);
  std::fflush(stdout);
  server.listen_after_bind();
  listening_done = true;
  gate.open();
  // Wakes the stopper when listening ended by itself; harmless when it already woke.
  pthread_kill(stopper.native_handle(), SIGTERM);
  stopper.join();
  return 0;
}
