#include "ui/timeline_strip.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "media/waveform_envelope.h"
#include "show/cue_edit.h"
#include "show/cue_list.h"

namespace orvane {
namespace {

constexpr int kMarkerHalfWidth = 4;
constexpr double kDragThresholdPixels = 3.0;
const QColor kBackground(28, 30, 38);
const QColor kWaveColor(90, 140, 120);
const QColor kBeatColor(150, 150, 235);
const QColor kPlayHeadColor(255, 60, 60);
const QColor kCameraKeyColor(90, 220, 240);

QColor MarkerColor(const std::optional<uint32_t>& bgr) {
  if (!bgr) return QColor(160, 160, 160);
  return QColor(static_cast<int>(*bgr & 0xFF), static_cast<int>((*bgr >> 8) & 0xFF),
                static_cast<int>((*bgr >> 16) & 0xFF));
}

QString SecondsLabel(double seconds, double step) {
  const int minutes = static_cast<int>(seconds / 60);
  const double rest = seconds - minutes * 60;
  const int decimals = step < 1 ? 1 : 0;
  const QString s = QString::number(rest, 'f', decimals);
  if (minutes == 0) return s;
  return QStringLiteral("%1:%2").arg(minutes).arg(rest < 10 ? QStringLiteral("0") + s : s);
}

}  // namespace

TimelineStrip::TimelineStrip(const TimelineContent& content, QItemSelectionModel& selection, QWidget* parent)
    : QWidget(parent), content_(content), selection_(selection) {
  setObjectName(QStringLiteral("TimelineStrip"));
  setMinimumHeight(110);
  setMouseTracking(false);
  setFocusPolicy(Qt::ClickFocus);
  connect(&selection_, &QItemSelectionModel::selectionChanged, this, [this] { update(); });
}

void TimelineStrip::SetView(const TimelineView& view) {
  view_ = view;
  view_.WidthPixels = width();
  update();
  emit ViewChanged();
}

double TimelineStrip::ShowEndSeconds() const {
  double end = 0;
  if (content_.Cues && !content_.Cues->empty()) end = static_cast<double>(content_.Cues->back().TimeMs) / 1000.0;
  for (const int64_t ms : content_.BreakMs) end = std::max(end, static_cast<double>(ms) / 1000.0);
  if (content_.Envelope) end = std::max(end, content_.Envelope->DurationSeconds() - content_.MusicOffsetSeconds);
  return end;
}

void TimelineStrip::FitShow() { SetView(FitSeconds(ShowEndSeconds(), width())); }

void TimelineStrip::FitShowIfLonger() {
  if (ShowEndSeconds() > LastVisibleSecond(view_)) FitShow();
}

int TimelineStrip::XOfMs(int64_t ms) const {
  return static_cast<int>(std::lround(PixelAtTime(view_, static_cast<double>(ms) / 1000.0)));
}

void TimelineStrip::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  view_.WidthPixels = width();
  emit Resized();
}

int64_t TimelineStrip::MarkerMs(size_t row) const {
  if (content_.BreakMs.size() == content_.Cues->size()) return content_.BreakMs[row];
  return (*content_.Cues)[row].TimeMs;
}

std::vector<double> TimelineStrip::MarkerSeconds() const {
  std::vector<double> seconds;
  if (!content_.Cues) return seconds;
  seconds.reserve(content_.Cues->size());
  for (size_t row = 0; row < content_.Cues->size(); ++row)
    seconds.push_back(static_cast<double>(MarkerMs(row)) / 1000.0);
  return seconds;
}

void TimelineStrip::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBackground);
  PaintWaveform(painter);
  PaintBeats(painter);
  PaintRuler(painter);
  PaintCameraKeys(painter);
  PaintMarkers(painter);
  painter.setPen(QPen(kPlayHeadColor, 1));
  const int x = XOfMs(content_.PlayHeadMs);
  painter.drawLine(x, 0, x, height());
  painter.setBrush(kPlayHeadColor);
  const QPoint head[3] = {{x - 5, 0}, {x + 5, 0}, {x, 7}};
  painter.drawPolygon(head, 3);
}

