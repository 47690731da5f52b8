// The real main window on the offscreen platform: what the user sees at start, the
// click events bound to the commands, and the operations the commands use.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "ui/main_window.h"
#include "widget_test_support.h"

namespace sp {
namespace {

using testing::control;
using testing::gbk;

struct ControlLayout {
  const char* name;
  const char* className;
  QRect geometry;
  const char* text;  // nullptr: no caption to check
};

const ControlLayout kMainWindowLayout[] = {
    {"标签1", "QLabel", {8, 32, 112, 24}, "请输入歌名："},
    {"编辑框1", "QLineEdit", {136, 24, 688, 32}, ""},
    {"按钮1", "QPushButton", {832, 24, 120, 32}, "搜索"},
    {"标签2", "QLabel", {16, 72, 936, 40}, "状态栏"},
    {"超级列表框1", "sp::ResultList", {8, 128, 944, 352}, nullptr},
    {"标签3", "QLabel", {0, 488, 160, 40}, "保存的歌文件名："},
    {"编辑框2", "QLineEdit", {168, 488, 344, 40}, ""},
    {"选择框1", "QCheckBox", {528, 496, 152, 24}, "自动同步歌名"},
    {"按钮2", "QPushButton", {686, 488, 112, 40}, "下载"},
    {"按钮3", "QPushButton", {811, 488, 104, 40}, "开发者"},
};

QString captionOf(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (const auto* box = qobject_cast<const QLineEdit*>(widget)) return box->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  return {};
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::showAndExpose(window); }

  QTreeWidget* list() { return control<QTreeWidget>(window, "超级列表框1"); }
  QLineEdit* box(const char* name) { return control<QLineEdit>(window, name); }
  // Centre of a cell, in the list's viewport.
  QPoint cellCentre(int row, int column) {
    return list()->visualRect(list()->model()->index(row, column)).center();
  }
  void fillRows(std::initializer_list<std::pair<const char*, const char*>> rows) {
    for (const auto& [name, singer] : rows) {
      const int32_t row = window.appendRow();
      window.setCellText(row, 0, gbk(name));
      window.setCellText(row, 1, gbk(singer));
    }
  }

  MainWindow window;
};

// Initial state -------------------------------------------------------------

TEST_F(MainWindowTest, TitleOuterSizeAndCentredPlacement) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("点歌机By Brontelwick & Tamsel"));
  EXPECT_EQ(window.frameGeometry().size(), QSize(983, 564));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint centred(screen.left() + (screen.width() - 983) / 2,
                       screen.top() + (screen.height() - 564) / 2);
  EXPECT_EQ(window.centredPosition(), centred);
  // The offscreen platform nudges a window wider than its screen by the width of its
  // frame (2 pixels); a real window manager puts it where it was asked to.
  const QPoint offset = window.frameGeometry().topLeft() - centred;
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST_F(MainWindowTest, FixedSizeWithMinimiseButNoMaximise) {
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainWindowTest, EveryControlHasItsNamePositionSizeTextAndFont) {
  for (const ControlLayout& expected : kMainWindowLayout) {
    SCOPED_TRACE(expected.name);
    const QWidget* widget = control<QWidget>(window, expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), expected.className);
    EXPECT_EQ(widget->geometry(), expected.geometry);
    if (expected.text != nullptr) {
      EXPECT_EQ(captionOf(widget), QString::fromUtf8(expected.text));
    }
    EXPECT_EQ(widget->font().pixelSize(), 21);
    EXPECT_EQ(widget->font().weight(), QFont::Normal);
    EXPECT_FALSE(widget->font().italic());
    EXPECT_FALSE(widget->font().underline());
    EXPECT_FALSE(widget->font().strikeOut());
  }
}

