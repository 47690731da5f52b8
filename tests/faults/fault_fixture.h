// The real program (Qt windows, libcurl, the script engine, files) against the local
// song service started with its fault modes, driven the way a user drives it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "search/program_state.h"
#include "support/temp_directory.h"
#include "support/song_service_process.h"
#include "ui/qt_platform.h"

namespace sp::testing {

// A message box as the user would have read it, its texts in UTF-8.
struct ShownMessage {
  std::string text;
  int32_t style = 0;
  std::string caption;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};
void PrintTo(const ShownMessage& message, std::ostream* out);

// The real Qt platform with three things added for a test: a message box is recorded
// instead of waiting for a click; the program's own directory is a folder of the
// test's choosing, so that what a download leaves on disk can be looked at alone; and
// every fetch is watched for bytes of a local file that a server pointed it at.
class FaultPlatform : public QtPlatform {
 public:
  FaultPlatform(ProgramState& state, std::filesystem::path runDirectory);

  void messageBox(const Text& text, int32_t style, const Text& caption) override;
  Text runDirectory() override;
  FetchResult httpFetch(const Text& url) override;

  // Fetches whose body held the start of /etc/passwd.
  int localFileReads() const { return localFileReads_; }

  void bindRunDirectory(std::filesystem::path runDirectory) {
    runDirectory_ = std::move(runDirectory);
  }
  std::vector<ShownMessage> takeMessages() { return std::exchange(messages_, {}); }

 private:
  std::filesystem::path runDirectory_;
  std::vector<ShownMessage> messages_;
  std::string localFileStart_;
  int localFileReads_ = 0;
};

// A port on 127.0.0.1 that is taken but never answers a connection: a service that
// is down. Held for the object's life so that nothing else can start there.
class ClosedPort {
 public:
  ClosedPort();
  ~ClosedPort();
  ClosedPort(const ClosedPort&) = delete;
  ClosedPort& operator=(const ClosedPort&) = delete;
  int port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// Bytes of a file, or nothing when there is no such file.
std::optional<std::string> fileBytes(const std::filesystem::path& path);
// Names of the entries directly in a folder, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path& folder);
// Every entry under a folder by its relative path, with a file's bytes or "<folder>".
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot treeSnapshot(const std::filesystem::path& folder);

// One scratch folder (run directory, home, service log), the service with --faults on a
// free port, the settings pointed at it with a short stall limit, and the main window.
class FaultTest : public ::testing::Test {
 protected:
  // Short, so that a silent server is given up on quickly; the service itself stays
  // silent for 120 s.
  static constexpr std::chrono::seconds kStallTimeout{2};

  FaultTest();
  void SetUp() override;
  void TearDown() override;

  // Types the song name into 编辑框1 and presses 按钮1.
  void search(const QString& songName);
  // Clicks row `row` of the result list, as the user picks a song.
  void clickRow(int row);
  // Types the file name into 编辑框2 and presses 按钮2.
  void download(const QString& fileName);
  void setSongName(const QString& songName);

  QString statusLine() const;
  int listedRows() const;
  // Request lines the service received whose path starts with `prefix`.
  int requestsTo(const std::string& prefix) const;

  std::filesystem::path scratch() const { return scratch_.path(); }
  std::filesystem::path runFolder() const { return scratch() / "run"; }
  // The scratch folder without the service's log: what the program left on disk.
  TreeSnapshot programFiles() const;

  TempDirectory scratch_;
  songservice::testing::ServiceProcess service_;
  Settings savedSettings_;
  ProgramState state_;
  std::unique_ptr<FaultPlatform> platform_;
  MainWindow* window_ = nullptr;
};

}  // namespace sp::testing
