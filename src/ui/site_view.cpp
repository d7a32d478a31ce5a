#include "ui/site_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace orvane {
namespace {

// How near the pointer must be to pick up a position, in millimetres of screen.
constexpr double kPickMm = 3;

}  // namespace

SiteView::SiteView(ShowProject& project, QWidget* parent) : QWidget(parent), model_(project) {
  setObjectName(QStringLiteral("SiteView"));
  setMinimumSize(240, 200);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(false);
  setToolTip(QStringLiteral("Drag a position to move it with its cues"));
}

double SiteView::UnitsPerMm() const { return logicalDpiX() / 25.4; }

void SiteView::Refresh() {
  frozen_.reset();
  model_.Refresh();
  update();
}

void SiteView::SetPlayHead(int64_t ms) {
  model_.SetPlayHead(ms);
  update();
}

QString SiteView::ViolationLines() const {
  QStringList lines;
  for (const PlanViolation& v : model_.Plan().Violations)
    lines << QString::fromStdString(ViolationText(model_.Plan(), v));
  return lines.join(QLatin1Char('\n'));
}

void SiteView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TopViewMarks marks;
  marks.Unit = UnitsPerMm();
  marks.RoundScale = false;
  marks.ActiveCues = model_.ActiveCues();
  marks.HeldPosition = model_.Held();
  marks.Fixed = frozen_;
  transform_ = PaintTopView(painter, QRectF(rect()), model_.Plan(), marks);
  // The note and the violations along the bottom.
  QStringList lines;
  if (!model_.Note().empty()) lines << QString::fromStdString(model_.Note());
  const QString violations = ViolationLines();
  painter.setPen(violations.isEmpty() ? palette().color(QPalette::Text) : QColor(208, 2, 27));
  if (!violations.isEmpty()) lines << violations;
  if (lines.isEmpty()) return;
  const QString text = lines.join(QLatin1Char('\n'));
  const QRectF box = QRectF(rect()).adjusted(6, 6, -6, -6 - 8 * marks.Unit);
  const int flags = Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap;
  // Readable over the plan.
  painter.fillRect(painter.boundingRect(box, flags, text).adjusted(-3, -2, 3, 2), QColor(255, 255, 255, 215));
  painter.drawText(box, flags, text);
}

void SiteView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const SitePoint at = transform_.ToSite(event->position());
  if (const auto position = model_.PositionAt(at, kPickMm * UnitsPerMm() / transform_.PerMetre)) {
    frozen_ = transform_;
    model_.BeginDrag(*position);
    update();
  }
}

void SiteView::mouseMoveEvent(QMouseEvent* event) {
  if (!model_.Dragging()) return QWidget::mouseMoveEvent(event);
  model_.DragTo(transform_.ToSite(event->position()));
  update();
}

void SiteView::mouseReleaseEvent(QMouseEvent* event) {
  if (!model_.Dragging() || event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  frozen_.reset();
  if (const Result<> moved = model_.EndDrag(); !moved) emit Refused(QString::fromStdString(moved.Message()));
  update();
}

void SiteView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && model_.Dragging()) {
    frozen_.reset();
    model_.CancelDrag();
    update();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace orvane
