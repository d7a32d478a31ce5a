#include "ui/status_lamp.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "ui/qt_rgb_image.h"

namespace orvane {

StatusLamp::StatusLamp(uint32_t color, QWidget* parent) : QWidget(parent), color_(ToQColor(color)) {
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void StatusLamp::SetLit(bool lit) {
  if (lit_ == lit) return;
  lit_ = lit;
  update();
}

void StatusLamp::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
  QWidget::mouseReleaseEvent(event);
}

// Dark border, then a body shaded across like a round plastic cap, with a soft glow
// around a bright core while lit.
void StatusLamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF frame(0, 0, width(), height());
  p.fillRect(frame, QColor(64, 64, 64));
  const QRectF body = frame.adjusted(1, 1, -1, -1);

  const QColor base = lit_ ? color_ : color_.darker(420);
  QLinearGradient plastic(body.topLeft(), body.topRight());
  plastic.setColorAt(0.0, base.darker(lit_ ? 115 : 130));
  plastic.setColorAt(0.4, lit_ ? base.lighter(135) : base.lighter(160));
  plastic.setColorAt(1.0, base.darker(lit_ ? 125 : 150));
  p.fillRect(body, plastic);

  if (lit_) {
    QColor halo = color_;
    halo.setAlpha(110);
    p.fillRect(body.adjusted(0, 2, 0, -2), halo);
    p.fillRect(QRectF(body.left() + 0.5, body.top() + 4, 1, body.height() - 8), QColor(255, 255, 255, 200));
  } else {
    p.fillRect(QRectF(body.left() + 0.5, body.top() + 2, 1, body.height() - 4), QColor(255, 255, 255, 40));
  }
}

}  // namespace orvane
