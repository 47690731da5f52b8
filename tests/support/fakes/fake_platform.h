// A Platform for command tests: told what to answer for which URL, it records every
// request, keeps files in memory and records message boxes, pages and windows.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace sp::testing {

struct RecordedMessageBox {
  Text text;
  int32_t style = 0;
  Text caption;
  friend bool operator==(const RecordedMessageBox&, const RecordedMessageBox&) = default;
};

class FakePlatform : public Platform {
 public:
  // Answers -----------------------------------------------------------------
  void answer(const Text& url, FetchResult result) { answers_[url.str()] = std::move(result); }
  void answerBody(const Text& url, std::string body, long httpStatus = 200) {
    answer(url, FetchResult{FetchStatus::Complete, httpStatus, ByteBuffer(std::move(body))});
  }
  // A URL nobody was told about cannot be reached.
  static FetchResult unreachable() { return FetchResult{FetchStatus::Refused, 0, {}}; }

  // Files -------------------------------------------------------------------
  void putFile(const Text& path, std::string bytes) { files_[path.str()] = ByteBuffer(bytes); }
  void putDirectory(const Text& path) { directories_.insert(path.str()); }
  void refuseWritesTo(const Text& path) { unwritable_.insert(path.str()); }
  bool hasFile(const Text& path) const { return files_.contains(path.str()); }
  const ByteBuffer& file(const Text& path) const { return files_.at(path.str()); }
  const std::map<std::string, ByteBuffer>& files() const { return files_; }

  Text runDirectoryValue = "C:\\Program Files\\songpicker";
  Text documentsFolderValue = "C:\\Users\\tamsel\\Documents\\";

  // What happened -----------------------------------------------------------
  std::vector<Text> requests;      // every fetched URL, in order
  std::vector<std::string> calls;  // "fetch URL", "write PATH", "read PATH", ...
  std::vector<RecordedMessageBox> messageBoxes;
  std::vector<Text> openedUrls;
  std::vector<std::pair<WindowId, bool>> loadedWindows;
  std::vector<std::function<void()>> exitRoutines;
  int initialiseCount = 0;
  int messageLoopCount = 0;

  // Platform ----------------------------------------------------------------
  void initialise() override { ++initialiseCount; }
  void registerExitRoutine(std::function<void()> routine) override {
    exitRoutines.push_back(std::move(routine));
  }
  bool loadWindow(WindowId window, bool modal) override {
    loadedWindows.emplace_back(window, modal);
    return true;
  }
  void messageLoop() override { ++messageLoopCount; }

  FetchResult httpFetch(const Text& url) override {
    requests.push_back(url);
    calls.push_back("fetch " + url.str());
    const auto found = answers_.find(url.str());
    return found == answers_.end() ? unreachable() : found->second;
  }

  bool writeFile(const Text& path, const ByteBuffer& bytes) override {
    calls.push_back("write " + path.str());
    if (path.empty() || unwritable_.contains(path.str())) return false;
    files_[path.str()] = bytes;
    return true;
  }
  ByteBuffer readFile(const Text& path) override {
    calls.push_back("read " + path.str());
    const auto found = files_.find(path.str());
    return found == files_.end() ? ByteBuffer() : found->second;
  }
  bool fileExists(const Text& path) override {
    calls.push_back("exists " + path.str());
    return files_.contains(path.str()) || directories_.contains(path.str());
  }
  Text runDirectory() override { return runDirectoryValue; }
  Text documentsFolder() override { return documentsFolderValue; }

  void openUrl(const Text& url) override { openedUrls.push_back(url); }
  void messageBox(const Text& text, int32_t style, const Text& caption) override {
    messageBoxes.push_back({text, style, caption});
  }

 private:
  std::map<std::string, FetchResult> answers_;
  std::map<std::string, ByteBuffer> files_;
  std::set<std::string> directories_;
  std::set<std::string> unwritable_;
};

}  // namespace sp::testing
