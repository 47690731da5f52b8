// What the commands may do with the main window's controls, and nothing more.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace sp {

enum class Control {
  SongNameBox,    // 编辑框1
  FileNameBox,    // 编辑框2
  StatusLabel,    // 标签2
  AutoSyncCheck,  // 选择框1
};

// The operations on 超级列表框1 take rows from 0 and columns 0 (歌名) and 1 (歌手).
class MainWindowControls {
 public:
  virtual ~MainWindowControls() = default;

  virtual Text readText(Control box) = 0;                     // 编辑框1, 编辑框2
  virtual void writeText(Control target, const Text& text) = 0;  // 编辑框2, 标签2
  virtual int32_t checkState(Control box) = 0;                // 选择框1: 1 ticked, 0 not
  virtual int32_t rowCount() = 0;
  virtual void deleteRow(int32_t row) = 0;  // no effect for a row that does not exist
  virtual int32_t appendRow() = 0;          // index of the new empty row
  virtual void setCellText(int32_t row, int32_t column, const Text& text) = 0;
  virtual Text cellText(int32_t row, int32_t column) = 0;  // empty for a missing cell
  virtual int32_t selectedRow() = 0;                        // -1 when none
};

}  // namespace sp
