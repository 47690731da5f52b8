#include "ui/main_window.h"

#include <limits>
#include <memory>

#include "ui/qt_text.h"

namespace sp {

namespace {

constexpr QSize kOuterSize(983, 564);

template <typename Widget>
Widget* place(Widget* widget, const char* name, QRect geometry) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(geometry);
  return widget;
}

QLabel* makeLabel(QWidget* parent, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

QLineEdit* makeEditBox(QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setMaxLength(std::numeric_limits<int>::max());
  return box;
}

// No button is a default button, so Enter in an edit box presses nothing.
QPushButton* makeButton(QWidget* parent, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setAutoDefault(false);
  button->setDefault(false);
  return button;
}

}  // namespace

MainWindow::MainWindow()
    : FixedFrameWindow(QStringLiteral("点歌机By Brontelwick & Tamsel"), kOuterSize),
      songNamePrompt_(
          place(makeLabel(this, QStringLiteral("请输入歌名：")), "标签1", {8, 32, 112, 24})),
      songNameBox_(place(makeEditBox(this), "编辑框1", {136, 24, 688, 32})),
      searchButton_(place(makeButton(this, QStringLiteral("搜索")), "按钮1", {832, 24, 120, 32})),
      statusLabel_(place(makeLabel(this, QStringLiteral("状态栏")), "标签2", {16, 72, 936, 40})),
      resultList_(place(new ResultList(this), "超级列表框1", {8, 128, 944, 352})),
      fileNamePrompt_(
          place(makeLabel(this, QStringLiteral("保存的歌文件名：")), "标签3", {0, 488, 160, 40})),
      fileNameBox_(place(makeEditBox(this), "编辑框2", {168, 488, 344, 40})),
      autoSyncCheck_(place(new QCheckBox(QStringLiteral("自动同步歌名"), this), "选择框1",
                           {528, 496, 152, 24})),
      downloadButton_(
          place(makeButton(this, QStringLiteral("下载")), "按钮2", {686, 488, 112, 40})),
      developersButton_(
          place(makeButton(this, QStringLiteral("开发者")), "按钮3", {811, 488, 104, 40})) {
  autoSyncCheck_->setChecked(true);
  connect(searchButton_, &QPushButton::clicked, this, &MainWindow::searchClicked);
  connect(downloadButton_, &QPushButton::clicked, this, &MainWindow::downloadClicked);
  connect(developersButton_, &QPushButton::clicked, this, &MainWindow::developersClicked);
  connect(resultList_, &ResultList::itemAreaClicked, this, &MainWindow::resultListClicked);
}

Text MainWindow::readText(Control box) {
  switch (box) {
    case Control::SongNameBox:
      return toText(songNameBox_->text());
    case Control::FileNameBox:
      return toText(fileNameBox_->text());
    case Control::StatusLabel:
      return toText(statusLabel_->text());
    case Control::AutoSyncCheck:
      return toText(autoSyncCheck_->text());
  }
  return {};
}

void MainWindow::writeText(Control target, const Text& text) {
  switch (target) {
    case Control::SongNameBox:
      songNameBox_->setText(toQString(text));
      break;
    case Control::FileNameBox:
      fileNameBox_->setText(toQString(text));
      break;
    case Control::StatusLabel:
      statusLabel_->setText(toQString(text));
      // The command goes on to block the thread; the new status shows now.
      statusLabel_->repaint();
      break;
    case Control::AutoSyncCheck:
      autoSyncCheck_->setText(toQString(text));
      break;
  }
}

int32_t MainWindow::checkState(Control box) {
  return box == Control::AutoSyncCheck && autoSyncCheck_->isChecked() ? 1 : 0;
}

int32_t MainWindow::rowCount() {
  return resultList_->topLevelItemCount();
}

QTreeWidgetItem* MainWindow::row(int32_t index) const {
  if (index < 0 || index >= resultList_->topLevelItemCount()) return nullptr;
  return resultList_->topLevelItem(index);
}

void MainWindow::deleteRow(int32_t index) {
  if (row(index) != nullptr) std::unique_ptr<QTreeWidgetItem>(resultList_->takeTopLevelItem(index));
}

int32_t MainWindow::appendRow() {
  const int32_t index = resultList_->topLevelItemCount();
  auto* item = new QTreeWidgetItem(resultList_);
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
  return index;
}

void MainWindow::setCellText(int32_t index, int32_t column, const Text& text) {
  QTreeWidgetItem* item = row(index);
  if (item != nullptr && column >= 0 && column < resultList_->columnCount()) {
    item->setText(column, toQString(text));
  }
}

Text MainWindow::cellText(int32_t index, int32_t column) {
  const QTreeWidgetItem* item = row(index);
  if (item == nullptr || column < 0 || column >= resultList_->columnCount()) return {};
  return toText(item->text(column));
}

int32_t MainWindow::selectedRow() {
  return resultList_->selectedRow();
}

}  // namespace sp