TEST_F(MainWindowTest, LabelsAreLeftAlignedVerticallyCentredAndTakeNoFocus) {
  for (const char* name : {"标签1", "标签2", "标签3"}) {
    SCOPED_TRACE(name);
    const QLabel* label = control<QLabel>(window, name);
    EXPECT_EQ(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(MainWindowTest, CheckBoxIsTickedAndNoButtonIsDefault) {
  EXPECT_TRUE(control<QCheckBox>(window, "选择框1")->isChecked());
  EXPECT_EQ(window.checkState(Control::AutoSyncCheck), 1);
  for (const char* name : {"按钮1", "按钮2", "按钮3"}) {
    SCOPED_TRACE(name);
    const QPushButton* button = control<QPushButton>(window, name);
    EXPECT_FALSE(button->isDefault());
    EXPECT_FALSE(button->autoDefault());
  }
}

TEST_F(MainWindowTest, EditBoxesHaveNoLengthLimit) {
  for (const char* name : {"编辑框1", "编辑框2"}) {
    SCOPED_TRACE(name);
    EXPECT_GT(box(name)->maxLength(), 1'000'000);
    EXPECT_FALSE(box(name)->isReadOnly());
    EXPECT_EQ(box(name)->echoMode(), QLineEdit::Normal);
  }
}

TEST_F(MainWindowTest, ResultListHasTwoFixedColumnsSingleSelectionAndNoRows) {
  QTreeWidget* results = list();
  EXPECT_EQ(results->columnCount(), 2);
  EXPECT_EQ(results->headerItem()->text(0), QStringLiteral("歌名"));
  EXPECT_EQ(results->headerItem()->text(1), QStringLiteral("歌手"));
  EXPECT_EQ(results->columnWidth(0), 550);
  EXPECT_EQ(results->columnWidth(1), 394);
  EXPECT_EQ(results->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(results->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(results->isSortingEnabled());
  EXPECT_EQ(window.rowCount(), 0);
  EXPECT_EQ(window.selectedRow(), -1);
}

TEST_F(MainWindowTest, EnterInAnEditBoxPressesNothing) {
  QSignalSpy search(&window, &MainWindow::searchClicked);
  QSignalSpy download(&window, &MainWindow::downloadClicked);
  QSignalSpy developers(&window, &MainWindow::developersClicked);
  for (const char* name : {"编辑框1", "编辑框2"}) {
    box(name)->setFocus();
    QTest::keyClick(box(name), Qt::Key_Return);
    QTest::keyClick(box(name), Qt::Key_Enter);
  }
  EXPECT_EQ(search.count() + download.count() + developers.count(), 0);
}

// Click events --------------------------------------------------------------

TEST_F(MainWindowTest, EachButtonRaisesItsOwnClickOnly) {
  struct Case {
    const char* button;
    int expectedSearch, expectedDownload, expectedDevelopers;
  };
  const Case cases[] = {{"按钮1", 1, 0, 0}, {"按钮2", 0, 1, 0}, {"按钮3", 0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    QSignalSpy search(&window, &MainWindow::searchClicked);
    QSignalSpy download(&window, &MainWindow::downloadClicked);
    QSignalSpy developers(&window, &MainWindow::developersClicked);
    QTest::mouseClick(control<QPushButton>(window, c.button), Qt::LeftButton);
    EXPECT_EQ(search.count(), c.expectedSearch);
    EXPECT_EQ(download.count(), c.expectedDownload);
    EXPECT_EQ(developers.count(), c.expectedDevelopers);
  }
}

TEST_F(MainWindowTest, SpaceOnAFocusedButtonClicksIt) {
  QSignalSpy search(&window, &MainWindow::searchClicked);
  QPushButton* button = control<QPushButton>(window, "按钮1");
  button->setFocus();
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(search.count(), 1);
}

TEST_F(MainWindowTest, ClickOnARowSelectsItByItsSongNameCellThenRaisesTheClick) {
  fillRows({{"晴天", "周"}, {"七里香", "周"}, {"稻香", "周"}});
  for (const int column : {0, 1}) {
    SCOPED_TRACE(column);
    QSignalSpy clicks(&window, &MainWindow::resultListClicked);
    int32_t selectedAtClick = -2;
    const QMetaObject::Connection watch =
        QObject::connect(&window, &MainWindow::resultListClicked, &window,
                         [&] { selectedAtClick = window.selectedRow(); });
    const int row = column + 1;
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(selectedAtClick, row);  // the selection moved before the event
    const QModelIndexList selected = list()->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.first().row(), row);
    EXPECT_EQ(selected.first().column(), 0);
    QObject::disconnect(watch);
  }
}

TEST_F(MainWindowTest, ClickBelowTheRowsClearsTheSelectionAndStillRaisesTheClick) {
  fillRows({{"晴天", "周"}, {"稻香", "周"}});
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cellCentre(1, 0));
  ASSERT_EQ(window.selectedRow(), 1);
  QSignalSpy clicks(&window, &MainWindow::resultListClicked);
  int32_t selectedAtClick = -2;
  QObject::connect(&window, &MainWindow::resultListClicked, &window,
                   [&] { selectedAtClick = window.selectedRow(); });
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(100, 300));
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(selectedAtClick, -1);
  EXPECT_EQ(window.selectedRow(), -1);
}

TEST_F(MainWindowTest, HeaderClickRaisesNothingAndDoesNotReorder) {
  fillRows({{"稻香", "c"}, {"晴天", "a"}, {"七里香", "b"}});
  QSignalSpy clicks(&window, &MainWindow::resultListClicked);
  QHeaderView* header = list()->header();
  for (const int section : {0, 1, 0}) {
    const QPoint centre(header->sectionViewportPosition(section) + 20, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
  }
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_EQ(window.cellText(0, 1), Text("c"));
  EXPECT_EQ(window.cellText(1, 1), Text("a"));
  EXPECT_EQ(window.cellText(2, 1), Text("b"));
}

TEST_F(MainWindowTest, KeyboardMovesTheSelectionWithoutAClick) {
  fillRows({{"晴天", "周"}, {"稻香", "周"}, {"七里香", "周"}});
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cellCentre(0, 1));
  QSignalSpy clicks(&window, &MainWindow::resultListClicked);
  QTest::keyClick(list(), Qt::Key_Down);
  QTest::keyClick(list(), Qt::Key_Down);
  EXPECT_EQ(window.selectedRow(), 2);
  EXPECT_EQ(list()->selectionModel()->selectedIndexes().first().column(), 0);
  EXPECT_EQ(clicks.count(), 0);
}

TEST_F(MainWindowTest, SelectionHighlightsTheSongNameCellOnlyAndOnlyWhileFocused) {
  fillRows({{"a", "b"}});
  QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cellCentre(0, 1));
  ASSERT_TRUE(list()->hasFocus());
  const QColor highlight = list()->palette().color(QPalette::Active, QPalette::Highlight);
  const QColor base = list()->palette().color(QPalette::Active, QPalette::Base);
  // Points in each cell away from its text.
  const QRect nameCell = list()->visualRect(list()->model()->index(0, 0));
  const QRect singerCell = list()->visualRect(list()->model()->index(0, 1));
  const QPoint inName(nameCell.right() - 10, nameCell.center().y());
  const QPoint inSinger(singerCell.right() - 10, singerCell.center().y());
  // The focus mark of the current row may tint the highlight a little.
  EXPECT_TRUE(
      testing::similarColours(testing::paintedPixel(*list()->viewport(), inName), highlight, 8));
  EXPECT_EQ(testing::paintedPixel(*list()->viewport(), inSinger), base);

  box("编辑框2")->setFocus();
  ASSERT_FALSE(list()->hasFocus());
  EXPECT_EQ(window.selectedRow(), 0);
  EXPECT_EQ(testing::paintedPixel(*list()->viewport(), inName), base);
}

// Control operations ----------------------------------------------------------

TEST_F(MainWindowTest, WrittenTextsShowAndAMissingTextEmptiesTheBox) {
  window.writeText(Control::FileNameBox, gbk("晴天.mp3"));
  EXPECT_EQ(box("编辑框2")->text(), QStringLiteral("晴天.mp3"));
  EXPECT_EQ(window.readText(Control::FileNameBox), gbk("晴天.mp3"));
  window.writeText(Control::FileNameBox, Text());
  EXPECT_EQ(box("编辑框2")->text(), QString());
  EXPECT_EQ(window.readText(Control::FileNameBox), Text());

  window.writeText(Control::StatusLabel, gbk("搜索到了3个歌曲"));
  EXPECT_EQ(control<QLabel>(window, "标签2")->text(), QStringLiteral("搜索到了3个歌曲"));
}

TEST_F(MainWindowTest, ReadingABoxGivesWhatTheUserTyped) {
  window.writeText(Control::FileNameBox, gbk("旧"));
  struct Case {
    const char* box;
    Control control;
  };
  for (const Case& c :
       {Case{"编辑框1", Control::SongNameBox}, Case{"编辑框2", Control::FileNameBox}}) {
    SCOPED_TRACE(c.box);
    box(c.box)->clear();
    box(c.box)->setFocus();
    testing::typeText(*box(c.box), QStringLiteral("晴天"));
    testing::typeText(*box(c.box), QStringLiteral(" 昞x"));
    EXPECT_EQ(window.readText(c.control), gbk("晴天 昞x"));
  }
}

TEST_F(MainWindowTest, CheckStateFollowsTheBox) {
  QTest::mouseClick(control<QCheckBox>(window, "选择框1"), Qt::LeftButton);
  EXPECT_EQ(window.checkState(Control::AutoSyncCheck), 0);
  QTest::mouseClick(control<QCheckBox>(window, "选择框1"), Qt::LeftButton);
  EXPECT_EQ(window.checkState(Control::AutoSyncCheck), 1);
}

TEST_F(MainWindowTest, RowsAppendFillAndReadBack) {
  EXPECT_EQ(window.appendRow(), 0);
  EXPECT_EQ(window.appendRow(), 1);
  EXPECT_EQ(window.rowCount(), 2);
  window.setCellText(1, 0, gbk("晴天"));
  window.setCellText(1, 1, gbk("周杰伦"));
  window.setCellText(0, 1, Text());

  struct Case {
    int32_t row, column;
    Text expected;
  };
  const Case cases[] = {
      {1, 0, gbk("晴天")}, {1, 1, gbk("周杰伦")}, {0, 0, {}}, {0, 1, {}}, {-1, 0, {}}, {2, 0, {}},
      {1, 2, {}},          {1, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.row << "," << c.column);
    EXPECT_EQ(window.cellText(c.row, c.column), c.expected);
  }
  EXPECT_EQ(list()->topLevelItem(1)->text(1), QStringLiteral("周杰伦"));
}

TEST_F(MainWindowTest, SettingACellOutsideTheListChangesNothing) {
  window.appendRow();
  window.setCellText(5, 0, Text("x"));
  window.setCellText(0, 7, Text("x"));
  window.setCellText(-1, 0, Text("x"));
  EXPECT_EQ(window.rowCount(), 1);
  EXPECT_EQ(window.cellText(0, 0), Text());
}

TEST_F(MainWindowTest, DeletingMovesLaterRowsUpAndIgnoresMissingRows) {
  fillRows({{"a", "1"}, {"b", "2"}, {"c", "3"}});
  window.deleteRow(3);
  window.deleteRow(-1);
  EXPECT_EQ(window.rowCount(), 3);
  window.deleteRow(0);
  EXPECT_EQ(window.rowCount(), 2);
  EXPECT_EQ(window.cellText(0, 0), Text("b"));
  EXPECT_EQ(window.cellText(1, 1), Text("3"));
  // As the search does it: from the last row to the first.
  for (int32_t row = window.rowCount() - 1; row >= 0; --row) window.deleteRow(row);
  EXPECT_EQ(window.rowCount(), 0);
  EXPECT_EQ(window.selectedRow(), -1);
}

}  // namespace
}  // namespace sp
