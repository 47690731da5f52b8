// A Platform that answers every fetch with one body from memory, so that a search
// can be measured without the network. Windows, files and dialogs are not used.
#pragma once

#include <functional>
#include <utility>

#include "platform/platform.h"

namespace sp::bench {

class MemoryPlatform : public Platform {
 public:
  explicit MemoryPlatform(ByteBuffer body) : body_(std::move(body)) {}

  void initialise() override {}
  void registerExitRoutine(std::function<void()>) override {}
  bool loadWindow(WindowId, bool) override { return false; }
  void messageLoop() override {}
  FetchResult httpFetch(const Text&) override {
    return FetchResult{FetchStatus::Complete, 200, body_};
  }
  bool writeFile(const Text&, const ByteBuffer&) override { return false; }
  ByteBuffer readFile(const Text&) override { return {}; }
  bool fileExists(const Text&) override { return false; }
  Text runDirectory() override { return {}; }
  Text documentsFolder() override { return {}; }
  void openUrl(const Text&) override {}
  void messageBox(const Text&, int32_t, const Text&) override {}

 private:
  ByteBuffer body_;
};

}  // namespace sp::bench
