#pragma once
// The show timeline strip: a time ruler, the music's waveform, beat markers, one marker
// per cue at its break in its device's colour (a low line back to its firing) and the play
// head. The wheel zooms around the mouse (Shift+wheel scrolls); a click on a marker selects
// it, a drag moves its break (snapped to the nearest beat when snapping is on), a click
// elsewhere moves the play head.

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "model/device_lookup.h"
#include "model/timeline_view.h"
#include "show/cue.h"

class QItemSelectionModel;

namespace orvane {

class WaveformEnvelope;

// What the strip draws; owned by the show window.
struct TimelineContent {
  const std::vector<Cue>* Cues = nullptr;
  // Each cue's break (fire + prefire), where its marker stands; fire times when not filled.
  std::vector<int64_t> BreakMs;
  const DeviceRecords* Devices = nullptr;
  std::shared_ptr<const WaveformEnvelope> Envelope;
  double MusicOffsetSeconds = 0;    // the music's time at show time 0
  std::vector<double> BeatSeconds;  // show time
  int64_t PlayHeadMs = 0;
  bool SnapToBeats = true;
};

class TimelineStrip : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRulerHeight = 18;

  TimelineStrip(const TimelineContent& content, QItemSelectionModel& selection, QWidget* parent = nullptr);

  const TimelineView& View() const { return view_; }
  void SetView(const TimelineView& view);
  // The whole show (its last cue, or the music's end) in the strip.
  void FitShow();
  // The same only when the show reaches past the view's right edge.
  void FitShowIfLonger();
  // The x of a time at the current zoom and scroll.
  int XOfMs(int64_t ms) const;

  QSize sizeHint() const override { return {800, 160}; }

 signals:
  void PlayHeadClicked(int64_t ms);
  // A marker was dragged: the cue's new break time (already snapped).
  void CueDragged(size_t row, int64_t breakMs);
  // Zoom or scroll changed.
  void ViewChanged();
  void Resized();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int64_t MarkerMs(size_t row) const;
  std::vector<double> MarkerSeconds() const;
  double ShowEndSeconds() const;
  int64_t DragTargetMs(double x) const;
  void PaintRuler(class QPainter& painter) const;
  void PaintWaveform(QPainter& painter) const;
  void PaintBeats(QPainter& painter) const;
  void PaintMarkers(QPainter& painter) const;

  const TimelineContent& content_;
  QItemSelectionModel& selection_;
  TimelineView view_;
  struct Drag {
    size_t Row = 0;
    double GrabOffsetSeconds = 0;  // marker time minus the time under the mouse at the press
    double StartX = 0;
    std::optional<int64_t> TargetMs;  // set once the mouse has moved
  };
  std::optional<Drag> drag_;
};

}  // namespace orvane
