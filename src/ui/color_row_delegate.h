#pragma once
// Draws the colour editor's rows: bold texts, grid lines, and in the two colour columns
// a rectangle with a black outline filled with the row's colour instead of a text.

#include <QStyledItemDelegate>

namespace orvane {

// The item data role holding a colour cell's colour text.
inline constexpr int kColorTextRole = Qt::UserRole + 1;

class ColorRowDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace orvane
