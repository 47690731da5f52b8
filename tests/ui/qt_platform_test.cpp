// The Qt platform services: loading the windows with their commands bound, the modal
// developers window, the message loop and its exit routines, and message boxes.
// Network and files are answered by the test, so nothing leaves the process.
#include "ui/qt_platform.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <string>
#include <vector>

#include "platform/settings.h"
#include "test_pictures.h"
#include "widget_test_support.h"

namespace sp {
namespace {

using testing::control;
using testing::gbk;

bool developersWindowVisible() {
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<const DevelopersWindow*>(widget) != nullptr && widget->isVisible()) {
      return true;
    }
  }
  return false;
}

// The real Qt services over files and network that the test answers: both avatars
// are cached PCX pictures; every fetch fails; pages and message boxes are recorded.
class AnsweredQtPlatform : public QtPlatform {
 public:
  using QtPlatform::QtPlatform;

  FetchResult httpFetch(const Text& url) override {
    record("fetch", url);
    return {FetchStatus::Refused, 0, {}};
  }
  bool writeFile(const Text& path, const ByteBuffer&) override {
    record("write", path);
    return false;
  }
  ByteBuffer readFile(const Text& path) override {
    record("read", path);
    return ByteBuffer(testing::pcx24(1, 1, {{0, 128, 0}}));
  }
  bool fileExists(const Text& path) override {
    record("exists", path);
    return true;
  }
  Text documentsFolder() override { return "D:\\docs\\"; }
  void openUrl(const Text& url) override { openedUrls.push_back(url.str()); }

  struct Call {
    std::string what;
    bool developersWindowVisible;
  };
  std::vector<Call> calls;
  std::vector<std::string> openedUrls;
  bool answerMessageBoxes = true;
  std::vector<std::string> messageBoxes;

  void messageBox(const Text& text, int32_t style, const Text& caption) override {
    if (!answerMessageBoxes) {
      QtPlatform::messageBox(text, style, caption);
      return;
    }
    messageBoxes.push_back(utf8FromGbk(text));
  }

 private:
  void record(const char* what, const Text& subject) {
    calls.push_back({std::string(what) + " " + subject.str(), developersWindowVisible()});
  }
};

class QtPlatformTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (platform.mainWindow() != nullptr) platform.mainWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  MainWindow& openMainWindow() {
    EXPECT_TRUE(platform.loadWindow(WindowId::Main, false));
    MainWindow* window = platform.mainWindow();
    testing::showAndExpose(*window);
    return *window;
  }

  ProgramState state = [] {
    ProgramState fresh;
    fresh.songList = std::make_unique<JsonDocument>();
    return fresh;
  }();
  AnsweredQtPlatform platform{state};
};

