#include "ui/color_list_view.h"

#include <algorithm>
#include <memory>

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

#include "ui/list_focus_mark.h"

namespace orvane {
namespace {

const QString kRowsFormat = QStringLiteral("application/x-orvane-color-rows");

// Drags carry the list they came from, so a drag from another editor is not taken.
QByteArray ViewToken(const ColorListView* view) { return QByteArray::number(reinterpret_cast<quintptr>(view), 16); }

}  // namespace

const std::vector<int>& ColorListView::ColumnWidths() {
  static const std::vector<int> widths{90, 90, 70, 70, 70, 70, 70};
  return widths;
}

ColorListView::ColorListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(static_cast<int>(ColumnWidths().size()));
  setHeaderLabels({"InitialPos. [%]", "FinalPos. [%]", "FadeOut", "MixColor", "Blink", "Initial color", "Final color"});
  setRootIsDecorated(false);
  setIndentation(0);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  viewport()->setCursor(Qt::PointingHandCursor);
  DropFocusMarkWithSelection(*this);

  QPalette pal = palette();
  pal.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
  setPalette(pal);

  QHeaderView* head = header();
  head->setSectionsClickable(false);
  head->setSectionsMovable(false);
  head->setStretchLastSection(false);
  head->setMinimumSectionSize(*std::min_element(ColumnWidths().begin(), ColumnWidths().end()));
  for (int c = 0; c < columnCount(); ++c) {
    head->resizeSection(c, ColumnWidths()[static_cast<size_t>(c)]);
    headerItem()->setTextAlignment(c, c < 2 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
  }
  connect(head, &QHeaderView::sectionResized, this, &ColorListView::KeepMinimumWidth);
}

void ColorListView::KeepMinimumWidth(int column, int, int newSize) {
  const int minimum = ColumnWidths().at(static_cast<size_t>(column));
  if (newSize < minimum) header()->resizeSection(column, minimum);
}

std::vector<size_t> ColorListView::SelectedRows() const {
  std::vector<size_t> rows;
  for (int i = 0; i < topLevelItemCount(); ++i) {
    if (topLevelItem(i)->isSelected()) rows.push_back(static_cast<size_t>(i));
  }
  return rows;
}

QStringList ColorListView::mimeTypes() const { return {kRowsFormat}; }

QMimeData* ColorListView::mimeData(const QList<QTreeWidgetItem*>&) const {
  auto mime = std::make_unique<QMimeData>();
  mime->setData(kRowsFormat, ViewToken(this));
  return mime.release();  // the drag takes it
}

bool ColorListView::IsOwnDrag(const QMimeData* mime) const {
  return mime != nullptr && mime->hasFormat(kRowsFormat) && mime->data(kRowsFormat) == ViewToken(this);
}

void ColorListView::startDrag(Qt::DropActions) {
  const QList<QTreeWidgetItem*> items = selectedItems();
  if (items.isEmpty()) return;
  QDrag drag(this);
  drag.setMimeData(mimeData(items));
  // The drop rebuilds the rows from the editor, so nothing is removed here afterwards.
  drag.exec(Qt::MoveAction);
  emit DragEnded();
}

void ColorListView::dragEnterEvent(QDragEnterEvent* event) {
  if (!IsOwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  QTreeWidget::dragEnterEvent(event);
  event->acceptProposedAction();
}

void ColorListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!IsOwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  QTreeWidget::dragMoveEvent(event);
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void ColorListView::dropEvent(QDropEvent* event) {
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
  if (!IsOwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
  const QModelIndex at = indexAt(event->position().toPoint());
  std::optional<size_t> target;
  if (at.isValid()) target = static_cast<size_t>(at.row());
  emit RowsDropped(SelectedRows(), target);  // the receiver refills the list: touch no item after this
}

}  // namespace orvane