void TimelineStrip::PaintRuler(QPainter& painter) const {
  painter.fillRect(0, 0, width(), kRulerHeight, QColor(50, 52, 62));
  painter.setPen(QColor(200, 200, 210));
  QFont small = font();
  small.setPixelSize(10);
  painter.setFont(small);
  const double step = RulerStep(view_.PixelsPerSecond, 60);
  const double first = std::floor(view_.FirstSecond / step) * step;
  for (double t = first; t <= LastVisibleSecond(view_) + step; t += step) {
    const int x = static_cast<int>(std::lround(PixelAtTime(view_, t)));
    painter.drawLine(x, kRulerHeight - 5, x, kRulerHeight);
    painter.drawText(x + 3, kRulerHeight - 6, SecondsLabel(t + 1e-9, step));
    const int half = static_cast<int>(std::lround(PixelAtTime(view_, t + step / 2)));
    painter.drawLine(half, kRulerHeight - 2, half, kRulerHeight);
  }
}

void TimelineStrip::PaintWaveform(QPainter& painter) const {
  if (!content_.Envelope || width() <= 0) return;
  const int top = kRulerHeight + 4;
  const int bottom = height() - 4;
  const double middle = (top + bottom) / 2.0;
  const double half = (bottom - top) / 2.0;
  const std::vector<EnvelopeColumn> columns =
      content_.Envelope->Columns(view_.FirstSecond + content_.MusicOffsetSeconds, 1.0 / view_.PixelsPerSecond, width());
  painter.setPen(kWaveColor);
  for (int x = 0; x < static_cast<int>(columns.size()); ++x) {
    const EnvelopeColumn& c = columns[static_cast<size_t>(x)];
    if (!c.HasAudio) continue;
    const auto y = [&](float v) { return static_cast<int>(std::lround(middle - std::clamp(v, -1.0f, 1.0f) * half)); };
    painter.drawLine(x, y(c.Max), x, y(c.Min));
  }
}

void TimelineStrip::PaintBeats(QPainter& painter) const {
  painter.setPen(QPen(kBeatColor, 1, Qt::DotLine));
  const double last = LastVisibleSecond(view_);
  const auto begin = std::lower_bound(content_.BeatSeconds.begin(), content_.BeatSeconds.end(), view_.FirstSecond);
  int drawn = -1;
  for (auto it = begin; it != content_.BeatSeconds.end() && *it <= last; ++it) {
    const int x = static_cast<int>(std::lround(PixelAtTime(view_, *it)));
    // Zoomed out, many beats share a column; one line shows them all.
    if (x == drawn) continue;
    drawn = x;
    painter.drawLine(x, kRulerHeight, x, height());
  }
}

std::vector<double> TimelineStrip::CameraKeySeconds() const {
  std::vector<double> seconds;
  if (content_.CameraKeys == nullptr) return seconds;
  for (const CameraKey& key : *content_.CameraKeys) seconds.push_back(static_cast<double>(key.TimeMs) / 1000.0);
  return seconds;
}

// A small diamond at the ruler's foot for each key.
void TimelineStrip::PaintCameraKeys(QPainter& painter) const {
  painter.setPen(Qt::NoPen);
  painter.setBrush(kCameraKeyColor);
  const int y = kRulerHeight - 5;
  for (double t : CameraKeySeconds()) {
    const int x = static_cast<int>(std::lround(PixelAtTime(view_, t)));
    if (x < -5 || x > width() + 5) continue;
    const QPoint diamond[4] = {{x, y - 5}, {x + 5, y}, {x, y + 5}, {x - 5, y}};
    painter.drawPolygon(diamond, 4);
  }
}

