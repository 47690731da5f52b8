// The developers window opens even when the documents folder that caches the avatars
// is missing (the avatars are fetched, nothing is created, the boxes stay empty) or the
// avatar service is down (nothing is cached, so the next opening fetches again).
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "faults/fault_fixture.h"
#include "ui/widget_test_support.h"

namespace sp::testing {
namespace {

namespace fs = std::filesystem;

struct MissingDocuments {
  const char* name;
  const char* home;  // under the scratch folder
  bool homeExists;
  const char* configHome;  // under the scratch folder; nullptr: not set
  const char* userDirs;    // the user-dirs.dirs written there; nullptr: none
};

void PrintTo(const MissingDocuments& documents, std::ostream* out) {
  *out << documents.name;
}

class DevelopersWindowFaultTest : public FaultTest {
 protected:
  struct Opening {
    bool shown = false;
    bool firstAvatarShown = true;
    bool secondAvatarShown = true;
  };

  // Presses 按钮3 and closes the developers window as soon as it shows.
  Opening openDevelopersWindow() {
    Opening opening;
    whenWindowShows<DevelopersWindow>([&opening](DevelopersWindow& developers) {
      opening.shown = true;
      opening.firstAvatarShown =
          !developers.pictureBox(PictureBox::FirstAvatar).currentPicture().isNull();
      opening.secondAvatarShown =
          !developers.pictureBox(PictureBox::SecondAvatar).currentPicture().isNull();
      developers.close();
    });
    QTest::mouseClick(control<QPushButton>(*window_, "按钮3"), Qt::LeftButton);
    return opening;
  }
};

class MissingDocumentsTest : public DevelopersWindowFaultTest,
                             public ::testing::WithParamInterface<MissingDocuments> {};

TEST_P(MissingDocumentsTest, TheDevelopersWindowStillOpens) {
  const MissingDocuments& documents = GetParam();
  const fs::path home = scratch() / documents.home;
  if (documents.homeExists) fs::create_directories(home);
  std::optional<ScopedEnvironment> configVariable;
  if (documents.configHome != nullptr) {
    const fs::path configHome = scratch() / documents.configHome;
    if (documents.userDirs != nullptr) {
      fs::create_directories(configHome);
      std::ofstream(configHome / "user-dirs.dirs") << documents.userDirs;
    }
    configVariable.emplace("XDG_CONFIG_HOME", configHome.c_str());
  } else {
    configVariable.emplace("XDG_CONFIG_HOME", nullptr);
  }
  const ScopedEnvironment homeVariable("HOME", home.c_str());
  const TreeSnapshot before = programFiles();

  // Twice: with nothing cached, the second opening fetches again and fares the same.
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(opening);
    const Opening shown = openDevelopersWindow();
    EXPECT_TRUE(shown.shown);
    EXPECT_FALSE(shown.firstAvatarShown);
    EXPECT_FALSE(shown.secondAvatarShown);
    EXPECT_TRUE(window_->isEnabled());
    EXPECT_EQ(requestsTo("/api/dm-qt?qq="), 2 * opening);
  }
  EXPECT_EQ(programFiles(), before);
}

// Nothing comes back from the avatar service: nothing is cached, so that the next
// opening asks again once the service is back.
TEST_F(DevelopersWindowFaultTest, OpensWhileTheAvatarServiceIsDownAndCachesNothing) {
  const fs::path home = scratch() / "home";
  fs::create_directories(home / "Documents");
  const ScopedEnvironment homeVariable("HOME", home.c_str());
  const ScopedEnvironment configVariable("XDG_CONFIG_HOME", nullptr);
  const TreeSnapshot before = programFiles();
  {
    const ClosedPort down;
    settings().avatarServiceHost = "localhost:" + std::to_string(down.port());
    const Opening shown = openDevelopersWindow();
    EXPECT_TRUE(shown.shown);
    EXPECT_FALSE(shown.firstAvatarShown);
    EXPECT_FALSE(shown.secondAvatarShown);
  }
  EXPECT_EQ(programFiles(), before);

  settings().avatarServiceHost = service_.host();
  const Opening shown = openDevelopersWindow();
  EXPECT_TRUE(shown.firstAvatarShown);
  EXPECT_TRUE(shown.secondAvatarShown);
  for (const char* avatar : {"tamsel.png", "brontelwick.png"}) {
    EXPECT_TRUE(fileBytes(home / "Documents" / avatar).value_or("").starts_with("\x89PNG"))
        << avatar;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MissingDocumentsTest,
    ::testing::Values(MissingDocuments{"home_missing", "nowhere", false, "no-config", nullptr},
                      MissingDocuments{"no_documents_in_home", "home", true, nullptr, nullptr},
                      MissingDocuments{"user_dirs_name_a_missing_folder", "home", true, "config",
                                       "XDG_DOCUMENTS_DIR=\"$HOME/Missing\"\n"}),
    [](const ::testing::TestParamInfo<MissingDocuments>& info) { return info.param.name; });

}  // namespace
}  // namespace sp::testing
