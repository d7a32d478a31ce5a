#include "ui/color_graph_box.h"

#include <QPainter>

#include "ui/qt_rgb_image.h"

namespace orvane {

ColorGraphBox::ColorGraphBox(const RgbImage& bitmap, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
  setFixedSize(bitmap.Width(), bitmap.Height());
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColorGraphBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, ImageView(bitmap_));
}

}  // namespace orvane
