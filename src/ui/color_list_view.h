#pragma once
// The colour editor's segment list: a read-only report list whose rows the user
// reorders by dragging them inside it. The list does not move its own items; it reports
// the drop and is filled again from the editor's rows.

#include <QTreeWidget>
#include <optional>
#include <vector>

namespace orvane {

class ColorListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit ColorListView(QWidget* parent);

  // Column widths, which are also the columns' minimum widths.
  static const std::vector<int>& ColumnWidths();

  // Public so a drop can be staged without a real drag.
  QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;

  std::vector<size_t> SelectedRows() const;

 signals:
  // The selected rows were dropped on `target`, or below the rows when it is empty.
  void RowsDropped(std::vector<size_t> selected, std::optional<size_t> target);
  void DragEnded();

 protected:
  QStringList mimeTypes() const override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool IsOwnDrag(const QMimeData* mime) const;
  void KeepMinimumWidth(int column, int oldSize, int newSize);
};

}  // namespace orvane
