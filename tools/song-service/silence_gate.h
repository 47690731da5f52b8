// Lets the handlers that keep silent on purpose wait, and wakes them all at
// shutdown so that the server can stop at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace songservice {

class SilenceGate {
 public:
  // Waits for the duration or until open() was called, whichever comes first.
  void wait(std::chrono::steady_clock::duration duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    woken_.wait_for(lock, duration, [this] { return open_; });
  }

  void open() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      open_ = true;
    }
    woken_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable woken_;
  bool open_ = false;
};

}  // namespace songservice
