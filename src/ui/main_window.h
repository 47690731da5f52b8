// MainWindow: the song-name box and search button, the status line, the result list,
// the file-name box with its auto-sync check box, and the download and developers
// buttons. It runs no logic: each click is a signal that a command is bound to.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "search/main_window_controls.h"
#include "ui/fixed_frame_window.h"
#include "ui/result_list.h"

namespace sp {

class MainWindow : public FixedFrameWindow, public MainWindowControls {
  Q_OBJECT

 public:
  MainWindow();

  Text readText(Control box) override;
  void writeText(Control target, const Text& text) override;
  int32_t checkState(Control box) override;
  int32_t rowCount() override;
  void deleteRow(int32_t row) override;
  int32_t appendRow() override;
  void setCellText(int32_t row, int32_t column, const Text& text) override;
  Text cellText(int32_t row, int32_t column) override;
  int32_t selectedRow() override;

 signals:
  void searchClicked();      // 按钮1
  void downloadClicked();    // 按钮2
  void developersClicked();  // 按钮3
  void resultListClicked();  // 超级列表框1

 private:
  QTreeWidgetItem* row(int32_t index) const;

  QLabel* songNamePrompt_;
  QLineEdit* songNameBox_;
  QPushButton* searchButton_;
  QLabel* statusLabel_;
  ResultList* resultList_;
  QLabel* fileNamePrompt_;
  QLineEdit* fileNameBox_;
  QCheckBox* autoSyncCheck_;
  QPushButton* downloadButton_;
  QPushButton* developersButton_;
};

}  // namespace sp
