#include "ui/result_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace sp {

namespace {

constexpr int kSongNameWidth = 550;
constexpr int kSingerWidth = 394;

// No hot tracking, and the selection shows only while the list has the focus.
class FocusedSelectionDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->state &= ~QStyle::State_MouseOver;
    if (option->widget == nullptr || !option->widget->hasFocus()) {
      option->state &= ~QStyle::State_Selected;
    }
  }
};

}  // namespace

ResultList::ResultList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderLabels({QStringLiteral("歌名"), QStringLiteral("歌手")});
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSortingEnabled(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(false);
  setItemDelegate(new FocusedSelectionDelegate(this));
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

  QHeaderView* columns = header();
  columns->setSectionsMovable(false);
  columns->setSectionsClickable(true);  // a header can be pressed, to no effect
  columns->setSortIndicatorShown(false);
  columns->setStretchLastSection(false);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->resizeSection(0, kSongNameWidth);
  columns->resizeSection(1, kSingerWidth);
}

int ResultList::selectedRow() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? -1 : selected.first().row();
}

void ResultList::mousePressEvent(QMouseEvent* event) {
  // A press below the rows clears the selection, as in a report list.
  if (event->button() == Qt::LeftButton && !indexAt(event->position().toPoint()).isValid()) {
    clearSelection();
  }
  QTreeWidget::mousePressEvent(event);
}

void ResultList::mouseReleaseEvent(QMouseEvent* event) {
  QTreeWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit itemAreaClicked();
}

void ResultList::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
  // A click anywhere on a row selects the row by its song-name cell.
  const QModelIndex index = indexAt(rect.topLeft());
  if (!index.isValid()) {
    QTreeWidget::setSelection(rect, command);
    return;
  }
  selectionModel()->select(index.siblingAtColumn(0), command);
}

void ResultList::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // The focus mark follows the highlight into the song-name cell.
  if (current.isValid() && current.column() != 0) {
    selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    return;
  }
  QTreeWidget::currentChanged(current, previous);
}

QModelIndex ResultList::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  return QTreeWidget::moveCursor(cursorAction, modifiers).siblingAtColumn(0);
}

}  // namespace sp
