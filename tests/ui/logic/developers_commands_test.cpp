// loadAvatars, openDevelopersWindow and the page handlers with a fake platform and
// a fake developers window.
#include "ui/developers_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/settings.h"
#include "support/fakes/fake_developers_window.h"
#include "support/fakes/fake_platform.h"

namespace sp {
namespace {

using testing::FakeDevelopersWindow;
using testing::FakePlatform;
using namespace std::string_literals;

const std::string kDocuments = "C:\\Users\\tamsel\\Documents\\";
const Text kTamselPath = kDocuments + "tamsel.png";
const Text kBrontelwickPath = kDocuments + "brontelwick.png";
const std::string kTamselUrl = "https://avatars.test/api/dm-qt?qq=20002";
const std::string kBrontelwickUrl = "https://avatars.test/api/dm-qt?qq=10001";
const std::string kTamselPng = "\x89PNG\r\n\x1A\n\0\0\0\rIHDR-tamsel"s;
const std::string kBrontelwickJpeg = "\xFF\xD8\xFF\xE0\0\x10JFIF-brontelwick"s;

class DevelopersCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSettings_ = settings();
    Settings& current = settings();
    current.avatarServiceHost = "avatars.test";
    current.firstDeveloperAccount = "10001";
    current.secondDeveloperAccount = "20002";
    current.firstDeveloperHomePage = "https://brontelwick.test/";
    current.firstDeveloperBilibiliPage = "https://space.bilibili.test/1";
    current.secondDeveloperHomePage = "https://tamsel.test/";
    current.secondDeveloperBilibiliPage = "https://space.bilibili.test/2";
    platform.documentsFolderValue = kDocuments;
    platform.answerBody(kTamselUrl, kTamselPng);
    platform.answerBody(kBrontelwickUrl, kBrontelwickJpeg);
  }
  void TearDown() override { settings() = savedSettings_; }

  // Opens the window once: a new window each time, as the real one is.
  FakeDevelopersWindow open() {
    FakeDevelopersWindow window;
    platform.requests.clear();
    platform.calls.clear();
    loadAvatars(platform, window);
    return window;
  }

  std::vector<std::string> fetched() {
    std::vector<std::string> urls;
    for (const Text& url : platform.requests) urls.push_back(url.str());
    return urls;
  }

  using Pictures = std::vector<std::pair<PictureBox, ByteBuffer>>;
  static Pictures shown(const std::string& tamsel, const std::string& brontelwick) {
    return {{PictureBox::SecondAvatar, ByteBuffer(tamsel)},
            {PictureBox::FirstAvatar, ByteBuffer(brontelwick)}};
  }

  FakePlatform platform;

 private:
  Settings savedSettings_;
};

// --- Fetching and caching --------------------------------------------------------

TEST_F(DevelopersCommandsTest, FirstOpeningFetchesBothSecondDeveloperFirstThenShowsThem) {
  const FakeDevelopersWindow window = open();
  EXPECT_EQ(fetched(), (std::vector<std::string>{kTamselUrl, kBrontelwickUrl}));
  EXPECT_EQ(platform.file(kTamselPath).str(), kTamselPng);
  EXPECT_EQ(platform.file(kBrontelwickPath).str(), kBrontelwickJpeg);
  EXPECT_EQ(window.pictures, shown(kTamselPng, kBrontelwickJpeg));
}

TEST_F(DevelopersCommandsTest, CachesBothBeforeReadingEitherBack) {
  open();
  std::vector<std::string> fetchesAndWrites;
  for (const std::string& call : platform.calls) {
    if (call.starts_with("fetch ") || call.starts_with("write ")) fetchesAndWrites.push_back(call);
  }
  EXPECT_EQ(fetchesAndWrites, (std::vector<std::string>{
                                  "fetch " + kTamselUrl, "write " + kTamselPath.str(),
                                  "fetch " + kBrontelwickUrl, "write " + kBrontelwickPath.str()}));
  // The pictures are read last, the second developer's first.
  ASSERT_GE(platform.calls.size(), 2u);
  EXPECT_EQ(
      std::vector<std::string>(platform.calls.end() - 2, platform.calls.end()),
      (std::vector<std::string>{"read " + kTamselPath.str(), "read " + kBrontelwickPath.str()}));
}

TEST_F(DevelopersCommandsTest, SecondOpeningMakesNoRequest) {
  open();
  const FakeDevelopersWindow window = open();
  EXPECT_TRUE(platform.requests.empty());
  EXPECT_EQ(window.pictures, shown(kTamselPng, kBrontelwickJpeg));
}

struct CacheCase {
  const char* what;
  bool tamselCached;
  std::string tamselFile;
  bool brontelwickCached;
  std::string brontelwickFile;
  std::vector<std::string> expectedFetches;
};

