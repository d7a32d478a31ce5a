#include "ui/qt_rgb_image.h"

#include <QColor>

namespace orvane {

QImage ImageView(const RgbImage& image) {
  return QImage(image.Bytes(), image.Width(), image.Height(), image.Width() * 3, QImage::Format_RGB888);
}

QImage ToQImage(const RgbImage& image) { return ImageView(image).convertToFormat(QImage::Format_RGB32); }

QColor ToQColor(uint32_t color) {
  const Rgb8 c = RgbOf(color);
  return QColor(c.R, c.G, c.B);
}

uint32_t FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | static_cast<uint32_t>(rgb.green()) << 8 |
         static_cast<uint32_t>(rgb.blue()) << 16;
}

}  // namespace orvane
