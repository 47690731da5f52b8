// Saving a song straight to disk: the real libcurl client against real servers,
// files in a temporary folder.
#include "platform/file_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "support/local_https_server.h"
#include "support/raw_socket_server.h"
#include "support/temp_directory.h"

namespace sp {
namespace {

namespace fs = std::filesystem;
using testing::LocalHttpsServer;
using testing::RawSocketServer;

constexpr const char* kEarlier = "the song saved before";

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class FileDownloadTest : public ::testing::Test {
 protected:
  FileDownloadTest() {
    options.extraCaFile = testing::caFile();
    options.stallTimeout = std::chrono::seconds(1);
    std::ofstream(target, std::ios::binary) << kEarlier;
  }

  SaveStatus save(const std::string& url) {
    return downloadToFile(Text(url), Text(target.string()), options);
  }
  // Nothing but the target may be left in the folder.
  int filesInFolder() const {
    return static_cast<int>(std::distance(fs::directory_iterator(folder.path()), {}));
  }

  testing::TempDirectory folder;
  fs::path target = fs::path(folder.path()) / "song.mp3";
  HttpOptions options;
};

TEST_F(FileDownloadTest, ReplacesTheFileWithAWholeSongOnly) {
  const std::string song(3 << 20, '\xFF');
  LocalHttpsServer server([&song](httplib::Server& routes) {
    routes.Get("/song.mp3", [&song](const httplib::Request&, httplib::Response& response) {
      response.set_content(song, "audio/mpeg");
    });
    routes.Get("/moved.mp3", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/song.mp3");
      response.set_content("moved", "text/plain");  // never part of the file
    });
    routes.Get("/missing.mp3", [](const httplib::Request&, httplib::Response& response) {
      response.status = 404;
      response.set_content("<html>not found</html>", "text/html");
    });
    routes.Get("/empty.mp3", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("", "audio/mpeg");
    });
  });

  const struct {
    const char* path;
    SaveStatus status;
    std::string content;
  } cases[] = {
      {"/missing.mp3", SaveStatus::FetchFailed, kEarlier},
      {"/empty.mp3", SaveStatus::FetchFailed, kEarlier},
      {"/song.mp3", SaveStatus::Saved, song},
      {"/moved.mp3", SaveStatus::Saved, song},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::ofstream(target, std::ios::binary | std::ios::trunc) << kEarlier;
    EXPECT_EQ(save(server.url(c.path)), c.status);
    EXPECT_EQ(contentOf(target), c.content);
    EXPECT_EQ(filesInFolder(), 1);
  }
}

TEST_F(FileDownloadTest, KeepsTheEarlierFileWhenTheTransferFails) {
  const struct {
    const char* name;
    testing::ScriptedReply reply;
  } cases[] = {
      {"cut mid-body", {"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nforty bytes", true}},
      {"silent after the head", {"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nsome", false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RawSocketServer server(c.reply);
    EXPECT_EQ(save(server.url("/song.mp3")), SaveStatus::FetchFailed);
    EXPECT_EQ(contentOf(target), kEarlier);
    EXPECT_EQ(filesInFolder(), 1);
  }
  EXPECT_EQ(save("file:///etc/passwd"), SaveStatus::FetchFailed);
  EXPECT_EQ(contentOf(target), kEarlier);
}

TEST_F(FileDownloadTest, SaysTheWriteFailedWhenNoFileCanBeMade) {
  const std::string missingFolder = folder.path() + "/no such folder/song.mp3";
  EXPECT_EQ(downloadToFile(Text("https://127.0.0.1:1/song.mp3"), Text(missingFolder), options),
            SaveStatus::WriteFailed);
  EXPECT_EQ(downloadToFile(Text("https://127.0.0.1:1/song.mp3"), Text(), options),
            SaveStatus::WriteFailed);
  EXPECT_EQ(contentOf(target), kEarlier);
}

}  // namespace
}  // namespace sp