TEST_F(DevelopersCommandsTest, FetchesOnlyTheAvatarsThatAreMissingOrEmpty) {
  const CacheCase cases[] = {
      {"both cached", true, "old tamsel", true, "old brontelwick", {}},
      {"only brontelwick.png deleted", true, kTamselPng, false, "", {kBrontelwickUrl}},
      {"only tamsel.png deleted", false, "", true, kBrontelwickJpeg, {kTamselUrl}},
      {"an empty cached file counts as missing", true, "", true, kBrontelwickJpeg, {kTamselUrl}},
      {"both empty", true, "", true, "", {kTamselUrl, kBrontelwickUrl}},
  };
  for (const CacheCase& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform fresh;
    fresh.documentsFolderValue = kDocuments;
    fresh.answerBody(kTamselUrl, kTamselPng);
    fresh.answerBody(kBrontelwickUrl, kBrontelwickJpeg);
    if (c.tamselCached) fresh.putFile(kTamselPath, c.tamselFile);
    if (c.brontelwickCached) fresh.putFile(kBrontelwickPath, c.brontelwickFile);
    platform = std::move(fresh);

    const FakeDevelopersWindow window = open();
    EXPECT_EQ(fetched(), c.expectedFetches);
    const std::string tamsel = c.tamselFile.empty() ? kTamselPng : c.tamselFile;
    const std::string brontelwick =
        c.brontelwickFile.empty() ? kBrontelwickJpeg : c.brontelwickFile;
    EXPECT_EQ(window.pictures, shown(tamsel, brontelwick));
  }
}

struct BadAnswerCase {
  const char* what;
  FetchResult answer;
};

TEST_F(DevelopersCommandsTest, CachesNothingButAPictureAndTriesAgainNextTime) {
  const BadAnswerCase cases[] = {
      {"no network", FakePlatform::unreachable()},
      {"empty body", {FetchStatus::Complete, 200, {}}},
      {"error page", {FetchStatus::Complete, 500, ByteBuffer("<html>Internal Error</html>")}},
      {"too short to be a picture", {FetchStatus::Complete, 200, ByteBuffer("\xFF\xD8\xFF")}},
      {"broken before a signature", {FetchStatus::Broken, 200, ByteBuffer("\x89PN")}},
  };
  for (const BadAnswerCase& c : cases) {
    SCOPED_TRACE(c.what);
    platform = FakePlatform();
    platform.documentsFolderValue = kDocuments;
    platform.answer(kTamselUrl, c.answer);
    platform.answer(kBrontelwickUrl, c.answer);

    const FakeDevelopersWindow window = open();
    EXPECT_TRUE(platform.files().empty());
    EXPECT_EQ(window.pictures, shown("", ""));  // the window still opens, boxes empty

    platform.answerBody(kTamselUrl, kTamselPng);
    const FakeDevelopersWindow later = open();
    EXPECT_EQ(fetched(), (std::vector<std::string>{kTamselUrl, kBrontelwickUrl}));
    EXPECT_EQ(later.pictures, shown(kTamselPng, ""));
  }
}

TEST_F(DevelopersCommandsTest, AFileThatCannotBeWrittenIsFetchedAgainNextTime) {
  platform.refuseWritesTo(kBrontelwickPath);
  const FakeDevelopersWindow window = open();
  EXPECT_EQ(window.pictures, shown(kTamselPng, ""));
  open();
  EXPECT_EQ(fetched(), std::vector<std::string>{kBrontelwickUrl});
}

TEST_F(DevelopersCommandsTest, WithoutADocumentsFolderUsesTheBareFileNames) {
  platform.documentsFolderValue = "";
  const FakeDevelopersWindow window = open();
  EXPECT_EQ(platform.file("tamsel.png").str(), kTamselPng);
  EXPECT_EQ(platform.file("brontelwick.png").str(), kBrontelwickJpeg);
  EXPECT_EQ(window.pictures, shown(kTamselPng, kBrontelwickJpeg));
}

TEST_F(DevelopersCommandsTest, AvatarAddressesAndPaths) {
  EXPECT_EQ(avatarUrl(Developer::First).str(), kBrontelwickUrl);
  EXPECT_EQ(avatarUrl(Developer::Second).str(), kTamselUrl);
  settings().avatarServiceHost = "127.0.0.1:8443";
  EXPECT_EQ(avatarUrl(Developer::First).str(), "https://127.0.0.1:8443/api/dm-qt?qq=10001");
  EXPECT_EQ(avatarPath(platform, Developer::First), kBrontelwickPath);
  EXPECT_EQ(avatarPath(platform, Developer::Second), kTamselPath);
}

// --- Opening the window and the pages ---------------------------------------------

TEST_F(DevelopersCommandsTest, OpensTheDevelopersWindowModally) {
  openDevelopersWindow(platform);
  EXPECT_EQ(platform.loadedWindows,
            (std::vector<std::pair<WindowId, bool>>{{WindowId::Developers, true}}));
  EXPECT_TRUE(platform.requests.empty());  // the avatars are the created event's business
}

TEST_F(DevelopersCommandsTest, EachControlOpensItsOnePage) {
  struct PageCase {
    PageControl control;
    const char* url;
  };
  const PageCase cases[] = {
      {PageControl::FirstAvatar, "https://brontelwick.test/"},
      {PageControl::FirstHomeLink, "https://brontelwick.test/"},
      {PageControl::FirstBilibiliLink, "https://space.bilibili.test/1"},
      {PageControl::SecondAvatar, "https://tamsel.test/"},
      {PageControl::SecondHomeLink, "https://tamsel.test/"},
      {PageControl::SecondBilibiliLink, "https://space.bilibili.test/2"},
  };
  for (const PageCase& c : cases) {
    SCOPED_TRACE(c.url);
    platform.openedUrls.clear();
    onPageControlPressed(platform, c.control);
    ASSERT_EQ(platform.openedUrls.size(), 1u);
    EXPECT_EQ(platform.openedUrls[0].str(), c.url);
    EXPECT_TRUE(platform.requests.empty());
    EXPECT_TRUE(platform.messageBoxes.empty());
  }
}

}  // namespace
}  // namespace sp
