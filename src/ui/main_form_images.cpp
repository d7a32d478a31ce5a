#include "ui/main_form_images.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

namespace orvane {
namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

void DrawShell(QPainter& p) {
  // Trail of fading sparks below a round shell.
  for (int i = 0; i < 4; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 40, 220 - i * 50));
    p.drawEllipse(QPointF(8, 10.5 + i * 1.6), 1.2 - i * 0.2, 1.2 - i * 0.2);
  }
  QRadialGradient body(QPointF(6.8, 4.8), 4.5);
  body.setColorAt(0, QColor(255, 240, 200));
  body.setColorAt(0.5, QColor(220, 60, 40));
  body.setColorAt(1, QColor(110, 20, 20));
  p.setBrush(body);
  p.setPen(QPen(QColor(70, 10, 10), 0.8));
  p.drawEllipse(QPointF(8, 6), 3.6, 3.6);
}

void DrawBurst(QPainter& p) {
  const QPointF centre(8, 8);
  for (int i = 0; i < 8; ++i) {
    const double a = i * M_PI / 4;
    const QPointF tip(centre.x() + 6.5 * std::cos(a), centre.y() + 6.5 * std::sin(a));
    p.setPen(QPen(i % 2 ? QColor(60, 140, 255) : QColor(255, 200, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(centre.x() + 2 * std::cos(a), centre.y() + 2 * std::sin(a)), tip);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 230));
  p.drawEllipse(centre, 1.8, 1.8);
}

}  // namespace

QPixmap DeviceListImage(int index) {
  QPixmap pixmap = Blank(kListImageSize);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (index == 0) {
    DrawShell(p);
  } else {
    DrawBurst(p);
  }
  return pixmap;
}

QIcon RenderAndVisualizeGlyph() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A spark (compile) leading into a play triangle (visualize).
  p.setPen(QPen(QColor(200, 140, 0), 1.2));
  p.drawLine(QPointF(1.5, 8), QPointF(5.5, 8));
  p.drawLine(QPointF(3.5, 6), QPointF(3.5, 10));
  QPainterPath play;
  play.moveTo(7, 3);
  play.lineTo(14.5, 8);
  play.lineTo(7, 13);
  play.closeSubpath();
  p.setPen(QPen(QColor(0, 70, 0), 0.8));
  p.setBrush(QColor(40, 170, 60));
  p.drawPath(play);
  return QIcon(pixmap);
}

QIcon AboutGlyph() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(20, 60, 140), 1));
  p.setBrush(QColor(70, 130, 220));
  p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 4.8), 1.1, 1.1);
  p.drawRect(QRectF(7, 6.8, 2, 5.5));
  return QIcon(pixmap);
}

}  // namespace orvane