void TimelineStrip::PaintMarkers(QPainter& painter) const {
  if (!content_.Cues) return;
  const int top = kRulerHeight + 2;
  // Colours by code, looked up (and darkened) once per paint rather than once per cue.
  struct Shades {
    QColor Fill, Lift, Outline;
  };
  std::unordered_map<int32_t, Shades> colors;
  const auto colorOf = [&](const Cue& cue) -> const Shades& {
    auto it = colors.find(cue.Code);
    if (it == colors.end()) {
      const QColor c = content_.Devices ? MarkerColor(CueMarkerColor(cue, *content_.Devices)) : QColor(Qt::gray);
      it = colors.emplace(cue.Code, Shades{c, c.darker(130), c.darker(150)}).first;
    }
    return it->second;
  };
  struct Drawn {
    int X = INT32_MIN, FireX = INT32_MIN;
    QRgb Color = 0;
    bool Selected = false;
  } last;
  for (size_t row = 0; row < content_.Cues->size(); ++row) {
    const Cue& cue = (*content_.Cues)[row];
    int64_t ms = MarkerMs(row);
    const int64_t prefire = ms - cue.TimeMs;
    if (drag_ && drag_->Row == row && drag_->TargetMs) ms = *drag_->TargetMs;
    const int x = XOfMs(ms);
    const int fireX = XOfMs(ms - prefire);
    if (x < -kMarkerHalfWidth || fireX > width() + kMarkerHalfWidth) continue;
    const bool selected = selection_.isRowSelected(static_cast<int>(row), {});
    const Shades& shades = colorOf(cue);
    const QColor& color = shades.Fill;
    // A marker drawn exactly over the last one changes no pixel.
    if (x == last.X && fireX == last.FireX && color.rgb() == last.Color && selected == last.Selected) continue;
    last = {x, fireX, color.rgb(), selected};
    if (fireX < x) {
      // The lift: from the firing, low on the strip, up to the break.
      painter.setPen(QPen(shades.Lift, 1, Qt::DashLine));
      painter.drawLine(fireX, height() - 4, x, height() - 4);
      painter.drawLine(fireX, height() - 8, fireX, height() - 1);
    }
    if (x > width() + kMarkerHalfWidth) continue;
    painter.setPen(QPen(color, selected ? 2 : 1));
    painter.drawLine(x, top + 10, x, height() - 2);
    painter.setPen(selected ? QPen(Qt::white, 2) : QPen(shades.Outline, 1));
    painter.setBrush(color);
    const QPoint head[3] = {{x - kMarkerHalfWidth, top}, {x + kMarkerHalfWidth, top}, {x, top + 10}};
    painter.drawPolygon(head, 3);
  }
}

void TimelineStrip::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ShiftModifier || delta.y() == 0) {
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    SetView(ScrollByPixels(view_, -steps / 120.0 * 40.0));
  } else {
    const double notches = delta.y() / 120.0;
    SetView(ZoomAround(view_, event->position().x(), std::pow(kTimelineWheelFactor, notches)));
  }
  event->accept();
}

int64_t TimelineStrip::DragTargetMs(double x) const {
  double seconds = TimeAtPixel(view_, x) + drag_->GrabOffsetSeconds;
  if (content_.SnapToBeats) seconds = SnapToBeat(seconds, content_.BeatSeconds);
  return std::clamp<int64_t>(std::llround(seconds * 1000.0), 0, kMaxCueTimeMs);
}

void TimelineStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const double x = event->position().x();
  if (event->position().y() < kRulerHeight) {
    if (const std::optional<size_t> key = HitMarker(view_, CameraKeySeconds(), x)) {
      emit PlayHeadClicked((*content_.CameraKeys)[*key].TimeMs);
      return;
    }
  }
  const std::vector<double> markers = MarkerSeconds();
  const std::optional<size_t> hit = event->position().y() >= kRulerHeight ? HitMarker(view_, markers, x) : std::nullopt;
  if (!hit) {
    double seconds = TimeAtPixel(view_, std::max(0.0, x));
    // On the ruler the play head goes to the beat, as a dragged cue does.
    if (event->position().y() < kRulerHeight && content_.SnapToBeats)
      seconds = SnapToBeat(seconds, content_.BeatSeconds);
    emit PlayHeadClicked(std::max<int64_t>(0, std::llround(seconds * 1000.0)));
    return;
  }
  const QModelIndex index = selection_.model()->index(static_cast<int>(*hit), 0);
  const auto flags =
      QItemSelectionModel::Rows |
      (event->modifiers() & Qt::ControlModifier ? QItemSelectionModel::Toggle : QItemSelectionModel::ClearAndSelect);
  selection_.setCurrentIndex(index, flags);
  drag_ = Drag{*hit, markers[*hit] - TimeAtPixel(view_, x), x, std::nullopt};
}

void TimelineStrip::mouseMoveEvent(QMouseEvent* event) {
  if (!drag_) return;
  const double x = event->position().x();
  if (!drag_->TargetMs && std::abs(x - drag_->StartX) < kDragThresholdPixels) return;
  drag_->TargetMs = DragTargetMs(x);
  update();
}

void TimelineStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (!drag_ || event->button() != Qt::LeftButton) return;
  const Drag done = *drag_;
  drag_.reset();
  update();
  if (done.TargetMs) emit CueDragged(done.Row, *done.TargetMs);
}

}  // namespace orvane
