// The result list: a two-column report list with single selection whose highlight
// covers the song-name cell only, and a click event for its item area.
#pragma once

#include <QTreeWidget>

namespace sp {

class ResultList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit ResultList(QWidget* parent = nullptr);

  int selectedRow() const;  // -1 when none

 signals:
  // The left button was clicked on a row or below the rows, after the selection
  // moved or was cleared for that click. Not raised for the header or the keyboard.
  void itemAreaClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
};

}  // namespace sp
