#include "ui/color_row_delegate.h"

#include <algorithm>

#include <QPainter>

#include "model/color_editor_row.h"
#include "ui/qt_rgb_image.h"

namespace orvane {
namespace {

const QColor kGridColor(0xA0, 0xA0, 0xA0);

void DrawColorCell(QPainter* painter, const QRect& cell, const QString& colorText) {
  const std::optional<uint32_t> color = ColorFromText(colorText.toStdString());
  if (!color) return;
  const CellRect r = ColorCellRect(cell.left(), cell.width(), cell.top(), cell.top() + cell.height());
  if (r.Right - r.Left < 2 || r.Bottom - r.Top < 2) return;
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(Qt::black);
  painter->setBrush(ToQColor(*color));
  // An aliased outline of width w covers w + 1 pixels: this fills Left .. Right - 1.
  painter->drawRect(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
  painter->restore();
}

}  // namespace

void ColorRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  option->font.setBold(true);
}

QSize ColorRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(std::max(size.height(), 17));
  return size;
}

void ColorRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QStyledItemDelegate::paint(painter, option, index);
  const QVariant colorText = index.data(kColorTextRole);
  if (colorText.isValid()) DrawColorCell(painter, option.rect, colorText.toString());
  painter->save();
  painter->setPen(kGridColor);
  painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
  painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
  painter->restore();
}

}  // namespace orvane
