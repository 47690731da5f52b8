#include "platform/linux_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/file_paths.h"
#include "support/local_https_server.h"
#include "support/temp_directory.h"

namespace sp {
namespace {

namespace fs = std::filesystem;

// The GUI half is not this layer's; the test gives it empty bodies.
class PlatformWithoutGui : public LinuxPlatform {
 public:
  void registerExitRoutine(std::function<void()>) override {}
  bool loadWindow(WindowId, bool) override { return false; }
  void messageLoop() override {}
  void openUrl(const Text&) override {}
  void messageBox(const Text&, int32_t, const Text&) override {}
};

class LinuxPlatformTest : public ::testing::Test {
 protected:
  ~LinuxPlatformTest() override {
    fs::current_path(startDirectory);
    settings() = savedSettings;
  }

  PlatformWithoutGui platform;
  fs::path startDirectory = fs::current_path();
  Settings savedSettings = settings();
};

TEST_F(LinuxPlatformTest, InitialiseMovesIntoTheRunDirectory) {
  testing::TempDirectory elsewhere;
  fs::current_path(elsewhere.path());
  platform.initialise();
  EXPECT_EQ(fs::current_path(), fs::canonical(PLATFORM_TEST_DIR));
}

TEST_F(LinuxPlatformTest, FetchesWithTheBuildsExtraCertificateAuthority) {
  testing::LocalHttpsServer server([](httplib::Server& routes) {
    routes.Get("/", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("hello", "text/plain");
    });
  });
  const struct {
    const char* name;
    std::string extraCa;
    std::string body;
  } cases[] = {
      {"private ca trusted", testing::caFile(), "hello"},
      {"no extra ca", "", ""},
  };
  for (const auto& c : cases) {
    settings().extraCaFile = c.extraCa;
    EXPECT_EQ(platform.httpGet(Text(server.url("/"))).str(), c.body) << c.name;
  }
}

TEST_F(LinuxPlatformTest, FileServicesWorkOnProgramPaths) {
  testing::TempDirectory folder;
  const Text path(programPath(folder.path()).str() + "\\" + gbkFromUtf8("昞.mp3").str());
  EXPECT_FALSE(platform.fileExists(path));
  EXPECT_TRUE(platform.writeFile(path, ByteBuffer(std::string("song"))));
  EXPECT_TRUE(platform.fileExists(path));
  EXPECT_EQ(platform.readFile(path).str(), "song");
  EXPECT_TRUE(fs::exists(fs::path(folder.path()) / "昞.mp3"));
}

TEST_F(LinuxPlatformTest, FoldersComeInTheProgramsForm) {
  testing::TempDirectory home;
  testing::ScopedEnvironment homeVariable("HOME", home.path().c_str());
  testing::ScopedEnvironment configVariable("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(platform.documentsFolder(), programPath(home.path() + "/Documents/"));
  EXPECT_EQ(platform.runDirectory(), programPath(fs::canonical(PLATFORM_TEST_DIR).string()));
}

}  // namespace
}  // namespace sp
