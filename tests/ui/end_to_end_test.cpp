// The whole program as a user meets it: the real windows, the real HTTP client and
// the real script engine against the local song service on a free port.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/settings.h"
#include "support/song_service_process.h"
#include "support/temp_directory.h"
#include "ui/qt_platform.h"
#include "ui/qt_text.h"
#include "widget_test_support.h"

namespace sp {
namespace {

namespace fs = std::filesystem;
using testing::control;
using testing::gbk;

std::string readWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The settings point at the service for one test and are put back afterwards.
class ScopedSettings {
 public:
  explicit ScopedSettings(int port) : saved_(settings()) {
    const std::string host = "localhost:" + std::to_string(port);
    settings().songServiceHost = host;
    settings().avatarServiceHost = host;
    settings().extraCaFile = std::string(SONGPICKER_CERT_DIR) + "/ca.pem";
  }
  ~ScopedSettings() { settings() = saved_; }
  ScopedSettings(const ScopedSettings&) = delete;
  ScopedSettings& operator=(const ScopedSettings&) = delete;

 private:
  Settings saved_;
};

TEST(EndToEnd, SearchClickDownloadAndOpenTheDevelopersWindow) {
  testing::TempDirectory home;
  const fs::path documents = fs::path(home.path()) / "Documents";
  fs::create_directories(documents);
  testing::ScopedEnvironment homeVariable("HOME", home.path().c_str());
  testing::ScopedEnvironment configVariable("XDG_CONFIG_HOME", (home.path() + "/config").c_str());

  std::vector<std::string> arguments = songservice::testing::standardArguments();
  arguments.insert(arguments.end(), {"--log", home.path() + "/service.log"});
  songservice::testing::ServiceProcess service(arguments);
  ASSERT_NE(service.port(), 0) << "the song service did not start";
  ScopedSettings pointedAtService(service.port());

  ProgramState state;
  state.songList = std::make_unique<JsonDocument>();
  QtPlatform platform(state);
  platform.initialise();  // the program's directory becomes the current one
  ASSERT_TRUE(platform.loadWindow(WindowId::Main, false));
  MainWindow& window = *platform.mainWindow();
  testing::showAndExpose(window);

  // Type a song name and search.
  auto* songNameBox = control<QLineEdit>(window, "编辑框1");
  songNameBox->setFocus();
  testing::typeText(*songNameBox, QStringLiteral("晴天"));
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_GT(window.rowCount(), 0);
  EXPECT_EQ(control<QLabel>(window, "标签2")->text(),
            QStringLiteral("搜索到了%1个歌曲").arg(window.rowCount()));
  EXPECT_EQ(state.songCount, window.rowCount());

  // Click the row of the song: its name goes into the file-name box.
  int32_t songRow = -1;
  for (int32_t row = 0; row < window.rowCount() && songRow < 0; ++row) {
    if (window.cellText(row, 0) == gbk("晴天")) songRow = row;
  }
  ASSERT_GE(songRow, 0);
  EXPECT_FALSE(window.cellText(songRow, 1).empty());
  auto* list = control<QTreeWidget>(window, "超级列表框1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(songRow, 1)).center());
  EXPECT_EQ(window.readText(Control::FileNameBox), gbk("晴天"));

  // Download under a name of this run's own, next to the program.
  const QString fileName = QStringLiteral("晴天-e2e-%1").arg(getpid());
  window.writeText(Control::FileNameBox, toText(fileName));
  const fs::path saved = fs::path(fs::read_symlink("/proc/self/exe").parent_path()) /
                         (fileName.toStdString() + ".mp3");
  testing::ShownMessageBox done;
  testing::dismissNextMessageBox(done);
  QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
  EXPECT_TRUE(done.shown);
  EXPECT_EQ(done.text, QStringLiteral("下载完成"));
  EXPECT_EQ(done.icon, QMessageBox::Information);
  const std::string song = readWhole(saved);
  fs::remove(saved);
  ASSERT_GE(song.size(), 4U);
  EXPECT_EQ(static_cast<unsigned char>(song[0]), 0xFF);  // an MPEG audio frame sync
  EXPECT_EQ(static_cast<unsigned char>(song[1]) & 0xE0, 0xE0);

  // Open the developers window: both avatars are fetched, cached and shown.
  bool bothShown = false;
  testing::whenWindowShows<DevelopersWindow>([&](DevelopersWindow& developers) {
    bothShown = !developers.pictureBox(PictureBox::FirstAvatar).currentPicture().isNull() &&
                !developers.pictureBox(PictureBox::SecondAvatar).currentPicture().isNull();
    developers.close();
  });
  QTest::mouseClick(control<QPushButton>(window, "按钮3"), Qt::LeftButton);
  EXPECT_TRUE(bothShown);
  for (const char* avatar : {"tamsel.png", "brontelwick.png"}) {
    SCOPED_TRACE(avatar);
    const std::string cached = readWhole(documents / avatar);
    EXPECT_TRUE(cached.starts_with("\x89PNG\r\n\x1A\n"));
  }
  EXPECT_NE(readWhole(documents / "tamsel.png"), readWhole(documents / "brontelwick.png"));

  window.close();
}

}  // namespace
}  // namespace sp