TEST_F(QtPlatformTest, MainWindowLoadsShownAndReturnsAtOnce) {
  MainWindow& window = openMainWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(window.testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_TRUE(platform.calls.empty());  // its created event runs nothing
}

TEST_F(QtPlatformTest, DevelopersWindowDisablesTheOthersUntilItIsClosed) {
  MainWindow& window = openMainWindow();
  QWidget alreadyDisabled;
  alreadyDisabled.setEnabled(false);
  alreadyDisabled.show();

  bool mainEnabledWhileOpen = true;
  bool picturesShownWhenVisible = false;
  testing::whenWindowShows<DevelopersWindow>([&](DevelopersWindow& developers) {
    mainEnabledWhileOpen = window.isEnabled();
    picturesShownWhenVisible =
        !developers.pictureBox(PictureBox::FirstAvatar).currentPicture().isNull() &&
        !developers.pictureBox(PictureBox::SecondAvatar).currentPicture().isNull();
    developers.close();
  });
  EXPECT_TRUE(platform.loadWindow(WindowId::Developers, true));

  EXPECT_FALSE(mainEnabledWhileOpen);
  EXPECT_TRUE(picturesShownWhenVisible);
  EXPECT_TRUE(window.isEnabled());
  EXPECT_FALSE(alreadyDisabled.isEnabled());  // each window gets its own state back
  EXPECT_FALSE(developersWindowVisible());
}

TEST_F(QtPlatformTest, AvatarsAreLoadedBeforeTheDevelopersWindowShows) {
  testing::whenWindowShows<DevelopersWindow>(
      [](DevelopersWindow& developers) { developers.close(); });
  platform.loadWindow(WindowId::Developers, true);
  ASSERT_GE(platform.calls.size(), 2U);
  for (const auto& call : platform.calls) {
    EXPECT_FALSE(call.developersWindowVisible) << call.what;
  }
  // Last, the second developer's picture is read, then the first's.
  EXPECT_EQ(platform.calls[platform.calls.size() - 2].what, "read D:\\docs\\tamsel.png");
  EXPECT_EQ(platform.calls.back().what, "read D:\\docs\\brontelwick.png");
}

TEST_F(QtPlatformTest, PressesInTheDevelopersWindowOpenTheirPages) {
  struct Case {
    const char* control;
    std::string expectedUrl;
  };
  const Settings& pages = settings();
  const Case cases[] = {
      {"图片框2", pages.firstDeveloperHomePage},
      {"标签5", pages.firstDeveloperHomePage},
      {"标签4", pages.firstDeveloperBilibiliPage},
      {"图片框1", pages.secondDeveloperHomePage},
      {"标签2", pages.secondDeveloperHomePage},
      {"标签3", pages.secondDeveloperBilibiliPage},
      {"标签6", ""},
      {"标签1", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    platform.openedUrls.clear();
    testing::whenWindowShows<DevelopersWindow>([&c](DevelopersWindow& developers) {
      QTest::mousePress(control<QWidget>(developers, c.control), Qt::LeftButton, {}, {4, 4});
      developers.close();
    });
    platform.loadWindow(WindowId::Developers, true);
    const std::vector<std::string> expected =
        c.expectedUrl.empty() ? std::vector<std::string>{} : std::vector{c.expectedUrl};
    EXPECT_EQ(platform.openedUrls, expected);
  }
}

TEST_F(QtPlatformTest, MainWindowClicksRunTheirCommands) {
  MainWindow& window = openMainWindow();
  window.appendRow();
  window.setCellText(0, 0, gbk("晴天"));

  // The list's click runs the song-name sync.
  QTreeWidget* list = control<QTreeWidget>(window, "超级列表框1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(0, 0)).center());
  EXPECT_EQ(window.readText(Control::FileNameBox), gbk("晴天"));

  // The search asks the song service for the typed name and cannot reach it.
  testing::typeText(*control<QLineEdit>(window, "编辑框1"), QStringLiteral("abc"));
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_FALSE(platform.calls.empty());
  EXPECT_EQ(platform.calls.back().what,
            "fetch https://" + settings().songServiceHost + "/API/yy_sq.php?msg=abc");
  EXPECT_EQ(window.rowCount(), 0);
  EXPECT_NE(window.readText(Control::StatusLabel), gbk("状态栏"));

  // The download with no row selected says so in a message box.
  QTest::mouseClick(control<QPushButton>(window, "按钮2"), Qt::LeftButton);
  EXPECT_EQ(platform.messageBoxes.size(), 1U);

  // The developers button opens the developers window, modally.
  bool opened = false;
  testing::whenWindowShows<DevelopersWindow>([&](DevelopersWindow& developers) {
    opened = !window.isEnabled();
    developers.close();
  });
  QTest::mouseClick(control<QPushButton>(window, "按钮3"), Qt::LeftButton);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(window.isEnabled());
}

TEST_F(QtPlatformTest, MessageBoxShowsTextCaptionIconAndOneOkButtonApplicationModal) {
  platform.answerMessageBoxes = false;
  struct Case {
    int32_t style;
    QMessageBox::Icon icon;
  };
  for (const Case& c :
       {Case{kStopIcon, QMessageBox::Critical}, Case{kInformationIcon, QMessageBox::Information}}) {
    SCOPED_TRACE(c.style);
    testing::ShownMessageBox shown;
    testing::dismissNextMessageBox(shown);
    platform.messageBox(gbk("下载完成"), c.style, gbk("提示"));
    EXPECT_TRUE(shown.shown);
    EXPECT_EQ(shown.text, QStringLiteral("下载完成"));
    EXPECT_EQ(shown.title, QStringLiteral("提示"));
    EXPECT_EQ(shown.icon, c.icon);
    EXPECT_EQ(shown.buttonCount, 1);
    EXPECT_EQ(shown.modality, Qt::ApplicationModal);
  }
}

TEST_F(QtPlatformTest, LoopEndsWhenTheLastWindowClosesThenExitRoutinesRunOnceInOrder) {
  std::vector<int> ran;
  platform.registerExitRoutine([&] { ran.push_back(1); });
  platform.registerExitRoutine([&] { ran.push_back(2); });
  MainWindow& window = openMainWindow();
  QPointer<MainWindow> watched(&window);
  QTimer::singleShot(50, &window, [&window, &ran] {
    EXPECT_TRUE(ran.empty());  // not while the loop runs
    window.close();
  });
  platform.messageLoop();
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
  EXPECT_TRUE(watched.isNull());  // closing destroyed the window
  platform.messageLoop();         // no window: returns at once, runs nothing again
  EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace sp
