// The main window's controls as plain data, for command tests. Behaves as the real
// list does: deleting rows moves the selection with them, row -1 reads empty.
#pragma once

#include <array>
#include <map>
#include <vector>

#include "search/main_window_controls.h"

namespace sp::testing {

class FakeMainWindow : public MainWindowControls {
 public:
  using Row = std::array<Text, 2>;

  std::map<Control, Text> texts;  // 编辑框1, 编辑框2, 标签2
  int32_t autoSync = 1;           // 选择框1 is ticked when the window opens
  std::vector<Row> rows;
  int32_t selected = -1;
  std::vector<int32_t> deletedRows;  // in the order they were deleted

  void addRows(const std::vector<Row>& added) {
    rows.insert(rows.end(), added.begin(), added.end());
  }

  Text readText(Control box) override { return texts[box]; }
  void writeText(Control target, const Text& text) override { texts[target] = text; }
  int32_t checkState(Control) override { return autoSync; }
  int32_t rowCount() override { return static_cast<int32_t>(rows.size()); }
  void deleteRow(int32_t row) override {
    if (row < 0 || row >= rowCount()) return;
    deletedRows.push_back(row);
    rows.erase(rows.begin() + row);
    if (selected == row) {
      selected = -1;
    } else if (selected > row) {
      --selected;
    }
  }
  int32_t appendRow() override {
    rows.push_back(Row{});
    return rowCount() - 1;
  }
  void setCellText(int32_t row, int32_t column, const Text& text) override {
    if (row < 0 || row >= rowCount() || column < 0 || column > 1) return;
    rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
  }
  Text cellText(int32_t row, int32_t column) override {
    if (row < 0 || row >= rowCount() || column < 0 || column > 1) return {};
    return rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  int32_t selectedRow() override { return selected; }
};

}  // namespace sp::testing
